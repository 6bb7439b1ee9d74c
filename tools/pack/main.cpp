#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "tools/pack/disc_pack.h"

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  // Caught here, so that the stack unwinds and takes every temporary file with it.
  try {
    return RunPacker(arguments, TAMO_PACK_PROGRAM, std::cout, std::cerr);
  } catch (const std::exception& exception) {
    std::cerr << "tamo_pack: error: " << exception.what() << "\nnothing written\n";
    return 2;
  }
}
