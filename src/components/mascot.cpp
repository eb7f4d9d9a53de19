#include "components/mascot.h"

#include "base/files/resource_directory.h"

namespace kelpo {

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
