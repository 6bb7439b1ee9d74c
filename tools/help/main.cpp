#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "tools/help/help_compiler.h"

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  // Caught here, so that the stack unwinds and takes every temporary file with it.
  try {
    return RunHelpCompiler(arguments, "chmcmd", std::cout, std::cerr);
  } catch (const std::exception& exception) {
    std::cerr << "tamo_help: error: " << exception.what() << "\n";
    return 2;
  }
}
