#pragma once

#include <string>

namespace kelpo::ui {

enum class FontWeight { regular = 400, medium = 500, semibold = 600, bold = 700, heavy = 800 };

// A font request: the system font (Inter) or a family asked for by name, at
// a size in points, with a weight; monospaced digits select tabular figures.
struct Font {
  std::string family;  // empty: the system font
  double size = 17;
  FontWeight weight = FontWeight::regular;
  bool monospacedDigits = false;

  static Font system(double size, FontWeight weight = FontWeight::regular) {
    return Font{"", size, weight, false};
  }
  static Font custom(std::string family, double size, FontWeight weight = FontWeight::regular) {
    return Font{std::move(family), size, weight, false};
  }
  [[nodiscard]] Font withMonospacedDigits() const {
    Font f = *this;
    f.monospacedDigits = true;
    return f;
  }
  [[nodiscard]] Font withWeight(FontWeight w) const {
    Font f = *this;
    f.weight = w;
    return f;
  }
  [[nodiscard]] bool isSystem() const { return family.empty(); }

  friend bool operator==(const Font&, const Font&) = default;
};

}  // namespace kelpo::ui
