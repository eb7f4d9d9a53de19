#pragma once

#include <string>

namespace kelpo::testing_support {

// Names the instances of a parameterised test after their cases' `name`
// fields, so that a failure reads "Rejections/Fraction" instead of ".../3".
struct CaseName {
  template <typename ParamInfo>
  std::string operator()(const ParamInfo& info) const {
    return std::string(info.param.name);
  }
};

}  // namespace kelpo::testing_support
