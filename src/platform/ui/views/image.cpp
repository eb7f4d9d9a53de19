#include "platform/ui/drawing/bitmap.h"
#include "platform/ui/views/view.h"
#include "platform/ui/views/view_node.h"

namespace kelpo::ui {

Image Image::systemName(std::string name) {
  return Image(std::make_shared<const ViewNode>(ViewNode{primitive::Symbol{std::move(name)}}));
}

// The file is checked each time the view is built but decoded only when it
// changed (see Bitmap::loadPng); an unreadable file gives the empty image,
// which answers a zero size and draws nothing.
Image Image::file(const std::filesystem::path& png) {
  return Image(std::make_shared<const ViewNode>(
      ViewNode{primitive::BitmapImage{Bitmap::loadPng(png), false}}));
}

Image Image::resizable() const {
  const auto* bitmap = std::get_if<primitive::BitmapImage>(&node()->content);
  if (bitmap == nullptr) return *this;  // symbols keep the size their font gives them
  return Image(
      std::make_shared<const ViewNode>(ViewNode{primitive::BitmapImage{bitmap->bitmap, true}}));
}

}  // namespace kelpo::ui
