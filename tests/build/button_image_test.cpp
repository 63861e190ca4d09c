#include <gtest/gtest.h>

#include <new>

#include "support/library_internals.h"
#include "support/toolbar_fixture.h"

namespace zadeve::core {
namespace {

using automation::makeObject;
using support::FakeObject;

// The two outputs and what is left of the image field, as "set.index|rest".
class ButtonImageTest : public support::ToolbarTest {
 protected:
  ButtonImageTest() {
    writeIni(
        "[Functions]\nIconSet0=big24.bmp,24\nIconSet1=big24.bmp,,20\nIconSet2=std16.bmp,16,15\nIconSet3=std16.bmp\n"
        "IconSet4=!SYMBOL_PALETTE\nIconSet5=missing.bmp,16,15\nIconSet6=bad.bmp,16,15\nIconSet7=std16.bmp,wide,15\n"
        "IconSet8=!OTHER_KIND\n[Toolbar.Sym]\nButtonSize=20\nBitmapHeight=24\nBitmapWidth=x\n");
    dir.write("bad.bmp", "BM not really a bitmap");
  }

  std::string resolve(std::string field, const std::string& name = "Fn") {
    int16_t set = 7, index = 7;
    LibraryInternals::ResolveButtonImage(*lib, name, "Toolbar.Sym", tb, field, set, index, loaded);
    return std::to_string(set) + "." + std::to_string(index) + "|" + field;
  }

