#include "host/headless_form.h"

#include <gtest/gtest.h>

#include "automation/dispatch.h"
#include "core/host_contracts.h"
#include "support/automation_assert.h"
#include "support/headless_screen.h"

namespace zadeve::host {
namespace {

using automation::makeObject;
using automation::ObjectRef;
using automation::Ref;
using automation::Variant;
using vizevore::ReVivezav;

class HeadlessFormTest : public ::testing::Test {
 protected:
  support::HeadlessScreen screen{15};
  Ref<HeadlessForm> form = makeObject<HeadlessForm>("frmMain", 400, 300);
  core::HostForm face{ObjectRef(form)};
};

TEST_F(HeadlessFormTest, ElementZeroExistsAndLoadPlacesNewControlsOnTheForm) {
  EXPECT_AUTOMATION_ERROR(face.bar(1), 340, "Control array element '1' doesn't exist");
  face.loadBar(1);
  face.loadBar(3);  // a gap is allowed, as the runtime allows it
  for (int16_t i : {0, 1, 3}) {
    SCOPED_TRACE(i);
    EXPECT_EQ(face.bar(i).parent(), ObjectRef(form));
    EXPECT_EQ(form->bar(i)->eventSink(), form.get());
    EXPECT_EQ(form->bar(i)->twipsPerPixel(), 15);
  }
  EXPECT_AUTOMATION_ERROR(face.bar(2), 340, "'2'");
  EXPECT_AUTOMATION_ERROR(face.loadBar(1), 360, "already loaded");
  EXPECT_AUTOMATION_ERROR(face.loadBar(-1), 5, "-1");
  EXPECT_EQ(form->bars().count(), 3);
  face.loadBar(INT16_MAX);  // the last element a 16-bit index reaches
  EXPECT_EQ(form->bars().upperBound(), INT16_MAX);
}

TEST_F(HeadlessFormTest, ClientAreaIsInTwipsOfTheScreen) {
  EXPECT_EQ(face.ScaleHeight(), Variant(4500.0f));
  automation::letProperty(*form, "ScaleWidth", Variant(3000.4));
  EXPECT_EQ(form->pixelWidth(), 200);
  EXPECT_AUTOMATION_ERROR(automation::letProperty(*form, "ScaleHeight", Variant(-15)), 5, "negative");
  EXPECT_AUTOMATION_ERROR(form->resize(20000, 10), 5, "20000 x 10");

  screen->setTwipsPerPixel(12, 10);
  auto other = makeObject<HeadlessForm>("frmOther", 100, 50);
  EXPECT_EQ(other->scaleWidth(), 1200);
  EXPECT_EQ(other->scaleHeight(), 500);
  EXPECT_EQ(other->bar(0)->twipsPerPixel(), 12);
}

TEST_F(HeadlessFormTest, SignalRunsItsHandlerInsideTheWriteAndWithoutALibraryOnlyRecords) {
  face.Signal("REFORMAT");  // the default handler: no library to lay out with
  EXPECT_EQ(form->signals(), std::vector<std::string>{"REFORMAT"});
  EXPECT_FALSE(form->freeRectangle());
  EXPECT_AUTOMATION_ERROR(form->layout(), 91, "");

  std::vector<std::string> seen;
  form->onSignal([&](HeadlessForm& f, const std::string& word) {
    seen.push_back(word + "/" + automation::toString(automation::getProperty(f, "Signal")));
  });
  face.Signal("ExecuteCommand");
  EXPECT_EQ(seen, std::vector<std::string>{"ExecuteCommand/ExecuteCommand"});
  EXPECT_EQ(form->signals().size(), 2u);
}

// A click reaching the form is on the main road; here, the events that carry more or less.
TEST_F(HeadlessFormTest, ControlEventsCarryTheirValue) {
  vizevore::SpinData spin;
  spin.value = 8;
  spin.maximum = 72;
  form->bar(0)->addSpin("FontSize", spin, "Font size");
  std::vector<std::string> heard;
  form->onControlEvent([&](const ControlEvent& e) { heard.push_back(describe(e)); });
  form->bar(0)->spinUp(0);
  form->bar(0)->contextMenu(30, 40);
  EXPECT_EQ(heard, (std::vector<std::string>{"bar(0) ButtonSpinUp FontSize = 9", "bar(0) BarContextMenu"}));
  ASSERT_EQ(form->events().size(), 2u);
  EXPECT_EQ(form->events()[0].value, 9.0f);
  EXPECT_FALSE(form->events()[1].value);
}

TEST_F(HeadlessFormTest, UnloadAndDestructionLeaveNoControlWithAParentOrASink) {
  Ref<ReVivezav> kept = form->bar(0);  // as the toolbar manager would keep it
  face.Unload();
  EXPECT_EQ(kept->eventSink(), nullptr);
  EXPECT_EQ(form->bars().count(), 0);
  EXPECT_FALSE(form->loaded());

  auto other = makeObject<HeadlessForm>("frmOther", 100, 100);
  Ref<ReVivezav> survivor = other->bar(0);
  other = nullptr;
  EXPECT_EQ(survivor->parentForm(), nullptr);
  survivor->addPushButton("Open", "", "", "Open", 0, 0, 0, 0);
  EXPECT_TRUE(survivor->click(0));  // raised to no one: the form that is gone is not called
}

}  // namespace
}  // namespace zadeve::host
