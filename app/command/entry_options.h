#pragma once

#include <CLI/CLI.hpp>
#include <filesystem>
#include <string>

#include "command/common_options.h"
#include "engine/views/environment.h"
#include "layouts/extension_context.h"
#include "timeline/entry.h"

namespace kelpo::app {

// Which entry to draw and how: the options shared by `render` and `tree`.
struct EntryOptions {
  CommonOptions common;
  std::filesystem::path snapshotFile;  // --snapshot: a file instead of the shared directory
  bool sample = false;                 // --sample / --placeholder: the sample record
  bool preview = false;                // --preview: a widget-gallery snapshot request
  std::string appearance = "light";
  bool reduceMotion = false;
  double at = 0;  // seconds after the widget appears
};

void addEntryOptions(CLI::App& verb, EntryOptions& options);

// An entry ready to draw, with the extension context that draws it.
struct ResolvedEntry {
  Entry entry;
  ExtensionContext context;
};

// Answers the request the options name, as the desktop would ask it: a
// timeline request by default (reading the shared directory and recording the
// accent, silently falling back to the default record), a placeholder or a
// preview request. A --snapshot file is read and decoded strictly: any
// problem with it is a CommandError that says what is wrong.
[[nodiscard]] ResolvedEntry resolveEntry(const EntryOptions& options,
                                         const CommandContext& context);

// How the options ask for the entry to be drawn in `family`.
[[nodiscard]] EntryDrawing drawingFor(const EntryOptions& options, WidgetFamily family);

}  // namespace kelpo::app
