#include <iostream>

#include "cli/cli.h"

int main(int argc, char** argv) {
  return zadeve::cli::run(std::vector<std::string>(argv, argv + argc), std::cout, std::cerr);
}