  LoadedIconSets loaded;
  Ref<support::FakeToolbar> tb = makeObject<support::FakeToolbar>();
};

TEST_F(ButtonImageTest, LoadsEachBitmapSetOncePerBuild) {
  const std::pair<const char*, const char*> cases[] = {
      {"", "-1.-1|"},    {"/5", "-1.-1|/5"}, {"2/5", "2.5|"},     {"2/7", "2.7|"},
      {"2", "2.-1|"},    {"2/", "2.-1|"},    {"2/x", "2.0|"},     {"2/4abc/rest/x", "2.4|rest/x"},
      {"0/2.5", "0.2|"}, {"x/1", "0.1|"},    {"1.5/3.5", "2.4|"}, {"1/1", "1.1|"},
      {"3", "3.-1|"},
  };
  for (const auto& [field, result] : cases) EXPECT_EQ(resolve(field), result) << field;
  EXPECT_EQ(callsOf(*tb), (Lines{"AddImageSet(<Picture>, \"2\", \"\", &16:Integer, &15:Integer)",
                                 "AddImageSet(<Picture>, \"0\", \"\", &24:Integer, &15:Integer)",
                                 "AddImageSet(<Picture>, \"1\", \"\", &16:Integer, &20:Integer)",
                                 "AddImageSet(<Picture>, \"3\", \"\", &16:Integer, &15:Integer)"}));
  EXPECT_EQ(imageSetPictures(*tb).at(0)->width(), 16 * 16);
  EXPECT_EQ(loaded, std::string("\x02\x00\x01\x03", 4));
  EXPECT_TRUE(app->messages.empty());
}

// Every failure is reported with the token taken last, and the remaining steps still run:
// a set that failed counts as loaded, so later buttons do not try it again.
TEST_F(ButtonImageTest, FailuresAreReportedAndTheRestStillRuns) {
  struct Case {
    const char* field;
    const char* result;
    std::string message;
    size_t recorded;
    size_t reports;  // of two buttons with the same field
  } cases[] = {
      {"5/2", "5.2|", "File not found: " + dir.file("missing.bmp") + "\r\nwhile processing: 15", 1, 1},
      {"6/1/r", "6.1|r", "Invalid picture: " + dir.file("bad.bmp"), 1, 1},
      {"7/3", "7.3|", "Type mismatch\r\nwhile processing: wide", 1, 1},
      {"300/1", "300.1|", "Icon set 300 is not a number from 0 to 255\r\nwhile processing: 300", 0, 2},
      {"-2/1", "-2.1|", "Icon set -2 is not a number from 0 to 255\r\nwhile processing: -2", 0, 2},
      {"70000/1", "-1.1|", "Overflow\r\nwhile processing: 70000", 0, 2},
      {"2/99999", "2.-1|", "Overflow\r\nwhile processing: 99999", 1, 2},
  };
  for (const auto& c : cases) {
    loaded.clear();
    app->messages.clear();
    EXPECT_EQ(resolve(c.field), c.result);
    EXPECT_EQ(resolve(c.field), c.result) << "a second button";
    ASSERT_EQ(app->messages.size(), c.reports) << c.field;
    EXPECT_TRUE(app->messages[0].starts_with(c.message)) << app->messages[0];
    EXPECT_EQ(loaded.size(), c.recorded) << c.field;
  }
  // A set whose picture failed is added with Nothing; the one whose width failed at the
  // default width.
  EXPECT_EQ(callsOf(*tb), (Lines{"AddImageSet(Nothing, \"5\", \"\", &16:Integer, &15:Integer)",
                                 "AddImageSet(Nothing, \"6\", \"\", &16:Integer, &15:Integer)",
                                 "AddImageSet(<Picture>, \"7\", \"\", &16:Integer, &15:Integer)",
                                 "AddImageSet(<Picture>, \"2\", \"\", &16:Integer, &15:Integer)"}));

  // A control that refuses the set without its picture says so too; the button keeps its set.
  tb->on("AddImageSet", refuse(automation::err::InvalidPicture, "No picture"));
  loaded.clear();
  app->messages.clear();
  EXPECT_EQ(resolve("5/2"), "5.2|");
  ASSERT_EQ(app->messages.size(), 2u);
  EXPECT_TRUE(app->messages[0].starts_with("File not found: ")) << app->messages[0];
  EXPECT_EQ(app->messages[1], "No picture\r\nwhile processing: 15");
  EXPECT_EQ(loaded, "\x05");

  // Memory running out is reported as any other failure, and the build goes on.
  tb->on("AddImageSet", [](FakeObject&, std::span<automation::Arg>) -> Variant { throw std::bad_alloc(); });
  loaded.clear();
  app->messages.clear();
  EXPECT_EQ(resolve("2/4"), "2.4|");
  ASSERT_EQ(app->messages.size(), 1u);
  EXPECT_EQ(app->messages[0], "Out of memory\r\nwhile processing: 15");
}

TEST_F(ButtonImageTest, SymbolButtonsDrawTheirSymbolIntoASetOfTheirOwn) {
  // A host without a main view: the palette step fails, and the field still loses its index.
  EXPECT_EQ(resolve("4/9/rest", "Create Symbol:Valve"), "-1.-1|rest");
  EXPECT_EQ(app->messages, Lines{"Object doesn't support this property or method\r\nwhile processing: 4"});
  app->messages.clear();

  // A main view that draws a symbol into the locator view's shape picture, and a control
  // that numbers unnumbered sets from 256.
  auto mainView = makeObject<FakeObject>("MainView"), locView = makeObject<FakeObject>("locView");
  mainView->acceptAnyCall();
  locView->set("ShapePicture", Variant(platform::Picture::fromPixels(1, 1, {255, 0, 255, 255})));
  app->set("MainView", Variant(ObjectRef(mainView)));
  app->set("locView", Variant(ObjectRef(locView)));
  app->on("GetBitmap", [](FakeObject&, std::span<automation::Arg>) {
    return Variant(platform::Picture::fromPixels(2, 2, std::vector<uint8_t>(16, 0)));
  });
  int16_t lastSet = 255;
  tb->on("AddImageSet", [&](FakeObject&, std::span<automation::Arg>) {
    ++lastSet;
    return Variant();
  });
  tb->on("IconSetIndex", [&](FakeObject&, std::span<automation::Arg>) { return Variant(lastSet); });
  tb->clearCalls();

  EXPECT_EQ(resolve("4/9/rest", "Create Symbol:Valve\\\\Large"), "256.0|rest");
  EXPECT_EQ(resolve("4", "Create Symbol:A\\B"), "257.0|");
  const std::string info = "SetShapePictureInfo(&20:Integer, &16:Integer, 0:Integer, 16711935:Long, &\"";
  EXPECT_EQ(mainView->log(), (Lines{info + "Valve\", 1:Integer)", info + "A\\B\", 1:Integer)"}));
  EXPECT_EQ(locView->log(), Lines(2, "ShapePicture()"));
  EXPECT_EQ(callsOf(*tb, "AddImageSet"),
            Lines(2, "AddImageSet(<Picture>, \"\", \"Symbols\", &20:Integer, &16:Integer)"));
  EXPECT_TRUE(loaded.empty());

  // The palette editor shows the host's bitmap; other functions and kinds add nothing.
  tb->clearCalls();
  EXPECT_EQ(resolve("4/1", "EditSymbolPalette"), "258.0|");
  EXPECT_EQ(resolve("4/1", "Other"), "258.0|");
  EXPECT_EQ(resolve("8/1", "Create Symbol:V"), "258.0|");
  EXPECT_EQ(callsOf(*tb), (Lines{"AddImageSet(<Picture>)", "IconSetIndex()", "IconSetIndex()", "IconSetIndex()"}));
  EXPECT_EQ(imageSetPictures(*tb).at(0)->width(), 2);
  EXPECT_EQ(mainView->calls().size(), 2u);
  EXPECT_TRUE(app->messages.empty());
}

}  // namespace
}  // namespace zadeve::core
