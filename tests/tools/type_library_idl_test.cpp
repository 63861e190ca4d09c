// The IDL the cross build compiles is written from the member tables at build time; the
// checked-in copy makes every change of the COM face visible in review. Regenerate with
//   build/release/zadeve_idl tests/data/golden/zadeve.idl

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "type_library_idl.h"

namespace {

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

TEST(TypeLibraryIdl, MatchesTheCheckedInCopy) {
  const std::string golden = readFile(ZADEVE_TEST_DATA "/golden/zadeve.idl");
  ASSERT_FALSE(golden.empty()) << "no golden copy";
  EXPECT_EQ(zadeve::tools::typeLibraryIdl(), golden);
}

// What a script host relies on, independently of the copy: dispatch identifiers are the
// slots, by-reference parameters are pointers, and the three classes carry their marks.
TEST(TypeLibraryIdl, DescribesTheInterfacesAsHostsUseThem) {
  const std::string idl = zadeve::tools::typeLibraryIdl();
  for (const char* line : {
           "[id(29)] HRESULT GetConfigValue([in, out] BSTR* section, [in, out] BSTR* item, [in, out] BSTR* def, "
           "[out, retval] VARIANT* result);",
           "[id(21)] HRESULT SetConfigValue([in] BSTR section, [in] BSTR Key, [in] BSTR Value, [out, retval] VARIANT* "
           "result);",
           "[id(4), propputref] HRESULT ShellApplicationObject([in] IDispatch* ShellApp);",
           "[id(14)] HRESULT KaTLayout([in, out] IDispatch** frm, [in, out] short* vl, [in, out] short* vt, [in, out] "
           "short* vr, [in, out] short* VB);",
           "[id(8)] HRESULT KaTBuildBar([in, out] IDispatch** tb, [in, out] BSTR* barName, [in, out, optional, "
           "defaultvalue(0)] VARIANT_BOOL* isPalette);",
           "[id(1)] HRESULT NewZuzuzudWorkspace([out, retval] _ZuzuzudWorkspace** result);",
           "[id(34)] HRESULT GetConfigValue(",  // the workspace's proxy, five slots later
           "appobject\n  ]\n  coclass ZuzuzudLibrary",
           "noncreatable\n  ]\n  coclass ZuzuzudWorkspace",
           "appobject\n  ]\n  coclass WorkspaceCreation",
           "    BF_ON = 128\n",
           "    KAT_COMBO = 40\n",
       })
    EXPECT_NE(idl.find(line), std::string::npos) << line;
}

}  // namespace
