#include <iostream>
#include <string>
#include <vector>

#include "tools/pack/disc_pack.h"

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  return RunPacker(arguments, TAMO_PACK_PROGRAM, std::cout, std::cerr);
}
