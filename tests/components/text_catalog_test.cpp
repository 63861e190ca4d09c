#include "components/text_catalog.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "automation/dispatch.h"
#include "components/argument_formatter.h"
#include "support/automation_assert.h"

namespace zadeve::components {
namespace {

namespace fs = std::filesystem;
using namespace automation;

const std::string SampleFile = std::string(ZADEVE_TEST_DATA) + "/components/de.po";
const std::string MissingFunction = "Toolbar setup error - missing^nfunction: ^1.";

class TextCatalogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("zadeve-catalog-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string write(const std::string& name, std::string_view content) {
    fs::path path = dir_ / name;
    std::ofstream(path, std::ios::binary) << content;
    return path.string();
  }

  fs::path dir_;
};

TEST_F(TextCatalogTest, WithoutAFileEveryTextComesBackUnchanged) {
  TextCatalog catalog;
  EXPECT_EQ(catalog.Translate("Zoom in"), "Zoom in");
  EXPECT_EQ(catalog.Translate(""), "");
  EXPECT_EQ(processCatalog().Translate(MissingFunction, 0), MissingFunction);
}

TEST_F(TextCatalogTest, SampleFileTranslatesOnlyUsableEntries) {
  TextCatalog catalog;
  catalog.LoadLanguageFile(SampleFile);
  struct Case {
    const char* text;
    const char* expected;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"Zoom in", "Vergr\xF6\xDF" "ern"},  // octal escapes, bytes kept
           {"Zoom out", "Zoom out"},            // fuzzy
           {"Pan", "Pan"},                      // empty msgstr
           {"Open", "Open"},                    // only in context "menu"
           {"one bar", "one bar"},              // plural entry
           {"Old text", "Old text"},            // obsolete
           {"", ""},                            // the header is no translation
           {"zoom in", "zoom in"},              // lookup is exact
       })
    EXPECT_EQ(catalog.Translate(c.text), c.expected) << c.text;
  EXPECT_EQ(catalog.translateInContext("menu", "Open"), "\xD6" "ffnen...");
  EXPECT_EQ(catalog.translateInContext("toolbar", "Open"), "Open");
  EXPECT_EQ(catalog.size(), 3u);
}

TEST_F(TextCatalogTest, TranslatedTemplateStillFormats) {
  TextCatalog catalog;
  catalog.LoadLanguageFile(SampleFile);
  std::vector<Variant> zoom{"Zoom"};
  EXPECT_EQ(ArgumentFormatter().SubstituteArguments(catalog.Translate(MissingFunction, 0), zoom),
            "Fehler beim Aufbau der Werkzeugleiste - es fehlt\r\ndie Funktion: Zoom.");
}

TEST_F(TextCatalogTest, ReadsStringsEscapesAndLineEnds) {
  TextCatalog catalog;
  catalog.LoadLanguageFile(write("x.po",
                                 "\xEF\xBB\xBFmsgid \"a\"\r\n"
                                 "msgstr \"tab\\there\\nquote\\\" slash\\\\ hex\\x41 oct\\101\"\r\n"
                                 "\r\n"
                                 "  msgid \"\"\n"
                                 "  \"split \" \"key\"\n"
                                 "msgstr \"one\"\n"
                                 "\t\"two\"\n"
                                 "#, c-format, fuzzy\n"
                                 "msgid \"f\"\n"
                                 "msgstr \"F\"\n"
                                 "#, c-format\n"
                                 "msgid \"g\"\n"
                                 "msgstr \"G\""));  // no line end at the end
  EXPECT_EQ(catalog.Translate("a"), "tab\there\nquote\" slash\\ hexA octA");
  EXPECT_EQ(catalog.Translate("split key"), "onetwo");
  EXPECT_EQ(catalog.Translate("f"), "f");
  EXPECT_EQ(catalog.Translate("g"), "G");
}

