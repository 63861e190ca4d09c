#include <gtest/gtest.h>

#include <vector>

#include "automation/dispatch.h"
#include "components/argument_formatter.h"
#include "components/string_tokenizer.h"
#include "components/text_catalog.h"
#include "support/automation_assert.h"
#include "support/fake_object.h"
#include "support/temp_dir.h"

namespace zadeve::components {
namespace {

using namespace automation;

TEST(ArgumentFormatter, FillsTheTemplate) {
  // An object shows its default value, or its class name when it has none.
  auto error = makeObject<support::FakeObject>("ErrObject");
  error->on("", [](support::FakeObject&, std::span<Arg>) { return Variant(int32_t{5}); });
  const std::vector<Variant> nine{"1", "2", "3", "4", "5", "6", "7", "8", "nine"};
  const struct {
    const char* text;
    std::vector<Variant> args;
    std::string expected;
  } cases[] = {
      {"^2^1^2-^9", nine, "212-nine"},
      {"a^nb^Nc", {}, "a\r\nb\r\nc"},
      {"Button^1/^2/^3", {Variant(int16_t{7}), Variant(2.5f), Variant(true)}, "Button7/2.5/True"},
      {"[^1^2^3]", {Variant(), Variant::missing()}, "[]"},  // empty, omitted, not given
      {"^1,^2", {Variant::null(), Variant::nothing()}, "Null,Nothing"},
      {"'^1' '^2'", {Variant(error), Variant(makeObject<support::FakeObject>("Bar"))}, "'5' '[Bar]'"},
      {"^0^x 50^", {"a"}, "^0^x 50^"},
      {"^^1 is ^1, ^^^1", {"a"}, "^1 is a, ^a"},
      {"^1", {"^2^n"}, "^2^n"},  // inserted text is not scanned again
  };
  for (const auto& c : cases) EXPECT_EQ(ArgumentFormatter().SubstituteArguments(c.text, c.args), c.expected) << c.text;
  auto formatter = makeObject<ArgumentFormatter>();  // late bound: the arguments in order
  EXPECT_EQ(callMethod(*formatter, "SubstituteArguments", {Arg("<^1^2^3>"), Arg::missing(), Arg(int16_t{9})}),
            Variant("<9>"));
}

TEST(StringTokenizer, ReturnsTextBeforeDelimiterAndShortensSource) {
  struct Case { const char *source, *delimiter, *token, *rest; };
  for (const Case& c : {Case{"Push,Zoom,3", ",", "Push", "Zoom,3"},
                        Case{"Zoom", ",", "Zoom", ""},           // no delimiter: all of it
                        Case{"", ",", "", ""},                   // empty source
                        Case{",Zoom", ",", "", "Zoom"},          // leading delimiter
                        Case{"a,,b", ",", "a", ",b"},            // only the first one goes
                        Case{"a:b::c::d", "::", "a:b", "c::d"},  // longer delimiter
                        Case{"a:b", "::", "a:b", ""},            // partial match is no match
                        Case{"ab", "abc", "ab", ""},             // delimiter longer than source
                        Case{"aXb", "x", "aXb", ""},             // case counts
                        Case{"a,b", "", "a,b", ""}}) {           // empty delimiter
    std::string source = c.source;
    EXPECT_EQ(StringTokenizer().NextToken(source, c.delimiter), c.token) << c.source << " / " << c.delimiter;
    EXPECT_EQ(source, c.rest) << c.source << " / " << c.delimiter;
  }
  auto tokenizer = makeObject<StringTokenizer>();  // late bound: the source is written back
  Variant source = "12,34", delimiter = ",";
  EXPECT_EQ(callMethod(*tokenizer, "nexttoken", {byRef(source), byRef(delimiter)}), Variant("12"));
  EXPECT_EQ(source, Variant("34"));
  EXPECT_EQ(delimiter, Variant(","));
}

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

  auto late = makeObject<TextCatalog>();
  callMethod(*late, "LoadLanguageFile", {Arg(SampleFile)});
  Variant option = int32_t{7};  // reserved: accepted and ignored
  EXPECT_EQ(callMethod(*late, "translate", {Arg("Zoom in"), byRef(option)}), Variant("Vergr\xF6\xDF" "ern"));
  EXPECT_EQ(callMethod(*late, "Translate", {Arg("Pan")}), Variant("Pan"));
}

TEST(TextCatalog, ReadsStringsEscapesFlagsAndLineEndsAndLoadErrorsNameTheFileAndTheProblem) {
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

  // Each load replaces the last, and a failed one keeps it.
  catalog.LoadLanguageFile(dir.write("1.po", "msgid \"a\"\nmsgstr \"A1\"\nmsgid \"b\"\nmsgstr \"B1\"\n"));
  catalog.LoadLanguageFile(dir.write("2.po", "msgid \"a\"\nmsgstr \"A2\"\n"));
  EXPECT_ANY_THROW(catalog.LoadLanguageFile(dir.write("bad.po", "msgid \"c\"\nmsgstr \"C\"\nmsgid \"d\n")));
  EXPECT_EQ(catalog.Translate("a"), "A2");
  EXPECT_EQ(catalog.Translate("b"), "b");
  EXPECT_EQ(catalog.Translate("c"), "c");

  // 53 for a missing file, 75 for an unreadable path, 321 naming file and line for bad content.
  const std::string missing = dir.file("nl.po");
  EXPECT_AUTOMATION_ERROR(catalog.LoadLanguageFile(missing), err::FileNotFound, "File not found: '" + missing + "'");
  EXPECT_AUTOMATION_ERROR(catalog.LoadLanguageFile(dir.path().string()), PathFileAccessError,
                          "Path/File access error: '" + dir.path().string() + "'");
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
  for (const auto& c : cases) {
    const std::string path = dir.write("bad.po", c.content);
    EXPECT_AUTOMATION_ERROR(catalog.LoadLanguageFile(path), InvalidFileFormat,
                            "'" + path + "', line " + std::to_string(c.line) + ": " + c.problem);
  }
}

}  // namespace
}  // namespace zadeve::components
