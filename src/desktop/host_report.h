#pragma once

// What the desktop host has to tell the person who started it. The host
// only says it; the program that runs the host decides where each line goes
// and how it is introduced, so the host library never prints.

#include <functional>
#include <string>

namespace kelpo::desktop {

struct HostReport {
  using Line = std::function<void(const std::string&)>;
  // An instance's first frame is on screen: its size, surface and place.
  Line shown;
  // What the widget cannot be on this desktop.
  Line limitation;
  // What went wrong: a link that cannot open, a request that failed, why
  // the host stops.
  Line failure;
  // When set, each frame's processor time, for measurements.
  Line frameTime;

  void tell(const Line& line, const std::string& text) const {
    if (line) line(text);
  }
};

}  // namespace kelpo::desktop
