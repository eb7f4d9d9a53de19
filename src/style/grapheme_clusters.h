#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace kelpo {

// The byte offsets at which the user-perceived characters (extended
// grapheme clusters) of UTF-8 `text` begin, followed by text.size(): a text
// of n characters gives n + 1 offsets, the empty text gives {0}. Ill-formed
// UTF-8 never fails: each stray byte counts as a character of its own.
[[nodiscard]] std::vector<std::size_t> graphemeBoundaries(std::string_view text);

}  // namespace kelpo
