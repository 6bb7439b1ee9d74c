#pragma once

#include <cctype>
#include <string>

// Names each case of a parameterised test after its `name` field, with every character GoogleTest does not
// accept in a test name made an underscore: INSTANTIATE_TEST_SUITE_P(Cases, Suite, ValuesIn(cases),
// CaseName()).
struct CaseName {
  template <class Info>
  std::string operator()(const Info& info) const {
    std::string name;
    for (const char c : std::string(info.param.name))
      name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
  }
};
