#pragma once
// Where the tool's tests find the examples and their goldens, and the golden comparison:
// ZADEVE_UPDATE_GOLDEN=1 rewrites a golden after a deliberate change (read the diff).

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/temp_dir.h"

namespace zadeve::cli {

inline std::filesystem::path sourceRoot() { return std::filesystem::path(ZADEVE_TEST_DATA).parent_path().parent_path(); }
inline std::string exampleIni() { return (sourceRoot() / "examples" / "BARS.INI").string(); }

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
