#include "components/row.h"

#include "style/neutral_colors.h"
#include "style/score_badge.h"

namespace kelpo {

ui::View Row::body() const {
  // Title and detail come from the snapshot: shown verbatim, one line each.
  return ui::HStack(ui::VerticalAlignment::center, 9,
                    {
                        ScoreBadge{.score = item.score, .size = 22, .unread = item.unread}.body(),
                        ui::VStack(ui::HorizontalAlignment::leading, 0,
                                   {
                                       ui::Text::verbatim(item.title)
                                           .font(ui::Font::system(12.5, ui::FontWeight::semibold))
                                           .foregroundStyle(ink())
                                           .lineLimit(1),
                                       ui::Text::verbatim(item.detail)
                                           .font(ui::Font::system(10.5))
                                           .foregroundStyle(inkTertiary())
                                           .lineLimit(1),
                                   }),
                    });
}

}  // namespace kelpo
