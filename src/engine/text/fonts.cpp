#include "engine/text/fonts.h"

#include <pango/pangocairo.h>
#include <pango/pangofc-fontmap.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <set>

#include "base/files/resource_directory.h"
#include "engine/text/pango_fonts.h"

namespace kelpo::ui {

namespace {

// Files below the resource directory registered as application fonts.
constexpr std::array applicationFontFiles = {
    std::string_view{"fonts/BricolageGrotesque_800ExtraBold.ttf"},
};

// What a family falls back to when it is not available: the display family
// is heavy, so its stand-in is at least bold.
constexpr std::string_view fallbackFamily = "sans-serif";

// Font sizes outside this range are clamped: zero, negative or absurd sizes
// would otherwise make Pango pick its default size or rasterise huge glyphs.
constexpr double smallestFontSize = 0.1;
constexpr double largestFontSize = 2000;

// Fontconfig compares family names without regard to ASCII case.
[[nodiscard]] std::string foldedFamily(std::string_view family) {
  std::string folded(family);
  std::ranges::transform(folded, folded.begin(),
                         [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return folded;
}

// The process-wide font configuration: the system's fonts plus the
// application fonts, the families it offers, and the families found
// missing so far. Made once, on first use; only `missing_` changes later.
class FontSetup {
 public:
  [[nodiscard]] static FontSetup& shared() {
    static FontSetup setup;
    return setup;
  }

  [[nodiscard]] FcConfig* config() const { return config_.get(); }

  [[nodiscard]] bool offers(std::string_view family) const {
    return families_.contains(foldedFamily(family));
  }

  void recordMissing(std::string_view family) {
    const std::scoped_lock lock(mutex_);
    if (std::ranges::find(missing_, family) == missing_.end()) missing_.emplace_back(family);
  }

  [[nodiscard]] std::vector<std::string> missing() const {
    const std::scoped_lock lock(mutex_);
    return missing_;
  }

 private:
  // The configuration is loaded once and made fontconfig's current one
  // before any Pango font map exists: Pango's own start-up (FcInit on a
  // thread of its) then finds it in place instead of loading the default
  // configuration a second time, and the font maps wait for no thread.
  FontSetup() : config_(FcInitLoadConfigAndFonts()) {
    if (!config_) return;
    const std::filesystem::path directory = widgetResourceDirectory();
    for (const std::string_view file : applicationFontFiles) {
      const std::filesystem::path path = directory / file;
      // A missing or unusable file is not an error here: its family is
      // simply not offered and is reported when a text asks for it.
      if (!isUsableFontFile(path)) continue;
      FcConfigAppFontAddFile(config_.get(), reinterpret_cast<const FcChar8*>(path.c_str()));
    }
    // The current configuration takes its own reference.
    FcConfigSetCurrent(config_.get());
    collectFamilies();
  }

  void collectFamilies() {
    const FcPatternHandle pattern(FcPatternCreate());
    const FcObjectSetHandle objects(FcObjectSetBuild(FC_FAMILY, nullptr));
    const FcFontSetHandle fonts(FcFontList(config_.get(), pattern.get(), objects.get()));
    if (!fonts) return;
    for (int i = 0; i < fonts->nfont; ++i) {
      FcChar8* family = nullptr;
      for (int n = 0; FcPatternGetString(fonts->fonts[i], FC_FAMILY, n, &family) == FcResultMatch;
           ++n) {
        families_.insert(foldedFamily(reinterpret_cast<const char*>(family)));
      }
    }
  }

  FcConfigHandle config_;
  std::set<std::string, std::less<>> families_;
  mutable std::mutex mutex_;
  std::vector<std::string> missing_;
};

[[nodiscard]] FontMapHandle makeFontMap() {
  // The configuration first: see FontSetup.
  FcConfig* config = FontSetup::shared().config();
  FontMapHandle map(pango_cairo_font_map_new_for_font_type(CAIRO_FONT_TYPE_FT));
  if (map && PANGO_IS_FC_FONT_MAP(map.get())) {
    if (config != nullptr) {
      // The font map takes its own reference to the configuration.
      pango_fc_font_map_set_config(PANGO_FC_FONT_MAP(map.get()), config);
    }
  }
  return map;
}

[[nodiscard]] double clampedFontSize(double size) {
  if (!std::isfinite(size)) return smallestFontSize;
  return std::clamp(size, smallestFontSize, largestFontSize);
}

}  // namespace

bool isUsableFontFile(const std::filesystem::path& path) {
  // Only the file's metadata is read: a FIFO or device in the font's place
  // would block or feed fontconfig without end once opened.
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(path, error);
  if (error || !std::filesystem::is_regular_file(status)) return false;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  return !error && size > 0 && size <= largestFontFileBytes;
}

std::vector<std::string> missingFonts() {
  return FontSetup::shared().missing();
}

PangoFontMap* widgetFontMap() {
  thread_local const FontMapHandle map = makeFontMap();
  return map.get();
}

PangoContextHandle makeWidgetPangoContext() {
  PangoContextHandle context(pango_font_map_create_context(widgetFontMap()));
  const FontOptionsHandle options(cairo_font_options_create());
  cairo_font_options_set_hint_style(options.get(), CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(options.get(), CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_antialias(options.get(), CAIRO_ANTIALIAS_GRAY);
  pango_cairo_context_set_font_options(context.get(), options.get());
  pango_cairo_context_set_resolution(context.get(), 72);
  pango_context_set_round_glyph_positions(context.get(), FALSE);
  return context;
}

FontDescriptionHandle makeFontDescription(const Font& font, double scale) {
  FontSetup& setup = FontSetup::shared();
  std::string family = font.isSystem() ? std::string(systemFontFamily) : font.family;
  auto weight = static_cast<int>(font.weight);
  if (!setup.offers(family)) {
    setup.recordMissing(family);
    family = fallbackFamily;
    if (!font.isSystem()) weight = std::max(weight, static_cast<int>(FontWeight::bold));
  }
  FontDescriptionHandle description(pango_font_description_new());
  pango_font_description_set_family(description.get(), family.c_str());
  pango_font_description_set_weight(description.get(), static_cast<PangoWeight>(weight));
  pango_font_description_set_style(description.get(), PANGO_STYLE_NORMAL);
  pango_font_description_set_stretch(description.get(), PANGO_STRETCH_NORMAL);
  pango_font_description_set_absolute_size(description.get(),
                                           clampedFontSize(font.size * scale) * PANGO_SCALE);
  return description;
}

}  // namespace kelpo::ui

#if defined(__SANITIZE_ADDRESS__)
// Pango keeps fontconfig patterns in caches that fontconfig only frees in
// FcFini(), which nothing may call while other code could still use
// fontconfig; the leak checker would report them at every exit of every
// program that draws text. Only allocations made inside fontconfig are
// exempted.
extern "C" const char* __lsan_default_suppressions() {  // NOLINT: the sanitizer's hook name
  return "leak:libfontconfig.so\n";
}
#endif
