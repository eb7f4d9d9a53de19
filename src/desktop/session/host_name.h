#pragma once

// The host's name on the session bus: one host per session. Owning the name
// exports the host's actions (so that `kelpo-widget reload` reaches them);
// finding it owned by another host asks that one to reload instead.

#include <gio/gio.h>

#include <functional>
#include <string>

#include "base/glib/glib_handles.h"

namespace kelpo::desktop {

class HostName {
 public:
  // What became of the name; one of the two runs once, on the main loop.
  struct Outcome {
    // The name is this host's, or no one may have it (a bus that refuses
    // it to everyone): either way no other host runs.
    std::function<void()> alone;
    // Another process has it; that one was asked to reload.
    std::function<void()> anotherHostRuns;
  };

  HostName(GDBusConnection* bus, std::string name, std::string objectPath, GActionGroup* actions,
           Outcome outcome);
  HostName(const HostName&) = delete;
  HostName& operator=(const HostName&) = delete;
  ~HostName();

 private:
  static void onAcquired(GDBusConnection*, const gchar*, gpointer self);
  static void onLost(GDBusConnection*, const gchar*, gpointer self);
  static void onOwnerAnswered(GObject* bus, GAsyncResult* result, gpointer self);
  static void onReloadAsked(GObject* bus, GAsyncResult* result, gpointer self);

  ObjectHandle<GDBusConnection> bus_;
  std::string name_;
  std::string objectPath_;
  GActionGroup* actions_;
  Outcome outcome_;
  ObjectHandle<GCancellable> cancellable_;
  guint ownership_ = 0;
  guint export_ = 0;
};

}  // namespace kelpo::desktop
