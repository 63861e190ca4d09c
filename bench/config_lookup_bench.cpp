// Cached profile lookups against the baseline that opens and parses the file for every
// lookup. Both run 10,000 lookups (three of four keys exist) in a 2,000-line file.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "automation/conversions.h"
#include "core/zuzuzud_library.h"
#include "platform/profile.h"
#include "platform/profile_cache.h"
#include "platform/profile_file_system.h"
#include "platform/profile_reader.h"

namespace {

namespace fs = std::filesystem;
using namespace zadeve::platform;

constexpr int kSections = 100;
constexpr int kKeysPerSection = 19;  // plus the header: 2,000 lines
constexpr int kLookups = 10'000;

struct Lookup {
  std::string section;
  std::string key;
};

std::string makeIni() {
  std::string text;
  for (int s = 0; s < kSections; ++s) {
    text += "[Toolbar.Bar" + std::to_string(s) + "]\r\n";
    for (int k = 0; k < kKeysPerSection; ++k) {
      text += "Button" + std::to_string(k) + "=Function" + std::to_string(s * 100 + k) + ",16,16\r\n";
    }
  }
  return text;
}

std::vector<Lookup> makeLookups() {
  std::vector<Lookup> lookups;
  lookups.reserve(kLookups);
  for (int i = 0; i < kLookups; ++i) {
    const int section = (i * 37) % kSections;
    const int key = (i * 7) % kKeysPerSection;
    switch (i % 4) {
      case 0: lookups.push_back({"Toolbar.Bar" + std::to_string(section), "Missing" + std::to_string(key)}); break;
      default: lookups.push_back({"toolbar.bar" + std::to_string(section), "BUTTON" + std::to_string(key)}); break;
    }
    if (i % 40 == 0) lookups.back().section = "Toolbar.Absent" + std::to_string(section);
  }
  return lookups;
}

struct BenchFile {
  std::string path;
  std::vector<Lookup> lookups = makeLookups();

  BenchFile() {
    std::string folder = (fs::temp_directory_path() / "zadeve_bench_XXXXXX").string();
    if (::mkdtemp(folder.data()) == nullptr) std::abort();
    path = folder + "/bars.ini";
    std::ofstream(path, std::ios::binary) << makeIni();
    // A file written a moment ago is re-verified on every read; measure the usual case, a
    // configuration file that has not been touched for a while.
    std::this_thread::sleep_for(std::chrono::nanoseconds(ProfileCache::kRacyWindowNs) +
                                std::chrono::milliseconds(200));
  }
  ~BenchFile() {
    std::error_code ignored;
    fs::remove_all(fs::path(path).parent_path(), ignored);
  }
};

BenchFile& benchFile() {
  static BenchFile file;
  return file;
}

template <typename Read>
void runLookups(benchmark::State& state, Read read) {
  const BenchFile& file = benchFile();
  for (const Lookup& l : file.lookups) {
    if (read(l.section, l.key, "!NONE", file.path) != readProfileStringUncached(l.section, l.key, "!NONE", file.path)) {
      state.SkipWithError("cached and uncached reads disagree");
      return;
    }
  }
  for (auto _ : state) {
    for (const Lookup& l : file.lookups) {
      benchmark::DoNotOptimize(read(l.section, l.key, "!NONE", file.path));
    }
  }
  state.counters["per_lookup"] = benchmark::Counter(
      kLookups, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

std::string cached(const std::string& s, const std::string& k, const char* d, const std::string& p) {
  return readProfileString(s, k, d, p);
}

std::string uncached(const std::string& s, const std::string& k, const char* d, const std::string& p) {
  return readProfileStringUncached(s, k, d, p);
}

void BM_CachedLookup(benchmark::State& state) { runLookups(state, cached); }

// The same lookups as a host makes them: GetConfigValue of a library object.
void BM_GetConfigValue(benchmark::State& state) {
  auto lib = zadeve::automation::makeObject<zadeve::core::ZuzuzudLibrary>();
  lib->BarsConfigFile(benchFile().path);
  runLookups(state, [&](const std::string& s, const std::string& k, const char* d, const std::string&) {
    return zadeve::automation::toString(lib->GetConfigValue(s, k, d));
  });
}
void BM_ParseEveryLookup(benchmark::State& state) { runLookups(state, uncached); }

// The same lookups made inside one call of the library, as KaTSetup makes them: the file
// was checked at the call's first lookup.
void BM_GetConfigValueInsideACall(benchmark::State& state) {
  auto lib = zadeve::automation::makeObject<zadeve::core::ZuzuzudLibrary>();
  lib->BarsConfigFile(benchFile().path);
  ProfileCallScope call;
  runLookups(state, [&](const std::string& s, const std::string& k, const char* d, const std::string&) {
    return zadeve::automation::toString(lib->GetConfigValue(s, k, d));
  });
}

// The cost while the file is still inside the racy window: every lookup re-reads and
// compares the bytes (but does not parse again).
void BM_CachedLookupFreshFile(benchmark::State& state) {
  const BenchFile& file = benchFile();
  const std::string text = makeIni();
  for (auto _ : state) {
    state.PauseTiming();
    std::ofstream(file.path, std::ios::binary) << text;
    state.ResumeTiming();
    for (const Lookup& l : file.lookups) {
      benchmark::DoNotOptimize(readProfileString(l.section, l.key, "!NONE", file.path));
    }
  }
  state.counters["per_lookup"] = benchmark::Counter(
      kLookups, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// The floor for any read that checks the file every time: one stat per lookup, nothing else.
void BM_StatOnlyFloor(benchmark::State& state) {
  const BenchFile& file = benchFile();
  FileSystem& fs = profileFileSystem();
  FileStat stat;
  for (auto _ : state) {
    for (std::size_t i = 0; i < file.lookups.size(); ++i) benchmark::DoNotOptimize(fs.stat(file.path, stat));
  }
  state.counters["per_lookup"] = benchmark::Counter(
      kLookups, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

BENCHMARK(BM_CachedLookup)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GetConfigValue)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GetConfigValueInsideACall)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseEveryLookup)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CachedLookupFreshFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StatOnlyFloor)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
