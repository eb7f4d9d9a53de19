#include "desktop/accessibility/link_action.h"

#include <glib.h>

#include <memory>
#include <utility>

namespace kelpo::desktop {

namespace {

struct PendingLink {
  std::string url;
  AccessibleLinkOpener openLink;
};

gboolean openPending(gpointer data) {
  const auto& pending = *static_cast<const PendingLink*>(data);
  pending.openLink(pending.url);
  return G_SOURCE_REMOVE;
}

void dropPending(gpointer data) {
  // Ownership came back from the main loop: the unique_ptr frees it.
  const std::unique_ptr<PendingLink> pending(static_cast<PendingLink*>(data));
}

}  // namespace

void openLinkSoon(std::string url, AccessibleLinkOpener openLink) {
  auto pending = std::make_unique<PendingLink>(PendingLink{std::move(url), std::move(openLink)});
  g_idle_add_full(G_PRIORITY_DEFAULT_IDLE, openPending, pending.release(), dropPending);
}

}  // namespace kelpo::desktop
