#include <iostream>

#include "cli/cli.h"
#include "platform/thread_apartment.h"

int main(int argc, char** argv) {
  const zadeve::platform::ThreadApartment apartment;
  return zadeve::cli::run(std::vector<std::string>(argv, argv + argc), std::cout, std::cerr);
}
