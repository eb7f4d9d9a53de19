#include "layouts/medium_layout.h"

#include <string>
#include <utility>

#include "base/locale/phrases.h"
#include "components/next_search_line.h"
#include "components/row.h"
#include "components/tile.h"
#include "components/week_ring.h"
#include "layouts/flexible_frames.h"
#include "layouts/week_figures.h"
#include "style/display_font.h"
#include "style/neutral_colors.h"
#include "timeline/deep_links.h"

namespace kelpo {
namespace {

// The heading of the right column, by mode, before localisation.
[[nodiscard]] LocalizedPhrase headingPhrase(const WidgetSnapshot& snapshot, WidgetMode mode) {
  switch (mode) {
    case WidgetMode::toSort:
      return {"%lld à trier", {snapshot.toSortCount}};
    case WidgetMode::program:
      return {"%lld au programme", {snapshot.programCount}};
    case WidgetMode::completeWeek:
      return {"Programme fini", {}};
    case WidgetMode::weekFull:
      return {"Semaine remplie ✓", {}};
    case WidgetMode::idle:
      break;
  }
  return {"Tout est trié", {}};
}

}  // namespace

ui::View MediumLayout::body(WidgetMode mode) const {
  return ui::HStack(ui::VerticalAlignment::top, 14,
                    {
                        sidebar(mode).frame(100, std::nullopt).frame(fullHeightFrame()),
                        mainColumn(mode).frame(fillingFrame(ui::Alignment::topLeading())),
                    });
}

ui::View MediumLayout::sidebar(WidgetMode mode) const {
  // The spacer pushes the week's texts to the bottom of the column.
  return ui::VStack(
      ui::HorizontalAlignment::center, 0,
      {
          WeekRing{.snapshot = snapshot, .sleeping = sleeping(mode), .size = 76, .accent = accent}
              .body(),
          ui::Spacer(4),
          ui::Text("Ta semaine").font(ui::Font::system(10.5)).foregroundStyle(inkSecondary()),
          ui::Text::verbatim(snapshot.weekLabel)
              .font(ui::Font::system(13, ui::FontWeight::bold))
              .foregroundStyle(ink())
              .lineLimit(1)
              .minimumScaleFactor(0.8),
          NextSearchLine{.snapshot = snapshot, .isShort = true}.body().padding(ui::Edge::top, 4),
      });
}

ui::View MediumLayout::mainColumn(WidgetMode mode) const {
  std::vector<ui::View> column{
      ui::Text(headingPhrase(snapshot, mode))
          .font(displayFont(16))
          .foregroundStyle(palette(accent).accentDeep)
          .lineLimit(1),
  };

  if (mode == WidgetMode::toSort || mode == WidgetMode::program) {
    // body() has already cut the list to the rows the column has room for.
    column.push_back(ui::ForEach(
        listedItems(snapshot), [](const WidgetSnapshot::Item& item) { return item.id.string(); },
        [this](const WidgetSnapshot::Item& item) { return itemRow(item); }));
    column.push_back(ui::Spacer(0));  // keeps the rows at the top
  } else {
    // View modifiers, not Text ones: the runs without their own font or
    // colour inherit these, so the bold accented invitation keeps its look.
    const ui::View message = weekMessage(mode);
    column.push_back(message.font(ui::Font::system(12.5))
                         .lineSpacing(2)
                         .foregroundStyle(inkSecondary())
                         .fixedSize(false, true));
    column.push_back(ui::Spacer(0));
    column.push_back(ui::HStack(ui::VerticalAlignment::center, 8, weekTiles()));
  }
  return ui::VStack(ui::HorizontalAlignment::leading, 8, std::move(column));
}

ui::Text MediumLayout::weekMessage(WidgetMode mode) const {
  switch (mode) {
    case WidgetMode::completeWeek:
      // Only the invitation is bold and accented; the rest takes the
      // column's colour.
      return ui::Text(LocalizedPhrase{"Il te reste %@ cette semaine. ",
                                      {snapshot.weekLeftLabel.value_or("")}}) +
             ui::Text("Compléter ma semaine ›").bold().foregroundStyle(palette(accent).accentDeep);
    case WidgetMode::weekFull:
      return ui::Text(LocalizedPhrase{"Tes %@ sont faites. Je dors jusqu’à la prochaine fouille.",
                                      {snapshot.weekBudgetLabel.value_or("")}});
    case WidgetMode::toSort:
    case WidgetMode::program:
    case WidgetMode::idle:
      break;
  }
  // Only the idle mode says this: the main column lists rows instead of a
  // message while items wait to be sorted or read.
  return ui::Text("Rien en attente, rien au programme. Je dors jusqu’à la prochaine fouille.");
}

std::vector<ui::View> MediumLayout::weekTiles() const {
  const std::int64_t done = weekDoneItems(snapshot);
  return {
      Tile{.value = std::to_string(done), .label = {done >= 2 ? "sujets faits" : "sujet fait", {}}}
          .body(),
      Tile{.value = std::to_string(tilePercentage(snapshot)) + " %", .label = {"de ta semaine", {}}}
          .body(),
  };
}

ui::View MediumLayout::itemRow(const WidgetSnapshot::Item& item) const {
  // A click on the row opens the item instead of the widget's own link.
  return ui::Link(topicURL(item), Row{.item = item}.body());
}

}  // namespace kelpo
