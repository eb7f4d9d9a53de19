#pragma once

#include <CLI/CLI.hpp>
#include <filesystem>
#include <string>

#include "common_options.h"
#include "entry_renderer.h"
#include "platform/ui/views/environment.h"
#include "style/accent_theme.h"
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

// An entry ready to draw, with the theme it is drawn in.
struct ResolvedEntry {
  Entry entry;
  AccentTheme accent = AccentTheme::braise;
};

// Answers the request the options name, as the desktop would ask it: a
// timeline request by default (reading the shared directory and recording the
// accent, silently falling back to the default record), a placeholder or a
// preview request. A --snapshot file is read and decoded strictly: any
// problem with it is a CommandError that says what is wrong.
[[nodiscard]] ResolvedEntry resolveEntry(const EntryOptions& options,
                                         const CommandContext& context);

// How the options ask for the entry to be drawn in `family`.
[[nodiscard]] EntryDrawing drawingFor(const EntryOptions& options, ui::WidgetFamily family);

}  // namespace kelpo::app
