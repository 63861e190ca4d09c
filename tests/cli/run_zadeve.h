#pragma once
// Runs the zadeve tool in-process and keeps what it printed.

#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"

namespace zadeve::cli {

struct Result {
  int status;
  std::string out, err;
};

inline Result zadeve(std::vector<std::string> args) {
  args.insert(args.begin(), "zadeve");
  std::ostringstream out, err;
  int status = run(args, out, err);
  return {status, out.str(), err.str()};
}

}  // namespace zadeve::cli
