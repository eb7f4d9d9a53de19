// The rules behind where the widget goes and how it stacks, on plain
// values: GDK's backend from what the displays offer, a corner of a work
// area, and the X11 desktop window's stacking and shape decisions.

#include <glib.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "base/glib/glib_handles.h"
#include "desktop/surfaces/desktop_surface.h"
#include "desktop/surfaces/display_backend.h"
#include "desktop/surfaces/wayland_globals.h"
#include "desktop/surfaces/x11_stacking_rules.h"
#include "support/scoped_environment_variable.h"
#include "support/temporary_directory.h"

namespace kelpo::desktop {
namespace {

TEST(DisplayBackend, XWaylandOnlyWhenTheCompositorLacksLayerShellAndAnXDisplayIsThere) {
  struct Case {
    const char* name;
    DisplayFacts facts;
    const char* backends;
  };
  const Case cases[] = {
      {"GNOME on Wayland", {false, true, false, true}, "x11"},
      {"sway, KWin on Wayland", {false, true, true, true}, ""},
      {"weston without XWayland, or a stale DISPLAY", {false, true, false, false}, ""},
      {"an X11 session", {false, false, false, true}, ""},
      {"GDK_BACKEND set by the person", {true, true, false, true}, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(backendsFor(c.facts), c.backends) << c.name;
  }
}

TEST(DisplayBackend, OnlyALocalXDisplayCanBeTheCompositorsXWayland) {
  for (const char* local : {":0", ":1024.0", "unix:2"})
    EXPECT_TRUE(isLocalXDisplay(local)) << local;
  for (const char* remote : {"build-host:0", "localhost:10.0", "", "0"}) {
    EXPECT_FALSE(isLocalXDisplay(remote)) << remote;
  }
}

TEST(CornerPlacement, MarginsCountFromTheWorkAreaAndInstancesStackAlongTheEdge) {
  struct Case {
    const char* name;
    ui::Rect area;
    Corner corner;
    double along;
    ui::Point expected;
  };
  // A 1280x800 monitor under GNOME's 32-row top bar, a 364x170 widget, 24
  // from the edges.
  const ui::Rect belowTopBar{{0, 32}, {1280, 768}};
  const Case cases[] = {
      {"top right, under the top bar", belowTopBar, Corner::topRight, 0, {892, 56}},
      {"top left, second instance", belowTopBar, Corner::topLeft, 194, {24, 250}},
      {"bottom right", belowTopBar, Corner::bottomRight, 0, {892, 606}},
      {"bottom left, above a bottom panel",
       {{0, 0}, {1280, 752}},
       Corner::bottomLeft,
       0,
       {24, 558}},
      {"second monitor", {{1280, 0}, {1920, 1080}}, Corner::topRight, 0, {2812, 24}},
      {"area smaller than the widget", {{100, 50}, {200, 100}}, Corner::bottomRight, 0, {100, 50}},
      {"area of nothing (monitor going away)", {{0, 0}, {0, 0}}, Corner::topRight, 0, {0, 0}},
  };
  for (const Case& c : cases) {
    const WindowPlacement where{Placement{c.corner, 24, std::nullopt}, c.along, std::nullopt,
                                std::nullopt};
    const ui::Rect frame = frameAt(where.effectivePlace(), {364, 170}, c.area);
    EXPECT_DOUBLE_EQ(frame.minX(), c.expected.x) << c.name;
    EXPECT_DOUBLE_EQ(frame.minY(), c.expected.y) << c.name;
  }
}

TEST(X11Stacking, RaisesOnlyAboveAnotherProgramsDesktopWindow) {
  const std::set<X11WindowId> foreignDesktops{7};
  const auto isForeignDesktop = [&](X11WindowId id) { return foreignDesktops.contains(id); };
  struct Case {
    const char* name;
    std::vector<X11WindowId> bottomToTop;
    bool raise;
  };
  const Case cases[] = {
      {"a file manager's desktop mapped after the widget", {3, 5, 7, 9}, true},
      {"the desktop below the widget", {7, 5, 9}, false},
      {"only ordinary windows and the host's own above", {5, 6, 9}, false},
      {"the widget not listed yet", {7, 9}, false},
      {"no windows at all", {}, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(foreignDesktopAbove(c.bottomToTop, 5, isForeignDesktop), c.raise) << c.name;
  }
}

TEST(X11Stacking, OnlyKWinPaintsDesktopWindowsOpaque) {
  for (const char* blends : {"GNOME Shell", "Mutter (Muffin)", "Xfwm4", "Openbox", "", "kwin"}) {
    EXPECT_FALSE(paintsDesktopWindowsOpaque(blends)) << blends;
  }
  EXPECT_TRUE(paintsDesktopWindowsOpaque("KWin"));
}

// A socket that accepts and never speaks: a WAYLAND_DISPLAY that is no
// compositor. Closed when it goes.
class SilentSocket {
 public:
  explicit SilentSocket(const std::string& path) : fd_(socket(AF_UNIX, SOCK_STREAM, 0)) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (fd_ < 0 || path.size() >= sizeof(address.sun_path)) return;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    listening_ = bind(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0 &&
                 listen(fd_, 1) == 0;
  }
  SilentSocket(const SilentSocket&) = delete;
  SilentSocket& operator=(const SilentSocket&) = delete;
  ~SilentSocket() {
    if (fd_ >= 0) close(fd_);
  }
  [[nodiscard]] bool listening() const { return listening_; }

 private:
  int fd_;
  bool listening_ = false;
};

// A socket that accepts and never speaks stands for a WAYLAND_DISPLAY that
// is no compositor: the probe gives up instead of waiting for ever.
TEST(WaylandGlobals, NoAnswerWithinItsPatienceIsNoCompositor) {
  const testing_support::TemporaryDirectory directory;
  const std::string path = (directory.path() / "silent").string();
  const SilentSocket listener(path);
  ASSERT_TRUE(listener.listening());
  std::optional<bool> silent;
  std::optional<bool> absent;
  std::chrono::steady_clock::duration took{};
  {
    const testing_support::ScopedEnvironmentVariable display("WAYLAND_DISPLAY", path);
    const auto began = std::chrono::steady_clock::now();
    silent = waylandOffers("zwlr_layer_shell_v1", std::chrono::milliseconds(200));
    took = std::chrono::steady_clock::now() - began;
  }
  {
    const testing_support::ScopedEnvironmentVariable display(
        "WAYLAND_DISPLAY", (directory.path() / "absent").string());
    absent = waylandOffers("zwlr_layer_shell_v1", std::chrono::milliseconds(200));
  }

  EXPECT_FALSE(silent.has_value());
  EXPECT_LT(took, std::chrono::seconds(2));
  EXPECT_FALSE(absent.has_value());
}

gboolean quitLoop(gpointer loop) {
  g_main_loop_quit(static_cast<GMainLoop*>(loop));
  return G_SOURCE_REMOVE;
}

// The host's report waits on the compositor's answer for the monitor's
// scale, asked on the main loop: a compositor that never answers, or none,
// still gives an answer (nothing), from the main loop, so that the report is
// written all the same.
TEST(WaylandGlobals, TheOutputsAskedOnTheMainLoopAnswerNothingWhereNoCompositorDoes) {
  const testing_support::TemporaryDirectory directory;
  const std::string path = (directory.path() / "silent").string();
  const SilentSocket listener(path);
  ASSERT_TRUE(listener.listening());

  for (const std::string& display : {path, (directory.path() / "absent").string()}) {
    const testing_support::ScopedEnvironmentVariable named("WAYLAND_DISPLAY", display);
    const MainLoopHandle loop(g_main_loop_new(nullptr, FALSE));
    int answers = 0;
    std::optional<std::vector<WaylandOutput>> answer{std::vector<WaylandOutput>(1)};
    const WaylandOutputsQuestion question(
        [&](std::optional<std::vector<WaylandOutput>> outputs) {
          ++answers;
          answer = std::move(outputs);
          g_main_loop_quit(loop.get());
        },
        std::chrono::milliseconds(100));
    EXPECT_EQ(answers, 0) << display << ": answered before the main loop ran";
    // A hang guard only: the answer comes after the patience of 100 ms.
    SourceHandle guard(g_timeout_add_seconds(10, &quitLoop, loop.get()));
    g_main_loop_run(loop.get());
    if (answers == 0) guard.forget();  // it ended itself
    EXPECT_EQ(answers, 1) << display;
    EXPECT_FALSE(answer.has_value()) << display;
  }
}

}  // namespace
}  // namespace kelpo::desktop
