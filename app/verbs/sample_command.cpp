// kelpo-widget sample: the built-in sample record, written as the host
// application writes widget.json; a starting point for hand-made snapshots.

#include <iostream>
#include <memory>

#include "command/common_options.h"
#include "command/verbs.h"
#include "snapshot/snapshot_json.h"
#include "timeline/sample_snapshot.h"

namespace kelpo::app {
namespace {

int runSample(const CommonOptions& options) {
  const CommandContext context = resolveContext(options);
  std::cout << encodeSnapshot(sampleSnapshot(context.clock->now(), context.calendar));
  return 0;
}

}  // namespace

Verb addSampleVerb(CLI::App& parent) {
  auto options = std::make_shared<CommonOptions>();
  CLI::App& verb =
      addVerbCommand(parent, "sample", "Print the built-in sample record in the widget.json form");
  addCommonOptions(verb, *options);
  return Verb{&verb, [options] { return runSample(*options); }};
}

}  // namespace kelpo::app