TEST_F(TextCatalogTest, LoadingAnotherFileReplacesTheFirst) {
  TextCatalog catalog;
  catalog.LoadLanguageFile(write("1.po", "msgid \"a\"\nmsgstr \"A1\"\nmsgid \"b\"\nmsgstr \"B1\"\n"));
  catalog.LoadLanguageFile(write("2.po", "msgid \"a\"\nmsgstr \"A2\"\n"));
  EXPECT_EQ(catalog.Translate("a"), "A2");
  EXPECT_EQ(catalog.Translate("b"), "b");
}

TEST_F(TextCatalogTest, FailedLoadKeepsWhatWasLoaded) {
  TextCatalog catalog;
  catalog.LoadLanguageFile(write("good.po", "msgid \"a\"\nmsgstr \"A\"\n"));
  EXPECT_ANY_THROW(catalog.LoadLanguageFile(write("bad.po", "msgid \"b\"\nmsgstr \"B\"\nmsgid \"c\n")));
  EXPECT_ANY_THROW(catalog.LoadLanguageFile((dir_ / "none.po").string()));
  EXPECT_EQ(catalog.Translate("a"), "A");
  EXPECT_EQ(catalog.Translate("b"), "b");
}

TEST_F(TextCatalogTest, MissingFileRaises53NamingIt) {
  TextCatalog catalog;
  std::string path = (dir_ / "nl.po").string();
  EXPECT_AUTOMATION_ERROR(catalog.LoadLanguageFile(path), err::FileNotFound, "File not found: '" + path + "'");
  EXPECT_AUTOMATION_ERROR(catalog.LoadLanguageFile(""), err::FileNotFound, "File not found");
}

TEST_F(TextCatalogTest, UnreadablePathRaises75NamingIt) {
  TextCatalog catalog;
  EXPECT_AUTOMATION_ERROR(catalog.LoadLanguageFile(dir_.string()), PathFileAccessError, dir_.string());
}

TEST_F(TextCatalogTest, EmptyFileLoadsNothing) {
  TextCatalog catalog;
  catalog.LoadLanguageFile(write("empty.po", ""));
  EXPECT_EQ(catalog.size(), 0u);
  EXPECT_EQ(catalog.Translate("a"), "a");
}

struct MalformedCase {
  const char* name;
  const char* content;
  int line;
  const char* problem;
};

class MalformedFile : public TextCatalogTest, public ::testing::WithParamInterface<MalformedCase> {};

TEST_P(MalformedFile, Raises321NamingFileAndLine) {
  const MalformedCase& c = GetParam();
  std::string path = write("bad.po", c.content);
  TextCatalog catalog;
  std::string where = "'" + path + "', line " + std::to_string(c.line) + ": ";
  EXPECT_AUTOMATION_ERROR(catalog.LoadLanguageFile(path), InvalidFileFormat, where + c.problem);
}

