#pragma once

#include <string>
#include <string_view>

namespace kelpo {

// `text` between double quotes, safe to print on a terminal or in a
// line-per-item listing: the quote and the backslash are escaped, and so is
// every control character (C0, DEL and C1) as \n, \r, \t or \u001B, so that
// text cannot end a line, move the cursor or start an escape sequence. Any
// other character, UTF-8 included, stays as it is; a byte that is not part of
// well-formed UTF-8 is shown as \xNN.
[[nodiscard]] std::string quotedText(std::string_view text);

}  // namespace kelpo
