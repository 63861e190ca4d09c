#pragma once
// Runs the zadeve tool in-process and keeps what it printed; where the tool's tests find the
// examples and their goldens (ZADEVE_UPDATE_GOLDEN=1 rewrites a golden: read the diff).

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "support/in_directory.h"
#include "support/temp_dir.h"

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

using support::InDirectory;

inline std::filesystem::path sourceRoot() { return std::filesystem::path(ZADEVE_TEST_DATA).parent_path().parent_path(); }
inline std::string exampleIni() { return (sourceRoot() / "examples" / "BARS.INI").string(); }
inline bool oneLine(const std::string& text) { return !text.empty() && text.find('\n') == text.size() - 1; }

inline void expectGolden(const std::string& actual, const std::string& name) {
  const std::string path = std::string(ZADEVE_TEST_DATA) + "/golden/" + name;
  if (const char* update = std::getenv("ZADEVE_UPDATE_GOLDEN"); update && *update == '1') {
    std::ofstream(path, std::ios::binary) << actual;
    return;
  }
  ASSERT_TRUE(std::filesystem::exists(path)) << path << " is missing; run with ZADEVE_UPDATE_GOLDEN=1";
  EXPECT_EQ(actual, support::TempDir::read(path)) << "golden " << name;
}

}  // namespace zadeve::cli