INSTANTIATE_TEST_SUITE_P(
    TextCatalog, MalformedFile,
    ::testing::Values(
        MalformedCase{"Unterminated", "msgid \"a\"\nmsgstr \"A\n", 2, "unterminated string"},
        MalformedCase{"BackslashAtEnd", "msgid \"a\\", 1, "unterminated string"},
        MalformedCase{"UnknownEscape", "msgid \"a\\q\"\nmsgstr \"\"\n", 1, "unknown escape sequence '\\q'"},
        MalformedCase{"EmptyHex", "msgid \"\\xg\"\nmsgstr \"\"\n", 1, "\\x without hex digits"},
        MalformedCase{"NoString", "msgid\nmsgstr \"\"\n", 1, "expected a quoted string after msgid"},
        MalformedCase{"TextAfterQuote", "msgid \"a\" b\nmsgstr \"\"\n", 1, "unexpected text after the closing quote"},
        MalformedCase{"UnknownKeyword", "msgid \"a\"\nmsgstring \"A\"\n", 2, "unknown keyword 'msgstring'"},
        MalformedCase{"IndexOnMsgid", "msgid[0] \"a\"\nmsgstr \"A\"\n", 1, "unknown keyword 'msgid[0]'"},
        MalformedCase{"StrayText", "msgid \"a\"\nmsgstr \"A\"\n{x}\n", 3, "unexpected text"},
        MalformedCase{"StringOutsideEntry", "msgid \"a\"\nmsgstr \"A\"\n\n\"more\"\n", 4, "a string outside an entry"},
        MalformedCase{"MsgstrWithoutMsgid", "msgstr \"A\"\n", 1, "msgstr without msgid"},
        MalformedCase{"MsgidWithoutMsgstr", "msgid \"a\"\n\nmsgid \"b\"\nmsgstr \"B\"\n", 3, "the entry on line 1 has no msgstr"},
        MalformedCase{"LastEntryWithoutMsgstr", "msgid \"a\"\nmsgstr \"A\"\n\n# c\nmsgid \"b\"\n", 5, "the entry has no msgstr"},
        MalformedCase{"ContextAlone", "msgctxt \"m\"\n", 1, "the entry has no msgstr"},
        MalformedCase{"MsgstrTwice", "msgid \"a\"\nmsgstr \"A\"\nmsgstr \"B\"\n", 3, "msgstr given twice"},
        MalformedCase{"PluralWithoutMsgid", "msgid_plural \"as\"\n", 1, "msgid_plural without msgid"},
        MalformedCase{"PluralNeedsIndex", "msgid \"a\"\nmsgid_plural \"as\"\nmsgstr \"A\"\n", 3, "a plural entry needs msgstr[0]"},
        MalformedCase{"IndexWithoutPlural", "msgid \"a\"\nmsgstr[0] \"A\"\n", 2, "msgstr[0] without msgid_plural"},
        MalformedCase{"IndexOutOfOrder", "msgid \"a\"\nmsgid_plural \"as\"\nmsgstr[1] \"A\"\n", 3, "msgstr[1] out of order, expected msgstr[0]"},
        MalformedCase{"BadIndex", "msgid \"a\"\nmsgid_plural \"as\"\nmsgstr[x] \"A\"\n", 3, "bad plural form index"},
        MalformedCase{"UnclosedIndex", "msgid \"a\"\nmsgid_plural \"as\"\nmsgstr[0 \"A\"\n", 3, "missing ']' after msgstr"},
        MalformedCase{"Duplicate", "msgid \"a\"\nmsgstr \"A\"\n\nmsgid \"b\"\nmsgstr \"B\"\n\nmsgid \"a\"\nmsgstr \"C\"\n", 7, "msgid \"a\" is given twice"},
        MalformedCase{"BinaryGarbage", "\x01\x02\xFF\xFE garbage", 1, "unexpected text"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TextCatalogTest, SameMsgidInDifferentContextsIsNoDuplicate) {
  TextCatalog catalog;
  catalog.LoadLanguageFile(write("ctx.po",
                                 "msgid \"Open\"\nmsgstr \"Auf\"\n"
                                 "msgctxt \"menu\"\nmsgid \"Open\"\nmsgstr \"Öffnen\"\n"
                                 "msgctxt \"file\"\nmsgid \"Open\"\nmsgstr \"Laden\"\n"));
  EXPECT_EQ(catalog.Translate("Open"), "Auf");
  EXPECT_EQ(catalog.translateInContext("menu", "Open"), "Öffnen");
  EXPECT_EQ(catalog.translateInContext("file", "Open"), "Laden");
}

TEST_F(TextCatalogTest, LateBoundLoadAndTranslate) {
  auto catalog = makeObject<TextCatalog>();
  Variant path = SampleFile;
  callMethod(*catalog, "LoadLanguageFile", {byRef(path)});
  EXPECT_EQ(path, Variant(SampleFile));

  Variant text = "Zoom in";
  Variant option = int32_t{0};
  EXPECT_EQ(callMethod(*catalog, "Translate", {byRef(text), byRef(option)}), Variant("Vergr\xF6\xDF" "ern"));
  EXPECT_EQ(text, Variant("Zoom in"));
  EXPECT_EQ(callMethod(*catalog, "translate", {Arg("Pan")}), Variant("Pan"));

  Variant missing = (dir_ / "gone.po").string();
  EXPECT_AUTOMATION_ERROR(callMethod(*catalog, "LoadLanguageFile", {byRef(missing)}), err::FileNotFound, "gone.po");
}

}  // namespace
}  // namespace zadeve::components
