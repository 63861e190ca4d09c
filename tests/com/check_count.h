#pragma once
// The compiled Wine checks report each failed expectation on a line of its own and exit
// with the number of failures.

#include <cstdio>
#include <string>

inline int failures = 0;

inline void check(bool ok, const std::string& what) {
  if (ok) return;
  ++failures;
  std::printf("FAILED: %s\n", what.c_str());
}
