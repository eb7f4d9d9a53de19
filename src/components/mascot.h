#pragma once

#include <filesystem>

#include "engine/views/view.h"

namespace kelpo {

// The mascot picture, awake ("found") or asleep ("resting"). Pure
// decoration: hidden from assistive technologies.
struct Mascot {
  bool found = true;

  [[nodiscard]] ui::View body() const;
};

// The PNG file of a pose: <resources>/mascot/mascot-found.png or
// mascot-resting.png.
[[nodiscard]] std::filesystem::path mascotPicturePath(bool found);

}  // namespace kelpo
