#include "timeline/deep_links.h"

namespace kelpo {

const std::string& inboxURL() {
  static const std::string url = "kelpo://inbox";
  return url;
}

const std::string& programURL() {
  static const std::string url = "kelpo://program";
  return url;
}

const std::string& completeWeekURL() {
  static const std::string url = "kelpo://complete-week";
  return url;
}

std::string topicURL(const WidgetSnapshot::Item& item) {
  return "kelpo://topic/" + item.id.string();
}

}  // namespace kelpo
