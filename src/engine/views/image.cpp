#include "engine/views/view.h"
#include "engine/views/view_node.h"

namespace kelpo::ui {

Image Image::systemName(std::string name) {
  return Image(std::make_shared<const ViewNode>(ViewNode{primitive::Symbol{std::move(name)}}));
}

// The view only names the file: layout reads it, checking it each time but
// decoding it only when it changed (see Bitmap::loadPng). An unreadable
// file gives the empty image, which answers a zero size and draws nothing.
Image Image::file(const std::filesystem::path& png) {
  return Image(std::make_shared<const ViewNode>(ViewNode{primitive::PictureFile{png, false}}));
}

Image Image::resizable() const {
  const auto* picture = std::get_if<primitive::PictureFile>(&node()->content);
  if (picture == nullptr) return *this;  // symbols keep the size their font gives them
  return Image(
      std::make_shared<const ViewNode>(ViewNode{primitive::PictureFile{picture->file, true}}));
}

}  // namespace kelpo::ui
