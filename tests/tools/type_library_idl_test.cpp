// The IDL the cross build compiles is written from the member tables at build time; the
// checked-in copy makes every change of the COM face visible in review. Regenerate with
//   build/release/zadeve_idl tests/data/golden/zadeve.idl

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "type_library_idl.h"

TEST(TypeLibraryIdl, MatchesTheCheckedInCopy) {
  std::ifstream in(ZADEVE_TEST_DATA "/golden/zadeve.idl", std::ios::binary);
  std::ostringstream golden;
  golden << in.rdbuf();
  ASSERT_FALSE(golden.str().empty()) << "no golden copy";
  EXPECT_EQ(zadeve::tools::typeLibraryIdl(), golden.str());
}
