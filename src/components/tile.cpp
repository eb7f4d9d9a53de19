#include "components/tile.h"

#include "style/display_font.h"
#include "style/neutral_colors.h"

namespace kelpo {
namespace {

// Stretches to the width offered, content on the leading side; height free.
[[nodiscard]] ui::FlexibleFrame fullWidthLeading() {
  ui::FlexibleFrame bounds;
  bounds.maxWidth = ui::infinity;
  bounds.alignment = ui::Alignment::leading();
  return bounds;
}

}  // namespace

ui::View Tile::body() const {
  return ui::VStack(ui::HorizontalAlignment::leading, 1,
                    {
                        ui::Text::verbatim(value)
                            .font(displayFont(24))
                            .foregroundStyle(ink())
                            .lineLimit(1)
                            .minimumScaleFactor(0.7),
                        ui::Text(label)
                            .font(ui::Font::system(10.5))
                            .foregroundStyle(inkSecondary())
                            .lineLimit(1)
                            .minimumScaleFactor(0.8),
                    })
      .padding(ui::Edges::horizontal(), 10)
      .padding(ui::Edges::vertical(), 8)
      .frame(fullWidthLeading())
      .background(ui::fill(ui::RoundedRectangle(12, ui::CornerStyle::continuous), tileFill()));
}

}  // namespace kelpo
