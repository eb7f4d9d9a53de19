#include "platform/resource_directory.h"

#include <cstdlib>

namespace kelpo {

std::filesystem::path widgetResourceDirectory() {
  if (const char* fromEnvironment = std::getenv("KELPO_RESOURCE_DIR");
      fromEnvironment != nullptr && *fromEnvironment != '\0') {
    return fromEnvironment;
  }
  return KELPO_RESOURCE_DIR;
}

}  // namespace kelpo
