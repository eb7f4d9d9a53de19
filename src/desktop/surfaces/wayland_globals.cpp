#include "desktop/surfaces/wayland_globals.h"

#include <glib-unix.h>
#include <poll.h>
#include <wayland-client.h>
#include <xdg-output-unstable-v1-client-protocol.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <string>
#include <utility>

#include "base/glib/glib_handles.h"

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

struct OutputCloser {
  void operator()(wl_output* output) const { wl_output_destroy(output); }
};
struct XdgOutputCloser {
  void operator()(zxdg_output_v1* output) const { zxdg_output_v1_destroy(output); }
};
struct XdgOutputManagerCloser {
  void operator()(zxdg_output_manager_v1* manager) const {
    zxdg_output_manager_v1_destroy(manager);
  }
};

// The outputs being asked, each with the proxies its events come from.
struct OutputSearch {
  std::unique_ptr<zxdg_output_manager_v1, XdgOutputManagerCloser> manager;
  std::vector<std::unique_ptr<zxdg_output_v1, XdgOutputCloser>> logicalProxies;
  std::vector<std::unique_ptr<wl_output, OutputCloser>> proxies;
  std::vector<WaylandOutput> outputs;
  bool done = false;
};

void onOutputGeometry(void* data, wl_output*, int32_t, int32_t, int32_t, int32_t, int32_t,
                      const char*, const char*, int32_t transform) {
  // The odd transforms (90, 270, and flipped so) turn the output across.
  static_cast<WaylandOutput*>(data)->quarterTurned = (transform & 1) != 0;
}
// The mode flagged current wins; a compositor that flags none (KWin 5 as a
// window) gives one mode only, which is the current one.
void onOutputMode(void* data, wl_output*, uint32_t flags, int32_t width, int32_t height, int32_t) {
  auto& output = *static_cast<WaylandOutput*>(data);
  if ((flags & WL_OUTPUT_MODE_CURRENT) != 0 || output.mode.width <= 0) {
    output.mode = {width, height};
  }
}
void onOutputDone(void*, wl_output*) {}
void onOutputScale(void*, wl_output*, int32_t) {}
void onOutputName(void* data, wl_output*, const char* name) {
  static_cast<WaylandOutput*>(data)->name = name != nullptr ? name : "";
}
void onOutputDescription(void*, wl_output*, const char*) {}
constexpr wl_output_listener outputListener{&onOutputGeometry, &onOutputMode, &onOutputDone,
                                            &onOutputScale,    &onOutputName, &onOutputDescription};

void onLogicalPosition(void*, zxdg_output_v1*, int32_t, int32_t) {}
void onLogicalSize(void* data, zxdg_output_v1*, int32_t width, int32_t height) {
  static_cast<WaylandOutput*>(data)->logical = {width, height};
}
void onLogicalDone(void*, zxdg_output_v1*) {}
void onLogicalName(void*, zxdg_output_v1*, const char*) {}
void onLogicalDescription(void*, zxdg_output_v1*, const char*) {}
constexpr zxdg_output_v1_listener logicalListener{
    &onLogicalPosition, &onLogicalSize, &onLogicalDone, &onLogicalName, &onLogicalDescription};

// Version 4 is the first to name the output.
constexpr uint32_t namedOutputVersion = 4;
// The logical size is in every version; 3 is the last.
constexpr uint32_t xdgOutputVersion = 3;

void onOutputGlobal(void* data, wl_registry* registry, uint32_t id, const char* interface,
                    uint32_t version) {
  auto& search = *static_cast<OutputSearch*>(data);
  const std::string_view name(interface);
  if (name == zxdg_output_manager_v1_interface.name && !search.manager) {
    search.manager.reset(static_cast<zxdg_output_manager_v1*>(wl_registry_bind(
        registry, id, &zxdg_output_manager_v1_interface, std::min(version, xdgOutputVersion))));
    return;
  }
  if (name != wl_output_interface.name || search.proxies.size() >= search.outputs.size()) {
    return;
  }
  // Every output is bound, named or not, so the list keeps the compositor's
  // order.
  search.proxies.emplace_back(static_cast<wl_output*>(
      wl_registry_bind(registry, id, &wl_output_interface, std::min(version, namedOutputVersion))));
  // Stable addresses: the outputs are reserved for every global up front.
  wl_output_add_listener(search.proxies.back().get(), &outputListener,
                         &search.outputs[search.proxies.size() - 1]);
}
constexpr wl_registry_listener outputRegistryListener{&onOutputGlobal, &onGlobalRemove};

// Once the globals are known: the logical size of every output, which the
// manager may have been announced after.
void askLogicalSizes(OutputSearch& search) {
  if (!search.manager) return;
  for (std::size_t i = 0; i < search.proxies.size(); ++i) {
    search.logicalProxies.emplace_back(
        zxdg_output_manager_v1_get_xdg_output(search.manager.get(), search.proxies[i].get()));
    zxdg_output_v1_add_listener(search.logicalProxies.back().get(), &logicalListener,
                                &search.outputs[i]);
  }
}

void onOutputsSynced(void* data, wl_callback*, uint32_t) {
  static_cast<OutputSearch*>(data)->done = true;
}
constexpr wl_callback_listener outputSyncListener{&onOutputsSynced};

// A compositor has at most a few dozen outputs; the listeners point into
// this many places reserved ahead.
constexpr std::size_t mostOutputs = 64;

