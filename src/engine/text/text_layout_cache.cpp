#include "engine/text/text_layout_cache.h"

#include <algorithm>

#include "engine/text/pango_fonts.h"

namespace kelpo::ui {

TextLayoutCache::TextLayoutCache() = default;
TextLayoutCache::~TextLayoutCache() = default;
TextLayoutCache::TextLayoutCache(TextLayoutCache&&) noexcept = default;
TextLayoutCache& TextLayoutCache::operator=(TextLayoutCache&&) noexcept = default;

PangoLayout* TextLayoutCache::layoutFor(const StyledText& text, const TextLayoutRequest& request) {
  // A widget draws a few dozen texts: a look along them costs nothing
  // beside shaping one.
  const auto found = std::ranges::find_if(
      entries_, [&](const Entry& entry) { return entry.request == request && entry.text == text; });
  if (found != entries_.end()) {
    found->used = true;
    return found->layout.get();
  }
  if (!context_) context_ = makeWidgetPangoContext();
  TextLayout made = makeTextLayout(context_.get(), text, request);
  entries_.push_back({text, request, std::move(made.layout)});
  return entries_.back().layout.get();
}

void TextLayoutCache::endFrame() {
  std::erase_if(entries_, [](const Entry& entry) { return !entry.used; });
  for (Entry& entry : entries_) entry.used = false;
}

void TextLayoutCache::clear() {
  entries_.clear();
}

}  // namespace kelpo::ui
