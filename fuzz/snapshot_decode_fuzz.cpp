// Feeds arbitrary bytes to the snapshot decoder. Whatever decodes must encode
// to a document that decodes to the same record, in both output forms.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "snapshot/snapshot_json.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const auto decoded = kelpo::decodeSnapshot(input);
  if (!decoded.ok()) {
    if (decoded.error().describe().empty()) std::abort();
    return 0;
  }
  for (const bool pretty : {true, false}) {
    const auto again = kelpo::decodeSnapshot(kelpo::encodeSnapshot(decoded.value(), pretty));
    if (!again.ok() || !(again.value() == decoded.value())) std::abort();
  }
  return 0;
}
