#pragma once

#include <CLI/CLI.hpp>
#include <string>
#include <string_view>

namespace kelpo::app {

// The manual page of the command, kelpo-widget(1), in roff: the command's
// --help text, then each verb's, kept as printed, so the page and --help
// always say the same. Hidden verbs are left out.
[[nodiscard]] std::string manPage(const CLI::App& command, std::string_view version);

// `text` as lines roff shows as written inside a no-fill block: backslashes
// and hyphens escaped, a line starting with a control character ('.' or '\'')
// made plain text.
[[nodiscard]] std::string roffVerbatim(std::string_view text);

}  // namespace kelpo::app
