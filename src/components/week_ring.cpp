#include "components/week_ring.h"

#include <algorithm>
#include <cstdint>

#include "base/numbers/saturating.h"
#include "components/mascot.h"
#include "style/neutral_colors.h"

namespace kelpo {
namespace {

[[nodiscard]] double budgetMinutes(const WidgetSnapshot& snapshot) {
  return static_cast<double>(std::max<std::int64_t>(snapshot.weekBudget, 1));
}

[[nodiscard]] ui::View arc(double fraction, const ui::Color& color, double lineWidth) {
  ui::StrokeStyle style;  // miter join, miter limit 10, no dash
  style.lineWidth = lineWidth;
  style.lineCap = ui::LineCap::round;
  // The circle's outline starts at 3 o'clock; turning it back a quarter
  // starts the arc at 12 o'clock, running clockwise.
  return ui::stroke(ui::trim(ui::Circle(), 0, fraction), color, style).rotationEffect(-90);
}

}  // namespace

double plannedFraction(const WidgetSnapshot& snapshot) {
  const auto sum = saturatingAdd(snapshot.weekDone, snapshot.weekPlanned);
  return std::min(static_cast<double>(sum) / budgetMinutes(snapshot), 1.0);
}

double doneFraction(const WidgetSnapshot& snapshot) {
  return std::min(static_cast<double>(snapshot.weekDone) / budgetMinutes(snapshot), 1.0);
}

ui::View WeekRing::body() const {
  const double lineWidth = size * 0.1;
  const ui::Color main = palette(accent).accentMain;
  ui::StrokeStyle trackStyle;
  trackStyle.lineWidth = lineWidth;
  trackStyle.lineCap = ui::LineCap::butt;
  trackStyle.lineJoin = ui::LineJoin::miter;
  trackStyle.miterLimit = 10;

  // Half a line of padding keeps the stroke of the inscribed circle inside
  // the size x size square: its outer edge touches the square exactly.
  return ui::ZStack(ui::Alignment::center(),
                    {
                        ui::stroke(ui::Circle(), ringTrack(), trackStyle),
                        arc(plannedFraction(snapshot), main.opacity(0.35), lineWidth),
                        arc(doneFraction(snapshot), main, lineWidth),
                        Mascot{.found = !sleeping}
                            .body()
                            .frame(size * 0.9, size * 0.9)
                            .offset(0, size * -0.08),
                    })
      .padding(lineWidth * 0.5)
      .frame(size, size)
      .accessibilityElementIgnoringChildren()
      .accessibilityLabel(ui::Text("Ta semaine"))
      .accessibilityValue(ui::Text::verbatim(snapshot.weekLabel));
}

}  // namespace kelpo
