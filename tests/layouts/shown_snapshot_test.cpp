// The view of a snapshot keeps only the items a widget shows, and nothing
// of the rest: the host keeps that view for as long as it shows the widget.

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

#include "layouts/kelpo_widget_view.h"

namespace kelpo {
namespace {

std::vector<WidgetSnapshot::Item> itemsNamed(std::size_t count) {
  std::vector<WidgetSnapshot::Item> items(count);
  for (std::size_t i = 0; i < count; ++i) items[i].title = "item " + std::to_string(i);
  return items;
}

TEST(ShownSnapshot, KeepsTheFirstItemsInListsOfTheirOwnSize) {
  for (const std::size_t count :
       {std::size_t{0}, std::size_t{2}, listedItemLimit, std::size_t{40000}}) {
    SCOPED_TRACE(count);
    WidgetSnapshot snapshot;
    snapshot.toSort = itemsNamed(count);
    snapshot.program = itemsNamed(count / 2);
    snapshot.toSortCount = static_cast<std::int64_t>(count);
    snapshot.weekLabel = "Ta semaine";

    const WidgetSnapshot shown = shownSnapshot(snapshot);
    for (const auto& [kept, all] : {std::pair{&shown.toSort, &snapshot.toSort},
                                    std::pair{&shown.program, &snapshot.program}}) {
      const std::size_t expected = std::min(all->size(), listedItemLimit);
      ASSERT_EQ(kept->size(), expected);
      EXPECT_LE(kept->capacity(), listedItemLimit);
      for (std::size_t i = 0; i < expected; ++i) EXPECT_EQ((*kept)[i], (*all)[i]);
    }
    EXPECT_EQ(shown.toSortCount, snapshot.toSortCount);  // the counts say how many there are
    EXPECT_EQ(shown.weekLabel, snapshot.weekLabel);
  }
}

}  // namespace
}  // namespace kelpo
