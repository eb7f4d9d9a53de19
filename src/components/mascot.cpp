#include "components/mascot.h"

#include <cstdlib>

namespace kelpo {

std::filesystem::path widgetResourceDirectory() {
  // Read on every call: the picture is looked up each time the view is built,
  // so tests and packaged installs can point elsewhere without a rebuild.
  if (const char* fromEnvironment = std::getenv("KELPO_RESOURCE_DIR");
      fromEnvironment != nullptr && *fromEnvironment != '\0') {
    return fromEnvironment;
  }
  return KELPO_RESOURCE_DIR;
}

std::filesystem::path mascotPicturePath(bool found) {
  return widgetResourceDirectory() / "mascot" / (found ? "mascot-found.png" : "mascot-resting.png");
}

ui::View Mascot::body() const {
  // A missing or unreadable file gives an empty image: it draws nothing but
  // still takes the frame the ring gives it.
  return ui::Image::file(mascotPicturePath(found))
      .resizable()
      .aspectRatio(std::nullopt, ui::ContentMode::fit)
      .accessibilityHidden(true);
}

}  // namespace kelpo
