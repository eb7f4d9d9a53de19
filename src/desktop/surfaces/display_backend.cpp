#include "desktop/surfaces/display_backend.h"

#include <X11/Xlib.h>
#include <gdk/gdk.h>

#include <chrono>
#include <memory>

#include "desktop/surfaces/wayland_globals.h"

namespace kelpo::desktop {
namespace {

constexpr const char* layerShellInterface = "zwlr_layer_shell_v1";
// A compositor answers its registry at once; this bounds a socket that
// belongs to something else.
constexpr std::chrono::milliseconds probePatience{1500};

[[nodiscard]] bool isSet(const char* name) {
  const char* value = g_getenv(name);
  return value != nullptr && *value != '\0';
}

[[nodiscard]] bool x11DisplayOpens() {
  const std::unique_ptr<Display, decltype(&XCloseDisplay)> display(XOpenDisplay(nullptr),
                                                                   &XCloseDisplay);
  return display != nullptr;
}

}  // namespace

bool isLocalXDisplay(std::string_view name) {
  return name.starts_with(':') || name.starts_with("unix:");
}

std::string backendsFor(const DisplayFacts& facts) {
  if (facts.backendNamed || !facts.waylandAnswers || facts.layerShellOffered) return {};
  if (!facts.x11DisplayAnswers) return {};
  return "x11";
}

DisplayFacts probeDisplays() {
  DisplayFacts facts;
  facts.backendNamed = isSet("GDK_BACKEND");
  // Without DISPLAY, or with the person's own choice, there is nothing to
  // choose between.
  if (facts.backendNamed || !isSet("DISPLAY")) return facts;
  if (const auto offered = waylandOffers(layerShellInterface, probePatience)) {
    facts.waylandAnswers = true;
    facts.layerShellOffered = *offered;
  }
  if (facts.waylandAnswers && !facts.layerShellOffered && isLocalXDisplay(g_getenv("DISPLAY"))) {
    facts.x11DisplayAnswers = x11DisplayOpens();
  }
  return facts;
}

void chooseDisplayBackend() {
  const std::string backends = backendsFor(probeDisplays());
  if (!backends.empty()) gdk_set_allowed_backends(backends.c_str());
}

}  // namespace kelpo::desktop
