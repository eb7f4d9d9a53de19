#pragma once

#include <stdexcept>

namespace kelpo::app {

// A problem the user can fix (a bad option value, an unreadable file). The
// message says what is wrong; main prints it on stderr and exits non-zero.
class CommandError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace kelpo::app
