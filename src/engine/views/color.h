#pragma once

#include <optional>

namespace kelpo::ui {

enum class ColorScheme { light, dark };

// A resolved sRGB colour; components nominally 0...1 and never clamped here.
struct Rgba {
  double red = 0;
  double green = 0;
  double blue = 0;
  double alpha = 1;
  friend bool operator==(const Rgba&, const Rgba&) = default;
};

// A colour that picks a light or a dark variant by the colour scheme it is
// drawn in (light is the fallback), times an opacity. A fixed colour has the
// same variant for both schemes. Plain value, cheap to copy.
class Color {
 public:
  constexpr Color() = default;
  constexpr explicit Color(Rgba fixed) : light_(fixed), dark_(fixed) {}
  constexpr Color(Rgba light, Rgba dark) : light_(light), dark_(dark) {}

  static constexpr Color clear() { return Color(Rgba{0, 0, 0, 0}); }
  static constexpr Color white() { return Color(Rgba{1, 1, 1, 1}); }
  static constexpr Color black() { return Color(Rgba{0, 0, 0, 1}); }

  // The same colour at `factor` times its opacity.
  [[nodiscard]] constexpr Color opacity(double factor) const {
    Color c = *this;
    c.opacity_ *= factor;
    return c;
  }

  [[nodiscard]] constexpr Rgba resolve(ColorScheme scheme) const {
    Rgba c = scheme == ColorScheme::dark ? dark_ : light_;
    c.alpha *= opacity_;
    return c;
  }
  [[nodiscard]] constexpr Rgba light() const { return light_; }
  [[nodiscard]] constexpr Rgba dark() const { return dark_; }

  friend bool operator==(const Color&, const Color&) = default;

 private:
  Rgba light_{0, 0, 0, 1};
  Rgba dark_{0, 0, 0, 1};
  double opacity_ = 1;
};

}  // namespace kelpo::ui
