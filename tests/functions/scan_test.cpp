// Scans and function operations against recording fakes: what a step asks of the toolbar
// manager, the errors it lets through, and the exact writes made on a bar's current button.

#include <gtest/gtest.h>

#include <array>
#include <map>

#include "automation/dispatch.h"
#include "core/zuzuzud_library.h"
#include "support/automation_assert.h"
#include "support/fake_host.h"

namespace zadeve::core {
namespace {

using automation::makeObject;
using support::FakeForm;
using support::FakeObject;
using support::FakeToolbar;
using support::FakeToolbarManager;

// Gives a fake bar buttons for the named functions at the given positions; any other name
// looks up Nothing, as the real control answers.
void give(FakeToolbar& bar, std::map<std::string, int16_t> buttons) {
  bar.on("", [buttons](FakeObject&, std::span<automation::Arg> args) {
    auto at = buttons.find(automation::toString(args[0].value()));
    if (at == buttons.end()) return Variant::nothing();
    auto button = makeObject<FakeObject>("Button");
    button->acceptAnyCall();
    button->set("Index", Variant(at->second));
    return Variant(ObjectRef(button));
  });
}

class ScanTest : public ::testing::Test {
 protected:
  ScanTest() {
    lib->InitialiseZADEVE(tbm, "", "");
    paletteA->set("targetForm", Variant(ObjectRef(formA)));
    paletteB->set("targetForm", Variant(ObjectRef(formB)));
    formA->bars().clearCalls();
    automation::callMethod(formA->bars(), "Load", {Variant(int16_t{1})});
    for (auto* bar : {a0(), a1(), formB->bar(0).get(), paletteA->bar(0).get(), paletteB->bar(0).get()}) give(*bar, {});
  }
  FakeToolbar* a0() const { return formA->bar(0).get(); }
  FakeToolbar* a1() const { return formA->bar(1).get(); }
  ZuzuzudWorkspace& ws() const { return *lib->CurrentWorkspace(); }
  // Steps the bar scan to its end: each bar found, "*" marking a floating one.
  std::vector<std::string> steps() {
    std::vector<std::string> out;
    std::map<automation::Object*, std::string> names{{a0(), "a0"}, {a1(), "a1"}, {formB->bar(0).get(), "b0"},
                                                     {paletteA->bar(0).get(), "pa"}, {paletteB->bar(0).get(), "pb"}};
    while (automation::toBoolean(lib->KATNextScan()))
      out.push_back(names[lib->aBar().get()] + (ws().IsFloating ? "*" : ""));
    return out;
  }

