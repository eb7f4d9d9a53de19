#include "style/score_badge.h"

#include "base/locale/phrases.h"
#include "style/display_font.h"
#include "style/score_heat.h"
#include "style/transparent_stop.h"

namespace kelpo {
namespace {

constexpr double cornerRadiusRatio = 0.32;
constexpr double fontSizeRatio = 0.47;

constexpr double goldBorderWidth = 0.5;
constexpr double goldBorderOpacity = 0.45;

constexpr double shadowOpacity = 0.45;
constexpr double shadowRadius = 6;
constexpr double shadowOffsetY = 4;

// The sheen: a bright band, slanted, that sweeps from left to right.
constexpr double sheenBefore = -1;
constexpr double sheenAfter = 1;
constexpr double sheenDelaySeconds = 0.12;
constexpr double sheenSweepSeconds = 0.9;
constexpr double sheenBandWidthRatio = 0.55;
constexpr double sheenBandHeightRatio = 2;
constexpr double sheenBandDegrees = 20;
constexpr double sheenBandOpacity = 0.8;

ui::Text scoreText(const ScoreBadge& badge) {
  if (badge.unread) return ui::Text("?");
  return ui::Text(LocalizedPhrase{"%lld", {badge.score}});
}

ui::Color digitColor(const ScoreHeat& heat) {
  if (heat.gold) return goldInk();
  if (heat.solid) return ui::Color::white();
  return heat.foreground;
}

ui::Text accessibilityText(const ScoreBadge& badge, const ScoreHeat& heat) {
  if (badge.unread) return ui::Text("Pas de note : rien n’a pu être lu");
  if (heat.gold) return ui::Text("Note 10 sur 10, pépite");
  return ui::Text(LocalizedPhrase{"Note %lld sur 10", {badge.score}});
}

ui::View plate(const ScoreHeat& heat, const ui::ShapeGeometry& shape) {
  if (heat.gold) {
    return ui::fill(shape, goldGradient())
        .overlay(ui::strokeBorder(shape, ui::Color::white().opacity(goldBorderOpacity),
                                  goldBorderWidth));
  }
  return ui::fill(shape, heat.solid ? heat.base : heat.background);
}

// The band is laid out at the reader's top-leading corner, turned about its
// own centre, then moved by the sheen position, so the state alone decides
// where it crosses the badge.
ui::View sheenOverlay(const ui::StateHandle& sheen, const ui::ShapeGeometry& shape) {
  return ui::GeometryReader([sheen](ui::Size bounds) {
           const ui::Color white = ui::Color::white();
           const ui::LinearGradient band{
               {transparentStop(white), white.opacity(sheenBandOpacity), transparentStop(white)},
               ui::UnitPoint::leading(),
               ui::UnitPoint::trailing()};
           return ui::PaintView(band)
               .frame(bounds.width * sheenBandWidthRatio, bounds.height * sheenBandHeightRatio)
               .rotationEffect(sheenBandDegrees)
               .offset(sheenOffsetX(sheen.value(), bounds.width), bounds.height * -0.5);
         })
      .allowsHitTesting(false)
      .clipShape(shape);
}

// Jumps the band back to the left at once, then sweeps it to the right
// after a short pause. Playing again mid-sweep starts over.
void playSheen(const ui::StateHandle& sheen, ui::ActionContext& context) {
  sheen.set(sheenBefore, ui::Transaction::disablesAnimations());
  context.schedule(sheenDelaySeconds, [sheen](ui::ActionContext&) {
    sheen.set(sheenAfter, ui::Transaction::animated(ui::Animation::easeInOut(sheenSweepSeconds)));
  });
}

ui::View badgeBody(const ScoreBadge& badge, const ui::StateHandle& sheen,
                   const ui::Environment& environment) {
  const ScoreHeat& heat = heatForBadge(badge.score, badge.unread);
  const ui::ShapeGeometry shape =
      ui::RoundedRectangle(badge.size * cornerRadiusRatio, ui::CornerStyle::continuous);
  const bool sweeps = heat.gold && !environment.accessibilityReduceMotion;
  const ui::Font font = displayFont(badge.size * fontSizeRatio).withMonospacedDigits();

  return scoreText(badge)
      .font(font)
      .foregroundStyle(digitColor(heat))
      .frame(badge.size, badge.size)
      .background(plate(heat, shape))
      .overlay(heat.gold ? sheenOverlay(sheen, shape) : ui::View())
      .shadow(heat.solid ? heat.base.opacity(shadowOpacity) : ui::Color::clear(), shadowRadius, 0,
              shadowOffsetY)
      .onAppear([sweeps, sheen](ui::ActionContext& context) {
        if (sweeps) playSheen(sheen, context);
      })
      .onHover([sweeps, sheen](bool hovering, ui::ActionContext& context) {
        if (hovering && sweeps) playSheen(sheen, context);
      })
      // One element, so the digits are not read on their own after the label.
      .accessibilityElementIgnoringChildren()
      .accessibilityLabel(accessibilityText(badge, heat));
}

}  // namespace

double sheenOffsetX(double sheen, double width) {
  return width * 0.22 + sheen * width * 1.2;
}

ui::View ScoreBadge::body() const {
  return ui::Stateful(sheenBefore,
                      [badge = *this](const ui::StateHandle& sheen, const ui::Environment& env) {
                        return badgeBody(badge, sheen, env);
                      });
}

}  // namespace kelpo
