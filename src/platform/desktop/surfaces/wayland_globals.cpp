#include "platform/desktop/surfaces/wayland_globals.h"

#include <poll.h>
#include <wayland-client.h>

#include <memory>
#include <string>

namespace kelpo::desktop {
namespace {

struct DisplayCloser {
  void operator()(wl_display* display) const { wl_display_disconnect(display); }
};
struct RegistryCloser {
  void operator()(wl_registry* registry) const { wl_registry_destroy(registry); }
};
struct CallbackCloser {
  void operator()(wl_callback* callback) const { wl_callback_destroy(callback); }
};

struct Search {
  std::string wanted;
  bool found = false;
  bool done = false;
};

void onGlobal(void* data, wl_registry*, uint32_t, const char* interface, uint32_t) {
  auto& search = *static_cast<Search*>(data);
  if (search.wanted == interface) search.found = true;
}
void onGlobalRemove(void*, wl_registry*, uint32_t) {}
constexpr wl_registry_listener registryListener{&onGlobal, &onGlobalRemove};

void onSyncDone(void* data, wl_callback*, uint32_t) {
  static_cast<Search*>(data)->done = true;
}
constexpr wl_callback_listener syncListener{&onSyncDone};

// One read of the socket, waiting at most until `end`; false when the
// compositor stays silent or the connection fails.
[[nodiscard]] bool readOnce(wl_display* display, std::chrono::steady_clock::time_point end) {
  while (wl_display_prepare_read(display) != 0) {
    if (wl_display_dispatch_pending(display) < 0) return false;
  }
  if (wl_display_flush(display) < 0) {
    wl_display_cancel_read(display);
    return false;
  }
  const auto left =
      std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
  pollfd socket{wl_display_get_fd(display), POLLIN, 0};
  if (left.count() <= 0 || poll(&socket, 1, static_cast<int>(left.count())) <= 0) {
    wl_display_cancel_read(display);
    return false;
  }
  return wl_display_read_events(display) == 0 && wl_display_dispatch_pending(display) >= 0;
}

}  // namespace

std::optional<bool> waylandOffers(std::string_view interfaceName,
                                  std::chrono::milliseconds patience) {
  const std::unique_ptr<wl_display, DisplayCloser> display(wl_display_connect(nullptr));
  if (!display) return std::nullopt;
  Search search{std::string(interfaceName)};
  const std::unique_ptr<wl_registry, RegistryCloser> registry(
      wl_display_get_registry(display.get()));
  wl_registry_add_listener(registry.get(), &registryListener, &search);
  // The globals all arrive before the answer to this sync.
  const std::unique_ptr<wl_callback, CallbackCloser> sync(wl_display_sync(display.get()));
  wl_callback_add_listener(sync.get(), &syncListener, &search);
  const auto end = std::chrono::steady_clock::now() + patience;
  while (!search.done) {
    if (!readOnce(display.get(), end)) return std::nullopt;
  }
  return search.found;
}

}  // namespace kelpo::desktop