  Ref<FakeToolbarManager> tbm = makeObject<FakeToolbarManager>();
  Ref<FakeForm> formA = makeObject<FakeForm>("frmMain");
  Ref<FakeForm> formB = makeObject<FakeForm>("frmOther");
  Ref<FakeForm> paletteA = makeObject<FakeForm>("frmToolPalette");
  Ref<FakeForm> paletteB = makeObject<FakeForm>("frmToolPalette");
  Ref<ZuzuzudLibrary> lib = makeObject<ZuzuzudLibrary>();
};

TEST_F(ScanTest, ABarScanSkipsNothingAndOtherFormsAndTakesTheFormsPalettesAsItsOwn) {
  tbm->items = {ObjectRef(a0()), ObjectRef(), ObjectRef(formB->bar(0)), ObjectRef(paletteA->bar(0)),
                ObjectRef(paletteB->bar(0)), ObjectRef(a1())};
  lib->KaTBeginScan(ObjectRef(formA));
  EXPECT_EQ(steps(), (std::vector<std::string>{"a0", "pa*", "a1"}));
  EXPECT_EQ(ws().ScanIndex(), 7);
  EXPECT_EQ(lib->aBar(), nullptr);
  EXPECT_EQ(tbm->log("ItemAsObject").front(), "ItemAsObject(1:Integer)") << "by value, 16-bit";

  lib->KaTBeginScan(nullptr);
  EXPECT_EQ(steps(), (std::vector<std::string>{"a0", "b0", "pa*", "pb*", "a1"}));
  EXPECT_TRUE(lib->KATNextScan().isEmpty());
  EXPECT_EQ(ws().ScanIndex(), 8) << "a step on an exhausted scan still counts";

  tbm->items.clear();
  lib->KaTBeginScanFunction(ObjectRef(formA), "Bold");
  EXPECT_FALSE(lib->KaTNextScanFunction());
}

TEST_F(ScanTest, ErrorsReachTheCallerWithTheCursorWhereTheyLeftIt) {
  tbm->items = {ObjectRef(a0())};
  lib->KaTBeginScan(ObjectRef(formA));
  lib->KATNextScan();
  EXPECT_AUTOMATION_ERROR(lib->KaTBeginScan(ObjectRef(a0())), 13, "form");
  EXPECT_EQ(ws().ScanIndex(), 0) << "reset first";
  EXPECT_EQ(ws().ScanForm(), ObjectRef(formA)) << "the form is kept";

  ws().ScanIndex(32767);
  EXPECT_AUTOMATION_ERROR(lib->KATNextScan(), 6, "");
  EXPECT_EQ(ws().ScanIndex(), 32767);

  // A form named as a palette that has no targetForm.
  auto impostor = makeObject<FakeForm>("frmToolPalette");
  give(*impostor->bar(0), {});
  tbm->items = {ObjectRef(impostor->bar(0))};
  lib->KaTBeginScan(ObjectRef(formA));
  EXPECT_AUTOMATION_ERROR(lib->KATNextScan(), 438, "");

  auto unset = makeObject<ZuzuzudLibrary>();
  EXPECT_AUTOMATION_ERROR(unset->KATNextScan(), 91, "");
  EXPECT_AUTOMATION_ERROR(unset->KaSetFunctionState(nullptr, "Bold", -1), 91, "");
}

TEST_F(ScanTest, AFunctionScanStopsOnlyAtBarsHoldingTheFunctionAndSelectsItsButton) {
  give(*a1(), {{"Bold", 3}});
  tbm->items = {ObjectRef(a0()), ObjectRef(a1()), ObjectRef(formB->bar(0))};
  a1()->clearCalls();
  lib->KaTBeginScanFunction(ObjectRef(formA), "Bold");
  EXPECT_TRUE(lib->KaTNextScanFunction());
  EXPECT_EQ(lib->aBar(), ObjectRef(a1()));
  EXPECT_EQ(a1()->log("buttonIndex"), std::vector<std::string>{"buttonIndex =(3:Integer)"});
  EXPECT_FALSE(lib->KaTNextScanFunction());
  EXPECT_EQ(a0()->count("buttonIndex"), 0);
}

TEST_F(ScanTest, EnablementIsWrittenAsAnIntegerAndComparedAsANumber) {
  give(*a0(), {{"Cut", 1}});
  tbm->items = {ObjectRef(a0())};
  a0()->set("ButtonType", Variant(int32_t{10}));
  a0()->set("ButtonEnabled", Variant(true));
  a0()->clearCalls();
  lib->KaSetButtonEnable(ObjectRef(formA), "Cut", -1);
  lib->KaSetButtonEnable(ObjectRef(formA), "Cut", 0);
  lib->KaSetFunctionEnabled(ObjectRef(formA), "Cut", 0);
  EXPECT_EQ(a0()->log("ButtonEnabled"),
            (std::vector<std::string>{"ButtonEnabled()", "ButtonEnabled()", "ButtonEnabled =(0:Integer)",
                                      "ButtonEnabled =(0:Integer)"}));

  a0()->set("PushButtonFlags", Variant(int16_t{4 | 2}));  // BF_BUMP is the disabled mark
  int16_t value = 7;
  EXPECT_EQ(lib->KaGetFunctionEnabled(ObjectRef(formA), "Cut", value), Variant(true));
  EXPECT_EQ(value, 0);
}

TEST_F(ScanTest, StatusMessagesRefreshEachBarOnlyWhenAsked) {
  give(*a0(), {{"Msg", 0}});
  give(*paletteA->bar(0), {{"Msg", 2}});
  tbm->items = {ObjectRef(a0()), ObjectRef(paletteA->bar(0))};
  automation::callMethod(*lib, "StatusMsg", {Variant(formA), "Msg", "Ready"});
  EXPECT_EQ(a0()->count("Refresh") + paletteA->bar(0)->count("Refresh"), 0);
  automation::callMethod(*lib, "StatusMsg", {Variant(formA), "Msg", "Busy", Variant(true)});
  EXPECT_EQ(std::pair(a0()->count("Refresh"), paletteA->bar(0)->count("Refresh")), std::pair(1, 1));
}

}  // namespace
}  // namespace zadeve::core
