#include "components/text_catalog.h"

#include <gtest/gtest.h>

#include "automation/dispatch.h"
#include "support/automation_assert.h"
#include "support/temp_dir.h"

namespace zadeve::components {
namespace {

using namespace automation;

const std::string SampleFile = std::string(ZADEVE_TEST_DATA) + "/components/de.po";

TEST(TextCatalog, SampleFileTranslatesOnlyUsableEntries) {
  TextCatalog catalog;
  EXPECT_EQ(catalog.Translate("Zoom in"), "Zoom in");  // nothing loaded yet
  catalog.LoadLanguageFile(SampleFile);
  for (const auto& c : std::initializer_list<std::pair<const char*, const char*>>{
           {"Zoom in", "Vergr\xF6\xDF" "ern"},  // octal escapes, bytes kept
           {"Toolbar setup error - missing^nfunction: ^1.",
            "Fehler beim Aufbau der Werkzeugleiste - es fehlt^ndie Funktion: ^1."},
           {"Zoom out", "Zoom out"},  // fuzzy
           {"Pan", "Pan"},            // empty msgstr
           {"Open", "Open"},          // only in contexts
           {"one bar", "one bar"},    // plural entry
           {"Old text", "Old text"},  // obsolete
           {"", ""},                  // the header is no translation
           {"zoom in", "zoom in"},    // lookup is exact
       })
    EXPECT_EQ(catalog.Translate(c.first), c.second) << c.first;
  EXPECT_EQ(catalog.translateInContext("menu", "Open"), "\xD6" "ffnen...");
  EXPECT_EQ(catalog.translateInContext("toolbar", "Open"), "Auf");  // same msgid, no duplicate
  EXPECT_EQ(catalog.translateInContext("status", "Open"), "Open");
}

TEST(TextCatalog, ReadsStringsEscapesFlagsAndLineEnds) {
  support::TempDir dir;
  TextCatalog catalog;
  catalog.LoadLanguageFile(dir.write(
      "x.po",
      "\xEF\xBB\xBFmsgid \"a\"\r\nmsgstr \"tab\\there\\nquote\\\" slash\\\\ hex\\x41 oct\\101\"\r\n\r\n"
      "  msgid \"\"\n  \"split \" \"key\"\nmsgstr \"one\"\n\t\"two\"\n"
      "#, c-format, fuzzy\nmsgid \"f\"\nmsgstr \"F\"\n#, c-format\nmsgid \"g\"\nmsgstr \"G\""));  // no last line end
  EXPECT_EQ(catalog.Translate("a"), "tab\there\nquote\" slash\\ hexA octA");
  EXPECT_EQ(catalog.Translate("split key"), "onetwo");
  EXPECT_EQ(catalog.Translate("f"), "f");
  EXPECT_EQ(catalog.Translate("g"), "G");
}

TEST(TextCatalog, EachLoadReplacesTheLastAndAFailedOneKeepsIt) {
  support::TempDir dir;
  TextCatalog catalog;
  catalog.LoadLanguageFile(dir.write("1.po", "msgid \"a\"\nmsgstr \"A1\"\nmsgid \"b\"\nmsgstr \"B1\"\n"));
  catalog.LoadLanguageFile(dir.write("2.po", "msgid \"a\"\nmsgstr \"A2\"\n"));
  EXPECT_ANY_THROW(catalog.LoadLanguageFile(dir.write("bad.po", "msgid \"c\"\nmsgstr \"C\"\nmsgid \"d\n")));
  EXPECT_EQ(catalog.Translate("a"), "A2");
  EXPECT_EQ(catalog.Translate("b"), "b");
  EXPECT_EQ(catalog.Translate("c"), "c");
}

TEST(TextCatalog, MissingFileRaises53AndUnreadablePathRaises75NamingThem) {
  support::TempDir dir;
  TextCatalog catalog;
  const std::string missing = dir.file("nl.po");
  EXPECT_AUTOMATION_ERROR(catalog.LoadLanguageFile(missing), err::FileNotFound,
                          "File not found: '" + missing + "'");
  EXPECT_AUTOMATION_ERROR(catalog.LoadLanguageFile(dir.path().string()), PathFileAccessError,
                          "Path/File access error: '" + dir.path().string() + "'");
}

TEST(TextCatalog, MalformedFileRaises321NamingFileAndLine) {
  const struct { const char* content; int line; const char* problem; } cases[] = {
      {"msgid \"a\"\nmsgstr \"A\n", 2, "unterminated string"},
      {"msgid \"a\\", 1, "unterminated string"},
      {"msgid \"a\\q\"\nmsgstr \"\"\n", 1, "unknown escape sequence '\\q'"},
      {"msgid \"\\xg\"\nmsgstr \"\"\n", 1, "\\x without hex digits"},
      {"msgid\nmsgstr \"\"\n", 1, "expected a quoted string after msgid"},
      {"msgid \"a\" b\nmsgstr \"\"\n", 1, "unexpected text after the closing quote"},
      {"msgid \"a\"\nmsgstring \"A\"\n", 2, "unknown keyword 'msgstring'"},
      {"msgid[0] \"a\"\nmsgstr \"A\"\n", 1, "unknown keyword 'msgid[0]'"},
      {"msgid \"a\"\nmsgstr \"A\"\n\x01\x02\xFF\xFE garbage", 3, "unexpected text"},
      {"msgid \"a\"\nmsgstr \"A\"\n\n\"more\"\n", 4, "a string outside an entry"},
      {"msgstr \"A\"\n", 1, "msgstr without msgid"},
      {"msgid \"a\"\n\nmsgid \"b\"\nmsgstr \"B\"\n", 3, "the entry on line 1 has no msgstr"},
      {"msgid \"a\"\nmsgstr \"A\"\n\nmsgid \"b\"\n\n# end\n", 4, "the entry has no msgstr"},
      {"msgid \"a\"\nmsgstr \"A\"\nmsgstr \"B\"\n", 3, "msgstr given twice"},
      {"msgid_plural \"as\"\n", 1, "msgid_plural without msgid"},
      {"msgid \"a\"\nmsgid_plural \"as\"\nmsgstr \"A\"\n", 3, "a plural entry needs msgstr[0]"},
      {"msgid \"a\"\nmsgstr[0] \"A\"\n", 2, "msgstr[0] without msgid_plural"},
      {"msgid \"a\"\nmsgid_plural \"as\"\nmsgstr[1] \"A\"\n", 3, "msgstr[1] out of order, expected msgstr[0]"},
      {"msgid \"a\"\nmsgid_plural \"as\"\nmsgstr[x] \"A\"\n", 3, "bad plural form index"},
      {"msgid \"a\"\nmsgid_plural \"as\"\nmsgstr[0 \"A\"\n", 3, "missing ']' after msgstr"},
      {"msgid \"a\"\nmsgstr \"A\"\n\nmsgid \"b\"\nmsgstr \"B\"\n\nmsgid \"a\"\nmsgstr \"C\"\n", 7,
       "msgid \"a\" is given twice"},
  };
  support::TempDir dir;
  TextCatalog catalog;
  for (const auto& c : cases) {
    const std::string path = dir.write("bad.po", c.content);
    const std::string where = "'" + path + "', line " + std::to_string(c.line) + ": ";
    EXPECT_AUTOMATION_ERROR(catalog.LoadLanguageFile(path), InvalidFileFormat, where + c.problem);
  }
}

TEST(TextCatalog, LateBoundLoadAndTranslate) {
  auto catalog = makeObject<TextCatalog>();
  callMethod(*catalog, "LoadLanguageFile", {Arg(SampleFile)});
  Variant option = int32_t{7};  // reserved: accepted and ignored
  EXPECT_EQ(callMethod(*catalog, "translate", {Arg("Zoom in"), byRef(option)}), Variant("Vergr\xF6\xDF" "ern"));
  EXPECT_EQ(callMethod(*catalog, "Translate", {Arg("Pan")}), Variant("Pan"));
}

}  // namespace
}  // namespace zadeve::components
