#pragma once

#include <array>

#include "command/verb.h"

namespace kelpo::app {

// Every verb of the command lives in its own file and is listed here once;
// main.cpp adds them in this order. The command's `desktop` and `reload`
// hand their command line over to the desktop host
// (launcher/desktop_hand_over.cpp), whose own program answers them with
// the verbs of host/host_verbs.h.
Verb addTimelineVerb(CLI::App& parent);
Verb addSampleVerb(CLI::App& parent);
Verb addValidateVerb(CLI::App& parent);
Verb addRenderVerb(CLI::App& parent);
Verb addTreeVerb(CLI::App& parent);
Verb addGalleryVerb(CLI::App& parent);
Verb addDesktopHandOverVerb(CLI::App& parent);
Verb addReloadHandOverVerb(CLI::App& parent);

inline constexpr std::array verbRegistrars{
    &addDesktopHandOverVerb, &addReloadHandOverVerb, &addRenderVerb, &addTreeVerb,
    &addGalleryVerb,         &addTimelineVerb,       &addSampleVerb, &addValidateVerb,
};

// Hidden, added after the others: writes the desktop entries and the manual
// page for the install (which describes the verbs above).
Verb addGenerateVerb(CLI::App& parent);

}  // namespace kelpo::app
