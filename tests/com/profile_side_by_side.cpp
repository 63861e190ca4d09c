// The library's profile functions beside the system's, under Wine: every case runs once
// through GetPrivateProfileStringA / WritePrivateProfileStringA on one copy of a file and
// once through the registered DLL's GetConfigValue / SetConfigValue / ClearConfigSection,
// late-bound as a script host calls them (strings in the ANSI code page), on another copy;
// results and files must agree. Prints each disagreement; the exit code is their number.

#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "automation/conversions.h"
#include "automation/dispatch.h"
#include "com/bridge.h"
#include "check_count.h"

// After our headers: they name the system's constants that windows.h makes macros of.
#include <windows.h>

using namespace zadeve;
using automation::Variant;

namespace {

std::string visible(const std::string& text) {
  std::string out;
  for (char c : text) out += c == '\r' ? "\\r" : c == '\n' ? "\\n" : c == '\0' ? "\\0" : std::string(1, c);
  return out;
}

void writeFile(const std::string& path, const std::optional<std::string>& bytes) {
  DeleteFileA(path.c_str());
  if (bytes) std::ofstream(path, std::ios::binary) << *bytes;
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return "<no file>";
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

struct ReadCase {
  const char* what;
  std::optional<std::string> file;  // nullopt: no file
  std::string section, key, def;
};

struct WriteCase {
  const char* what;
  std::optional<std::string> file;
  std::string section;
  std::optional<std::string> key, value;  // no key: the section goes (ClearConfigSection)
};

const std::string kLongValue(300, 'x');
const std::string k255(255, 'y');

// Left out on purpose, where the library decides otherwise: it returns a default's quotes
// as given, keeps the blank lines around what it writes and a value's leading blanks,
// which Wine's writer drops.
const ReadCase kReads[] = {
    {"plain value", "[s]\r\nk=v\r\n", "s", "k", "d"},
    {"names ignore case", "[Sect]\r\nKey=v\r\n", "sECT", "kEY", "d"},
    {"caller's names trimmed", "[s]\r\nk=v\r\n", " s\t", "\tk ", "d"},
    {"value trimmed, inner spaces kept", "[s]\r\nk =  a  b \t\r\n", "s", "k", "d"},
    {"LF, CR and CRLF line ends", "[s]\na=1\rb=2\r\nc=3", "s", "b", "d"},
    {"last line without a line end", "[s]\r\nk=last", "s", "k", "d"},
    {"leading blanks before a header", "  [s]\r\n\tk=v\r\n", "s", "k", "d"},
    {"header name up to the last ]", "[a]b] ; c\r\nk=v\r\n", "a]b", "k", "d"},
    {"[ without ] is no header", "[s]\r\n[t\r\nk=v\r\n", "s", "k", "d"},
    {"no inline comments", "[s]\r\nk=v ; x\r\n", "s", "k", "d"},
    {"# is no comment", "[s]\r\n#c=v\r\n", "s", "#c", "d"},
    {"a line without = is no key", "[s]\r\nk\r\n", "s", "k", "d"},
    {"empty value is not the default", "[s]\r\nk=  \r\n", "s", "k", "d"},
    {"outer quotes go", "[s]\r\nk=\" a \"\r\n", "s", "k", "d"},
    {"only the outer pair goes", "[s]\r\nk=\"a\"b\"\r\n", "s", "k", "d"},
    {"single quotes go", "[s]\r\nk='a'\r\n", "s", "k", "d"},
    {"mismatched quotes stay", "[s]\r\nk=\"a'\r\n", "s", "k", "d"},
    {"a lone quote stays", "[s]\r\nk=\"\r\n", "s", "k", "d"},
    {"first duplicate key wins", "[s]\r\nk=1\r\nk=2\r\n", "s", "k", "d"},
    {"only the first duplicate section", "[s]\r\na=1\r\n[S]\r\nb=2\r\n", "s", "b", "d"},
    {"no prefix match", "[section]\r\nkey=v\r\n", "sect", "key", "d"},
    {"value cut to 255", "[s]\r\nk=" + kLongValue + "\r\n", "s", "k", "d"},
    {"value of exactly 255", "[s]\r\nk=" + k255 + "\r\n", "s", "k", "d"},
    {"bytes above 127 unchanged", "[s]\r\nk=\xe9\xfc\r\n", "s", "k", "d"},
    {"missing key gives the default", "[s]\r\nk=v\r\n", "s", "other", "dflt"},
    {"missing section", "[s]\r\nk=v\r\n", "t", "k", "dflt"},
    {"missing file", std::nullopt, "s", "k", "dflt"},
    {"default's trailing spaces go", "[s]\r\n", "s", "k", "  d  "},
    {"long default cut", "[s]\r\n", "s", "k", kLongValue},
    {"value looking like a header", "[s]\r\nk=[t]\r\n", "s", "k", "d"},
    {"key before any header", "k=v\r\n[s]\r\nk=w\r\n", "s", "k", "d"},
};

const WriteCase kWrites[] = {
    {"creates a missing file", std::nullopt, "s", "k", "v"},
    {"replaces a value in place", "[s]\r\na=1\r\nk=old\r\nb=2\r\n", "S", "K", "new"},
    {"appends a key after the section's last key", "[s]\r\na=1\r\n[t]\r\nb=2\r\n", "s", "k", "v"},
    {"appends a new section at the end", "[s]\r\na=1\r\n", "t", "k", "v"},
    {"empty value written as key=", "[s]\r\n", "s", "k", ""},
    {"value written verbatim", "[s]\r\n", "s", "k", "\"q\" ; x "},
    {"same value, file unchanged", "[s]\r\nk=v\r\n", "s", "k", "v"},
    {"writes go to the first duplicate", "[s]\r\nk=1\r\n[s]\r\nk=2\r\n", "s", "k", "3"},
    {"clears a section", "[s]\r\na=1\r\n[t]\r\nb=2\r\n", "s", std::nullopt, std::nullopt},
    {"clears a missing section", "[s]\r\na=1\r\n", "x", std::nullopt, std::nullopt},
    {"clears in a missing file", std::nullopt, "s", std::nullopt, std::nullopt},
    {"clears the first duplicate", "[s]\r\na=1\r\n[s]\r\na=2\r\n", "S", std::nullopt, std::nullopt},
};

void expectSame(const char* what, const std::string& part, const std::string& system, const std::string& ours) {
  check(system == ours, std::string(what) + ": " + part + ": system \"" + visible(system) + "\", library \"" +
                            visible(ours) + "\"");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::printf("usage: profile_side_by_side SCRATCH_FOLDER\n");
    return 2;
  }
  const std::string folder = argv[1];
  const std::string systemFile = folder + "\\system.ini", libraryFile = folder + "\\library.ini";
  CoInitialize(nullptr);
  {
    CLSID clsid;
    IDispatch* dispatch = nullptr;
    if (FAILED(CLSIDFromProgID(L"ZADEVE.ZuzuzudLibrary", &clsid)) ||
        FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, reinterpret_cast<void**>(&dispatch)))) {
      std::printf("FAILED: ZADEVE.ZuzuzudLibrary could not be created\n");
      return 1;
    }
    const automation::ObjectRef library = com::fromDispatch(dispatch);
    dispatch->Release();
    automation::letProperty(*library, "BarsConfigFile", Variant(libraryFile));
    for (const auto& c : kReads) {
      writeFile(systemFile, c.file);
      writeFile(libraryFile, c.file);
      char buffer[256];
      const DWORD length =
          GetPrivateProfileStringA(c.section.c_str(), c.key.c_str(), c.def.c_str(), buffer, 256, systemFile.c_str());
      try {
        expectSame(c.what, "value", std::string(buffer, length),
                   automation::toString(automation::callMethod(*library, "GetConfigValue", {c.section, c.key, c.def})));
      } catch (const automation::AutomationError& e) {
        check(false, std::string(c.what) + ": GetConfigValue raised " + e.what());
      }
    }
    for (const auto& c : kWrites) {
      writeFile(systemFile, c.file);
      writeFile(libraryFile, c.file);
      const bool systemOk = WritePrivateProfileStringA(c.section.c_str(), c.key ? c.key->c_str() : nullptr,
                                                       c.value ? c.value->c_str() : nullptr, systemFile.c_str());
      try {
        const Variant ours = c.key ? automation::callMethod(*library, "SetConfigValue", {c.section, *c.key, *c.value})
                                   : automation::callMethod(*library, "ClearConfigSection", {c.section});
        expectSame(c.what, "success", systemOk ? "yes" : "no", automation::toLong(ours) != 0 ? "yes" : "no");
      } catch (const automation::AutomationError& e) {
        check(false, std::string(c.what) + ": the library raised " + e.what());
      }
      expectSame(c.what, "file", readFile(systemFile), readFile(libraryFile));
    }
  }
  CoUninitialize();
  std::printf("%zu cases, %d disagreements\n", std::size(kReads) + std::size(kWrites), failures);
  if (failures == 0) std::printf("ALL OK\n");
  return failures;
}
