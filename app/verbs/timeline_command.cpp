// kelpo-widget timeline: answers one of the desktop's requests, as the widget
// would, and prints it as JSON.

#include <iostream>
#include <memory>

#include "base/preferences/preferences.h"
#include "command/common_options.h"
#include "command/json_output.h"
#include "command/verbs.h"
#include "snapshot/snapshot_store.h"
#include "timeline/provider.h"
#include "widget/shared_container.h"
#include "widget/widget_preferences.h"

namespace kelpo::app {
namespace {

struct TimelineOptions {
  CommonOptions common;
  bool placeholder = false;
  bool preview = false;
};

int runTimeline(const TimelineOptions& options) {
  const CommandContext context = resolveContext(options.common);
  // The same store the widget uses: the shared directory for widget.json,
  // the widget's own preferences for the accent it records.
  Preferences preferences(widgetPreferencesLocation());
  const SnapshotStore store(sharedContainerDirectory(), preferences, *context.clock);
  const Provider provider(store, *context.clock, context.calendar);

  if (options.placeholder) {
    std::cout << entriesJson({provider.placeholder(TimelineContext{})});
  } else if (options.preview) {
    provider.snapshot(TimelineContext{.isPreview = true},
                      [](Entry entry) { std::cout << entriesJson({std::move(entry)}); });
  } else {
    provider.timeline(TimelineContext{}, [](Timeline timeline) {
      std::cout << entriesJson(timeline.entries, timeline.reloadDate);
    });
  }
  return 0;
}

}  // namespace

Verb addTimelineVerb(CLI::App& parent) {
  auto options = std::make_shared<TimelineOptions>();
  CLI::App& verb = addVerbCommand(
      parent, "timeline",
      "Answer a timeline request (the stored snapshot and when to ask again) as JSON");
  addCommonOptions(verb, options->common);
  auto* placeholder = verb.add_flag("--placeholder", options->placeholder,
                                    "Answer a placeholder request instead (the sample record)");
  verb.add_flag("--preview", options->preview,
                "Answer a snapshot request for the widget gallery (the sample record)")
      ->excludes(placeholder);
  return Verb{&verb, [options] { return runTimeline(*options); }};
}

}  // namespace kelpo::app