// The questions for the outputs on a connection, in two rounds: the first
// sync brings the globals (and so the binds); the second, the outputs' own
// events and their logical sizes. Whoever reads the connection says when
// events were dispatched; the listeners point into this, which stays put.
class OutputRounds {
 public:
  explicit OutputRounds(wl_display* display)
      : display_(display), registry_(wl_display_get_registry(display)) {
    search_.outputs.resize(mostOutputs);
    wl_registry_add_listener(registry_.get(), &outputRegistryListener, &search_);
    sync();
  }
  OutputRounds(const OutputRounds&) = delete;
  OutputRounds& operator=(const OutputRounds&) = delete;
  ~OutputRounds() = default;

  // Once the events read were dispatched: whether the second round is
  // answered. The second is asked once the first is.
  [[nodiscard]] bool answered() {
    if (!search_.done) return false;
    if (round_ == 1) return true;
    round_ = 1;
    askLogicalSizes(search_);
    sync();
    return false;
  }

  // Once answered; the proxies go with it.
  [[nodiscard]] std::vector<WaylandOutput> outputs() {
    search_.outputs.resize(std::min(search_.proxies.size(), mostOutputs));
    search_.logicalProxies.clear();
    search_.proxies.clear();
    return std::move(search_.outputs);
  }

 private:
  void sync() {
    search_.done = false;
    sync_.reset(wl_display_sync(display_));
    wl_callback_add_listener(sync_.get(), &outputSyncListener, &search_);
  }

  wl_display* display_;
  OutputSearch search_;
  std::unique_ptr<wl_registry, RegistryCloser> registry_;
  std::unique_ptr<wl_callback, CallbackCloser> sync_;
  int round_ = 0;
};

}  // namespace

std::vector<WaylandOutput> waylandOutputs(std::chrono::milliseconds patience) {
  const std::unique_ptr<wl_display, DisplayCloser> display(wl_display_connect(nullptr));
  if (!display) return {};
  OutputRounds rounds(display.get());
  const auto end = std::chrono::steady_clock::now() + patience;
  while (!rounds.answered()) {
    if (!readOnce(display.get(), end)) return {};
  }
  return rounds.outputs();
}

namespace {

// What the compositor has sent so far, read without waiting (the socket
// was found readable) and dispatched; false once the connection failed.
[[nodiscard]] bool readAvailable(wl_display* display) {
  while (wl_display_prepare_read(display) != 0) {
    if (wl_display_dispatch_pending(display) < 0) return false;
  }
  if (wl_display_read_events(display) != 0) return false;
  return wl_display_dispatch_pending(display) >= 0;
}

// Requests are a few dozen bytes: a full socket buffer is no case to wait on.
[[nodiscard]] bool sent(wl_display* display) {
  return wl_display_flush(display) >= 0 || errno == EAGAIN;
}

}  // namespace

struct WaylandOutputsQuestion::Asking {
  Answer answered;
  std::unique_ptr<wl_display, DisplayCloser> display;
  std::unique_ptr<OutputRounds> rounds;
  SourceHandle reading;
  SourceHandle patienceOut;

  // The connection goes before the answer, which its owner may act on by
  // dropping the question.
  void finish(std::optional<std::vector<WaylandOutput>> outputs) {
    reading.reset();
    patienceOut.reset();
    rounds.reset();
    display.reset();
    const Answer answer = std::exchange(answered, nullptr);
    if (answer) answer(std::move(outputs));
  }

  static gboolean onReadable(gint, GIOCondition condition, gpointer data) {
    auto& asking = *static_cast<Asking*>(data);
    wl_display* display = asking.display.get();
    const bool read = (condition & G_IO_IN) != 0 && readAvailable(display);
    const bool answered = read && asking.rounds->answered();
    if (read && !answered && sent(display)) return G_SOURCE_CONTINUE;
    asking.reading.forget();
    asking.finish(answered ? std::optional(asking.rounds->outputs()) : std::nullopt);
    return G_SOURCE_REMOVE;
  }

  static gboolean onPatienceOut(gpointer data) {
    auto& asking = *static_cast<Asking*>(data);
    asking.patienceOut.forget();
    asking.finish(std::nullopt);
    return G_SOURCE_REMOVE;
  }

  [[nodiscard]] static SourceHandle watch(Asking& asking) {
    return SourceHandle(g_unix_fd_add(wl_display_get_fd(asking.display.get()),
                                      static_cast<GIOCondition>(G_IO_IN | G_IO_ERR | G_IO_HUP),
                                      &Asking::onReadable, &asking));
  }
};

WaylandOutputsQuestion::WaylandOutputsQuestion(Answer answered, std::chrono::milliseconds patience)
    : asking_(std::make_unique<Asking>()) {
  asking_->answered = std::move(answered);
  asking_->display.reset(wl_display_connect(nullptr));
  if (asking_->display) {
    asking_->rounds = std::make_unique<OutputRounds>(asking_->display.get());
  }
  if (!asking_->display || !sent(asking_->display.get())) {
    // Answered from the main loop all the same, as the owner expects.
    asking_->patienceOut = SourceHandle(g_idle_add(&Asking::onPatienceOut, asking_.get()));
    return;
  }
  asking_->reading = Asking::watch(*asking_);
  asking_->patienceOut = SourceHandle(
      g_timeout_add(static_cast<guint>(patience.count()), &Asking::onPatienceOut, asking_.get()));
}

WaylandOutputsQuestion::~WaylandOutputsQuestion() = default;

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
