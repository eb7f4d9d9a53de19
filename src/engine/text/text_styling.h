#pragma once

// Turns the runs of a Text into what the text measurer and the renderer
// read: phrases localised, text case applied, fonts and paints resolved.

#include <string>
#include <string_view>
#include <vector>

#include "engine/text/text_layout.h"
#include "engine/views/environment.h"
#include "engine/views/text_environment.h"
#include "engine/views/view.h"

namespace kelpo::ui {

// Each run's own font, weight and paint win over the inherited ones.
[[nodiscard]] StyledText styleText(const std::vector<Text::Run>& runs, const TextEnvironment& style,
                                   const Environment& environment);

// The runs' words as spoken: localised and joined, with no text case.
[[nodiscard]] std::string plainText(const std::vector<Text::Run>& runs,
                                    const Environment& environment);

// Upper or lower case by the rules of the ICU locale `locale`.
[[nodiscard]] std::string applyTextCase(std::string_view text, TextCase textCase,
                                        const std::string& locale);

}  // namespace kelpo::ui
