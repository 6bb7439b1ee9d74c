#include <iostream>
#include <string>
#include <vector>

#include "tools/check/disc_check.h"

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  return RunChecker(arguments, std::cout, std::cerr);
}
