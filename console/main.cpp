// scrutinette: the console version of Lintaro.
#include <iostream>
#include <string>
#include <vector>

#include "console/Scrutinette.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  const std::vector<std::string> args(argv + 1, argv + argc);
  return lintaro::runScrutinette(args, std::cout, std::cerr);
}
