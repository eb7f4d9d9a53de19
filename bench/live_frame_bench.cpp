// One live frame of the medium widget at 2x while a gold badge's sheen
// sweeps, as a desktop host draws it: the views laid out again at the
// frame's time, then drawn by a live painter into a window surface that
// keeps its pixels (cached background, only the damaged region redrawn).
// Caches are warm: the host has drawn the widget before the sweep starts.

#include <benchmark/benchmark.h>
#include <cairo.h>

#include <chrono>
#include <memory>
#include <optional>

#include "base/files/resource_directory.h"
#include "base/locale/phrases.h"
#include "base/time/calendar.h"
#include "engine/drawing/cairo_handles.h"
#include "engine/drawing/live_frame_painter.h"
#include "engine/drawing/painter.h"
#include "engine/layout/view_host.h"
#include "engine/text/pango_text_measurer.h"
#include "layouts/kelpo_widget_view.h"
#include "timeline/sample_snapshot.h"

namespace kelpo {
namespace {

constexpr double renderScale = 2;
constexpr double frameSeconds = 1.0 / 60;
// The sweep starts 0.12 s after the badge appears and lasts 0.9 s.
constexpr double sweepStart = 0.12;
constexpr double sweepEnd = 1.02;

Instant benchNow() {
  using namespace std::chrono;
  return Instant{sys_days{2026y / December / 6}} + hours{10};
}

// The sample with a gold first item, whose badge sweeps on appearing.
ui::View goldSampleView() {
  const CalendarContext calendar("fr_FR", "Europe/Paris");
  WidgetSnapshot snapshot = sampleSnapshot(benchNow(), calendar);
  snapshot.toSort.front().score = 10;
  return KelpoWidgetView{snapshot, AccentTheme::braise}.body();
}

ui::Environment mediumEnvironment() {
  ui::Environment environment;
  environment.widgetSize = {364, 170};  // the medium widget
  environment.locale = "fr_FR";
  environment.timeZone = "Europe/Paris";
  environment.now = benchNow();
  environment.displayScale = renderScale;
  environment.phrases = std::make_shared<const PhraseBook>(
      PhraseBook::forLocale("fr_FR", widgetResourceDirectory() / "phrases"));
  return environment;
}

// A widget window: its views, its painter and its surface, drawn once
// before the sweep so that every cache is warm.
class LiveWidget {
 public:
  LiveWidget()
      : host_(std::make_unique<ui::ViewHost>(view_, environment_, measurer_)),
        surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 728, 340)),
        cr_(cairo_create(surface_.get())) {
    restartSweep();
  }

  // Lays the views out at the next frame's time.
  [[nodiscard]] ui::LaidOutWidget layOutNextFrame() {
    seconds_ += frameSeconds;
    return host_->frameAt(seconds_);
  }

  // The badge appears again (a new host, drawn once), ready to sweep.
  void restartSweepWhenEnded(benchmark::State& state) {
    if (seconds_ + frameSeconds <= sweepEnd) return;
    state.PauseTiming();
    restartSweep();
    state.ResumeTiming();
  }

  [[nodiscard]] ui::PixelRect paint(const ui::LaidOutWidget& widget) {
    return painter_.paintFrame(cr_.get(), widget, renderScale);
  }

 private:
  void restartSweep() {
    // The last frame stays on the surface, so the painter keeps it.
    host_ = std::make_unique<ui::ViewHost>(view_, environment_, measurer_);
    (void)paint(host_->frameAt(0));
    seconds_ = sweepStart;
  }

  ui::View view_ = goldSampleView();
  ui::Environment environment_ = mediumEnvironment();
  ui::PangoTextMeasurer measurer_;
  std::unique_ptr<ui::ViewHost> host_;
  ui::SurfaceHandle surface_;
  ui::CairoHandle cr_;
  ui::LiveFramePainter painter_;
  double seconds_ = 0;
};

// Re-layout and draw: what the host spends on one frame of the sweep.
void BM_LiveFrameDuringSheen(benchmark::State& state) {
  LiveWidget widget;
  double damagedPixels = 0;
  for (auto _ : state) {
    widget.restartSweepWhenEnded(state);
    const ui::PixelRect damage = widget.paint(widget.layOutNextFrame());
    damagedPixels += static_cast<double>(damage.width) * damage.height;
  }
  state.counters["damaged_px"] =
      benchmark::Counter(damagedPixels, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_LiveFrameDuringSheen)->Unit(benchmark::kMillisecond);

// The re-layout alone.
void BM_LiveFrameRelayout(benchmark::State& state) {
  LiveWidget widget;
  for (auto _ : state) {
    widget.restartSweepWhenEnded(state);
    ui::LaidOutWidget laidOut = widget.layOutNextFrame();
    benchmark::DoNotOptimize(laidOut);
  }
}
BENCHMARK(BM_LiveFrameRelayout)->Unit(benchmark::kMillisecond);

// The same frames drawn whole with paintWidget, background included, as
// without the live painter: the cost it saves.
void BM_LiveFrameDrawnWhole(benchmark::State& state) {
  LiveWidget widget;
  const ui::SurfaceHandle surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 728, 340));
  for (auto _ : state) {
    widget.restartSweepWhenEnded(state);
    const ui::LaidOutWidget laidOut = widget.layOutNextFrame();
    const ui::CairoHandle cr(cairo_create(surface.get()));
    cairo_scale(cr.get(), renderScale, renderScale);
    ui::paintWidget(cr.get(), laidOut);
  }
}
BENCHMARK(BM_LiveFrameDrawnWhole)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kelpo

BENCHMARK_MAIN();
