#include "command/entry_options.h"

#include <utility>

#include "base/preferences/preferences.h"
#include "command/command_error.h"
#include "command/snapshot_file.h"
#include "snapshot/snapshot_json.h"
#include "snapshot/snapshot_store.h"
#include "timeline/provider.h"
#include "widget/shared_container.h"
#include "widget/widget_preferences.h"

namespace kelpo::app {
namespace {

[[nodiscard]] WidgetSnapshot readSnapshotFile(const std::filesystem::path& file) {
  DecodeResult result = decodeSnapshot(readSnapshotFileContent(file));
  if (!result.ok()) throw CommandError(file.string() + ": " + result.error().describe());
  return std::move(result).value();
}

}  // namespace

void addEntryOptions(CLI::App& verb, EntryOptions& options) {
  addCommonOptions(verb, options.common);
  auto* file = verb.add_option("--snapshot", options.snapshotFile,
                               "Draw this widget.json instead of the shared directory's")
                   ->type_name("FILE");
  auto* sample = verb.add_flag("--sample,--placeholder", options.sample,
                               "Draw the built-in sample record (a placeholder request)");
  verb.add_flag("--preview", options.preview,
                "Answer a widget-gallery snapshot request (the sample record)")
      ->excludes(file)
      ->excludes(sample);
  file->excludes(sample);
  verb.add_option("--appearance", options.appearance, "light or dark")
      ->check(CLI::IsMember({"light", "dark"}))
      ->capture_default_str();
  verb.add_flag("--reduce-motion", options.reduceMotion, "Draw with reduced motion");
  verb.add_option("--at", options.at, "Draw the frame this many seconds after the widget appears")
      ->check(CLI::Range(0.0, 86400.0))
      ->type_name("SECONDS")
      ->capture_default_str();
}

ResolvedEntry resolveEntry(const EntryOptions& options, const CommandContext& context) {
  if (!options.snapshotFile.empty()) {
    WidgetSnapshot snapshot = readSnapshotFile(options.snapshotFile);
    ExtensionContext extension = ExtensionContext::afterLoading(snapshot);
    return {Entry{context.clock->now(), std::move(snapshot)}, extension};
  }

  Preferences preferences(widgetPreferencesLocation());
  const SnapshotStore store(sharedContainerDirectory(), preferences, *context.clock);
  const Provider provider(store, *context.clock, context.calendar);
  Entry entry;
  if (options.sample) {
    entry = provider.placeholder(TimelineContext{});
  } else if (options.preview) {
    provider.snapshot(TimelineContext{.isPreview = true},
                      [&](Entry answer) { entry = std::move(answer); });
  } else {
    provider.timeline(TimelineContext{},
                      [&](Timeline timeline) { entry = timeline.entries.at(0); });
  }
  // The context starts after the load, so its accent state reads what the
  // store has just recorded (or an earlier load did, for the other requests).
  return {std::move(entry), ExtensionContext(preferences)};
}

EntryDrawing drawingFor(const EntryOptions& options, WidgetFamily family) {
  return {family, options.appearance == "dark" ? ui::ColorScheme::dark : ui::ColorScheme::light,
          options.reduceMotion, options.at};
}

}  // namespace kelpo::app
