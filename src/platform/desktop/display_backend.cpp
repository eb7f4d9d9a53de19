#include "platform/desktop/display_backend.h"

#include <gdk/gdk.h>

#include <chrono>

#include "platform/desktop/wayland_globals.h"

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

}  // namespace

std::string backendsFor(const DisplayFacts& facts) {
  if (facts.backendNamed || !facts.waylandAnswers || facts.layerShellOffered) return {};
  if (!facts.x11DisplayNamed) return {};
  return "x11";
}

DisplayFacts probeDisplays() {
  DisplayFacts facts;
  facts.backendNamed = isSet("GDK_BACKEND");
  facts.x11DisplayNamed = isSet("DISPLAY");
  if (facts.backendNamed || !facts.x11DisplayNamed) return facts;  // nothing to choose
  if (const auto offered = waylandOffers(layerShellInterface, probePatience)) {
    facts.waylandAnswers = true;
    facts.layerShellOffered = *offered;
  }
  return facts;
}

void chooseDisplayBackend() {
  const std::string backends = backendsFor(probeDisplays());
  if (!backends.empty()) gdk_set_allowed_backends(backends.c_str());
}

}  // namespace kelpo::desktop
