#include "layouts/small_layout.h"

#include <utility>

#include "components/next_search_line.h"
#include "components/week_ring.h"
#include "layouts/flexible_frames.h"
#include "style/display_font.h"
#include "style/neutral_colors.h"
#include "style/score_badge.h"

namespace kelpo {
namespace {

[[nodiscard]] std::vector<ui::View> appended(std::vector<ui::View> views,
                                             std::vector<ui::View> more) {
  for (auto& view : more) views.push_back(std::move(view));
  return views;
}

}  // namespace

// Header, then a spacer that pushes the focus block to the bottom; the focus
// block's texts sit directly in the root stack so only their paddings
// separate them.
ui::View SmallLayout::body(WidgetMode mode) const {
  return ui::VStack(ui::HorizontalAlignment::leading, 0,
                    appended({header(mode), ui::Spacer(6)}, focusBlock(mode)))
      .frame(fillingFrame(ui::Alignment::topLeading()));
}

ui::View SmallLayout::header(WidgetMode mode) const {
  return ui::HStack(
      ui::VerticalAlignment::top, std::nullopt,
      {
          WeekRing{.snapshot = snapshot, .sleeping = sleeping(mode), .size = 62, .accent = accent}
              .body(),
          ui::Spacer(6),
          ui::VStack(ui::HorizontalAlignment::trailing, 2, counter(mode)).padding(ui::Edge::top, 2),
      });
}

std::vector<ui::View> SmallLayout::counter(WidgetMode mode) const {
  const ui::Color deep = palette(accent).accentDeep;
  const auto stateWord = [&](const char* phrase) -> std::vector<ui::View> {
    return {
        ui::Image::systemName("checkmark")
            .font(ui::Font::system(26, ui::FontWeight::heavy))
            .foregroundStyle(deep),
        ui::Text(phrase)
            .font(displayFont(16))
            .foregroundStyle(deep)
            .multilineTextAlignment(ui::TextAlignment::trailing)
            .lineLimit(2)
            .minimumScaleFactor(0.8),
    };
  };

  switch (mode) {
    case WidgetMode::toSort:
      return counterStack(snapshot.toSortCount, "à trier");
    case WidgetMode::program:
      return counterStack(snapshot.programCount, "à lire");
    case WidgetMode::completeWeek:
      return {
          ui::Text::verbatim(snapshot.weekLeftLabel.value_or(""))
              .font(displayFont(30))
              .foregroundStyle(deep)
              .lineLimit(1)
              .minimumScaleFactor(0.6),
          ui::Text("à remplir")
              .font(ui::Font::system(14, ui::FontWeight::bold))
              .foregroundStyle(ink())
              .lineLimit(1)
              .minimumScaleFactor(0.7),
      };
    case WidgetMode::weekFull:
      return stateWord("Semaine remplie");
    case WidgetMode::idle:
      return stateWord("Tout est trié");
  }
  return {};
}

std::vector<ui::View> SmallLayout::counterStack(std::int64_t count, const char* label) const {
  return {
      // The negative bottom padding pulls the label up under the large digits.
      ui::Text(LocalizedPhrase{"%lld", {count}})
          .font(displayFont(44))
          .foregroundStyle(palette(accent).accentDeep)
          .lineLimit(1)
          .minimumScaleFactor(0.6)
          .padding(ui::Edge::bottom, -4),
      ui::Text(label)
          .font(ui::Font::system(14, ui::FontWeight::bold))
          .foregroundStyle(ink())
          .lineLimit(1)
          .minimumScaleFactor(0.7),
  };
}

std::vector<ui::View> SmallLayout::focusBlock(WidgetMode mode) const {
  const ui::Font body = ui::Font::system(12.5, ui::FontWeight::semibold);
  switch (mode) {
    case WidgetMode::completeWeek:
      return {
          ui::Text("Programme fini.").font(body).foregroundStyle(ink()).lineLimit(1),
          ui::Text("Compléter ›")
              .font(ui::Font::system(12.5, ui::FontWeight::bold))
              .foregroundStyle(palette(accent).accentDeep)
              .lineLimit(1)
              .padding(ui::Edge::top, 2),
      };
    case WidgetMode::weekFull:
    case WidgetMode::idle:
      return {
          ui::Text("Je dors jusqu’à la prochaine fouille.")
              .font(body)
              .foregroundStyle(ink())
              .lineLimit(2)
              .fixedSize(false, true),
          NextSearchLine{.snapshot = snapshot, .isShort = false}.body().padding(ui::Edge::top, 4),
      };
    case WidgetMode::toSort:
    case WidgetMode::program:
      break;
  }

  const auto& list = listedItems(snapshot);
  // A positive count with an empty list leaves the block empty.
  if (list.empty()) return {};
  const auto& item = list.front();
  std::vector<ui::View> block;
  if (mode == WidgetMode::program) {
    block.push_back(ui::Text("À lire ensuite")
                        .font(ui::Font::system(10.5, ui::FontWeight::semibold))
                        .textCase(ui::TextCase::uppercase)
                        .tracking(0.6)
                        .foregroundStyle(inkSecondary())
                        .lineLimit(1)
                        .padding(ui::Edge::bottom, 2));
  }
  block.push_back(ui::Text::verbatim(item.title)
                      .font(ui::Font::system(12.5, ui::FontWeight::bold))
                      .foregroundStyle(ink())
                      .lineLimit(2));
  block.push_back(itemMetaLine(item).padding(ui::Edge::top, 4));
  return block;
}

ui::View SmallLayout::itemMetaLine(const WidgetSnapshot::Item& item) const {
  return ui::HStack(ui::VerticalAlignment::center, 5,
                    {
                        ScoreBadge{.score = item.score, .size = 16, .unread = item.unread}.body(),
                        ui::Text::verbatim(item.detail)
                            .font(ui::Font::system(10.5))
                            .foregroundStyle(inkTertiary())
                            .lineLimit(1),
                    });
}

}  // namespace kelpo
