#pragma once

#include <filesystem>

namespace kelpo {

// The widget's own resources (mascot pictures, phrase tables, fonts):
// KELPO_RESOURCE_DIR from the process environment when set and non-empty,
// else the directory fixed at build time. Read on every call, so tests and
// packaged installs can point elsewhere without a rebuild.
[[nodiscard]] std::filesystem::path widgetResourceDirectory();

}  // namespace kelpo
