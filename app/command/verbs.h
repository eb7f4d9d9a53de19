#pragma once

#include <array>

#include "command/verb.h"

namespace kelpo::app {

// Every verb lives in its own file and is listed here once; main.cpp adds
// them in this order. `desktop` and `reload` are defined twice: in
// desktop_hand_over.cpp for the command, which hands them over to the
// desktop host, and in host/ for the host itself.
Verb addTimelineVerb(CLI::App& parent);
Verb addSampleVerb(CLI::App& parent);
Verb addValidateVerb(CLI::App& parent);
Verb addRenderVerb(CLI::App& parent);
Verb addTreeVerb(CLI::App& parent);
Verb addGalleryVerb(CLI::App& parent);
Verb addDesktopVerb(CLI::App& parent);
Verb addReloadVerb(CLI::App& parent);

inline constexpr std::array verbRegistrars{
    &addDesktopVerb, &addReloadVerb,   &addRenderVerb, &addTreeVerb,
    &addGalleryVerb, &addTimelineVerb, &addSampleVerb, &addValidateVerb,
};

// Hidden, added after the others: writes the desktop entries and the manual
// page for the install (which describes the verbs above).
Verb addGenerateVerb(CLI::App& parent);

}  // namespace kelpo::app
