// Whole-file behaviour against checked-in files: each tests/data/profile/<case>.script runs
// its reads and writes on a copy of <case>.before.ini; the transcript must equal
// <case>.expected.txt and the file must end up as <case>.after.ini. Run with
// ZADEVE_UPDATE_GOLDEN=1 to rewrite the expected files, then review the diff.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/profile.h"

namespace zadeve::platform {
namespace {

namespace fs = std::filesystem;

const fs::path dataFolder = fs::path(ZADEVE_TEST_DATA) / "profile";

std::string slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

std::vector<std::string> fields(const std::string& line) {
  std::vector<std::string> out;
  std::size_t start = 0;
  for (std::size_t bar; (bar = line.find('|', start)) != std::string::npos; start = bar + 1) {
    out.push_back(line.substr(start, bar - start));
  }
  out.push_back(line.substr(start));
  return out;
}

std::optional<std::string_view> orNull(const std::string& field) {
  if (field == "~") return std::nullopt;
  return field;
}

std::string runScript(const fs::path& script, const std::string& path) {
  std::istringstream lines(slurp(script));
  std::ostringstream transcript;
  for (std::string line; std::getline(lines, line);) {
    if (line.empty() || line[0] == '#') continue;
    const auto f = fields(line);
    if (f.size() != 4) {
      transcript << "bad script line: " << line << "\n";
    } else if (f[0] == "read") {
      transcript << line << " -> \"" << readProfileString(f[1], f[2], f[3], path) << "\"\n";
    } else {
      const bool ok = writeProfileString(orNull(f[1]), orNull(f[2]), orNull(f[3]), path);
      transcript << line << " -> " << (ok ? "true" : "false") << "\n";
    }
  }
  return transcript.str();
}

void checkOrUpdate(const fs::path& expectedFile, const std::string& actual) {
  if (std::getenv("ZADEVE_UPDATE_GOLDEN") != nullptr) {
    std::ofstream(expectedFile, std::ios::binary) << actual;
    return;
  }
  EXPECT_EQ(actual, slurp(expectedFile)) << "differs from " << expectedFile;
}

TEST(ProfileGolden, ScriptsProduceTheExpectedTranscriptAndFile) {
  int cases = 0;
  for (const auto& entry : fs::directory_iterator(dataFolder)) {
    if (entry.path().extension() != ".script") continue;
    ++cases;
    const std::string name = entry.path().stem().string();
    SCOPED_TRACE(name);
    std::string pattern = (fs::temp_directory_path() / "zadeve_golden_XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    const fs::path work = pattern;
    const std::string path = (work / "case.ini").string();
    fs::copy_file(dataFolder / (name + ".before.ini"), path, fs::copy_options::overwrite_existing);

    checkOrUpdate(dataFolder / (name + ".expected.txt"), runScript(entry.path(), path));
    checkOrUpdate(dataFolder / (name + ".after.ini"), slurp(path));
    fs::remove_all(work);
  }
  EXPECT_GT(cases, 0) << "no scripts in " << dataFolder;
}

}  // namespace
}  // namespace zadeve::platform
