#include <iostream>
#include <string>
#include <vector>

#include "tools/help/help_compiler.h"

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  return RunHelpCompiler(arguments, "chmcmd", std::cout, std::cerr);
}
