// The headless window manager as the palettes use it, the message hook, rectangles by
// address, and controls by program identifier.

#include <gtest/gtest.h>

#include "automation/dispatch.h"
#include "platform/control_registry.h"
#include "platform/message_hook.h"
#include "platform/zeduvu.h"
#include "support/automation_assert.h"
#include "support/headless_screen.h"

namespace zadeve::platform {
namespace {

using automation::Arg;
using automation::Variant;
using Lines = std::vector<std::string>;

struct Client : WindowClient, MessageListener, automation::EventSink {
  Lines heard;
  std::function<void(int32_t address)> onSizing;
  void windowResized() override { heard.push_back("resized"); }
  void windowCloseRequested() override { heard.push_back("close"); }
  void windowMessage(WindowHandle, int32_t message, int32_t wParam, int32_t lParam, int32_t&) override {
    int32_t l, t, r, b;
    GetRECT(lParam, l, t, r, b);
    heard.push_back(std::to_string(message) + " edge " + std::to_string(wParam) + " " + std::to_string(l) + "," +
                    std::to_string(t) + "," + std::to_string(r) + "," + std::to_string(b));
    if (onSizing) onSizing(lParam);
  }
  void controlEvent(automation::Object&, std::string_view event, std::span<Arg> args) override {
    heard.push_back(std::string(event) + " " + automation::toString(args[0].value()));
    args[3].value() = Variant(int32_t{7});
  }
};

class Windowing : public ::testing::Test {
 protected:
  support::HeadlessScreen screen;
  Client client;
  WindowHandle window = screen->createWindow(client, {10, 20, 110, 80});
};

TEST_F(Windowing, GeometryFramesShowingAndClosing) {
  EXPECT_FALSE(screen->isVisible(window));
  EXPECT_EQ(screen->clientRect(window), (PixelRect{0, 0, 100 - 8, 60 - 26}));
  screen->showWindow(window);
  screen->showWindow(window);
  screen->moveWindow(window, {0, 0, 100, 60});  // moved, same size
  screen->moveWindow(window, {0, 0, 1, 1});     // no smaller than its frame
  EXPECT_EQ(screen->windowRect(window), (PixelRect{0, 0, 8, 26}));
  screen->pressCloseBox(window);
  EXPECT_EQ(client.heard, (Lines{"resized", "resized", "close"}));
  screen->destroyWindow(window);
  screen->destroyWindow(window);
  EXPECT_AUTOMATION_ERROR(screen->windowRect(window), 5, "No window has the handle");
}

TEST_F(Windowing, OwnersAreWindowsAndAreForgottenWithThem) {
  Client other;
  WindowHandle owner = screen->createWindow(other, {0, 0, 50, 50});
  EXPECT_EQ(screen->setWindowLong(window, GWL_HWNDPARENT, owner), 0);
  EXPECT_EQ(screen->getWindowLong(window, GWL_HWNDPARENT), owner);
  EXPECT_AUTOMATION_ERROR(screen->setWindowLong(window, GWL_HWNDPARENT, 12345), 5, "12345");
  EXPECT_AUTOMATION_ERROR(screen->getWindowLong(window, -16), 5, "-16");
  screen->destroyWindow(owner);
  EXPECT_EQ(screen->getWindowLong(window, GWL_HWNDPARENT), 0);
}

TEST_F(Windowing, MenusAreAnsweredByCaptionAndTheDragSettingIsReported) {
  screen->pickInNextMenu("Dock");
  screen->pickInNextMenu("Nothing such");
  const std::vector<std::string> items{"Float", "Dock"};
  EXPECT_EQ(screen->popupMenu(window, items), 1);
  EXPECT_EQ(screen->popupMenu(window, items), -1);
  EXPECT_EQ(screen->popupMenu(window, items), -1);
  EXPECT_EQ(screen->menus().size(), 3u);

  int32_t on = -1, off = -1;
  EXPECT_TRUE(screen->systemParametersInfo(SPI_GETDRAGFULLWINDOWS, 0, &on, 0));
  screen->setDragFullWindows(false);
  screen->systemParametersInfo(SPI_GETDRAGFULLWINDOWS, 0, &off, 0);
  EXPECT_EQ(std::pair(on, off), std::pair(1, 0));
  EXPECT_FALSE(screen->systemParametersInfo(0x1234, 0, &on, 0));
}

TEST_F(Windowing, ALongRunningHostKeepsOnlyTheLatestMessageBoxesAndMenus) {
  const size_t shown = ShownRecordsKept + 5;
  for (size_t i = 0; i < shown; ++i) {
    screen->messageBox("box " + std::to_string(i), MessageBoxButtons::Ok, "");
    screen->popupMenu(window, {"item " + std::to_string(i)});
  }
  EXPECT_EQ(screen->messages().size() + screen->menus().size(), 2 * ShownRecordsKept);
  EXPECT_EQ(screen->messages().front().text, "box 5");
  EXPECT_EQ(screen->menus().back().items, Lines{"item " + std::to_string(shown - 1)});
  // A reader notes the count before a call and asks for what came after it.
  EXPECT_EQ(screen->messagesShown(), shown);
  const auto latest = screen->messagesSince(shown - 2);
  ASSERT_EQ(latest.size(), 2u);
  EXPECT_EQ(latest[0].text, "box " + std::to_string(shown - 2));
  EXPECT_EQ(screen->messagesSince(0).size(), ShownRecordsKept) << "no more than is kept";
  screen->clearMessages();
  EXPECT_TRUE(screen->messagesSince(shown - 2).empty());
  screen->messageBox("after", MessageBoxButtons::Ok, "");
  ASSERT_EQ(screen->messagesSince(shown).size(), 1u);
  EXPECT_EQ(screen->messagesSince(shown)[0].text, "after");
}

TEST_F(Windowing, TheSizingLoopLendsEachRectangleToTheListenerAndTakesTheCorrection) {
  screen->setMessageListener(window, &client);
  int32_t lastAddress = 0;
  client.onSizing = [&](int32_t address) {
    SetRECT(address, 10, 20, 90, 90);
    lastAddress = address;
  };
  for (bool full : {true, false}) {
    SCOPED_TRACE(full);
    screen->moveWindow(window, {10, 20, 110, 80});
    client.heard.clear();
    screen->setDragFullWindows(full);
    screen->dragEdge(window, wmsz::Right, {{10, 20, 120, 80}, {10, 20, 130, 80}});
    const std::string first = "532 edge 2 10,20,120,80", second = "532 edge 2 10,20,130,80";
    EXPECT_EQ(client.heard, (full ? Lines{first, "resized", second} : Lines{first, second, "resized"}));
    EXPECT_EQ(screen->windowRect(window), (PixelRect{10, 20, 90, 90}));
  }
  int32_t l, t, r, b;
  EXPECT_AUTOMATION_ERROR(GetRECT(lastAddress, l, t, r, b), 5, "No rectangle at address");
}

TEST_F(Windowing, TheHookRaisesOnlySwitchedMessagesAndTakesTheirResult) {
  auto hook = automation::makeObject<Msghook>(&client);
  automation::letProperty(*hook, "hwnd", Variant(int32_t{window}));
  std::vector<Arg> on{Variant(WM_SIZING), Variant(true)};
  hook->invoke("Message", automation::InvokeKind::PropertyLet, on);
  int32_t result = 0;
  hook->windowMessage(window, 0x5, 0, 0, result);
  hook->windowMessage(window, WM_SIZING, 2, 99, result);
  EXPECT_EQ(client.heard, Lines{"Message 532"});
  EXPECT_EQ(result, 7);
  hook->detach();
  hook->windowMessage(window, WM_SIZING, 2, 99, result);
  EXPECT_EQ(client.heard.size(), 1u);
}

TEST(ControlRegistry, IdentifiersIgnoreCaseAndUnknownOnesCannotBeCreated) {
  Client sink;
  auto form = automation::makeObject<Msghook>(nullptr);  // any object serves as the form
  EXPECT_AUTOMATION_ERROR(createControl("no.Such", *form, sink), 429, "'no.Such'");
  int made = 0;
  auto previous = registerControl("Lib.Thing", [&](automation::Object&, automation::EventSink&) {
    ++made;
    return PlacedControl{automation::makeObject<Msghook>(nullptr), [] {}};
  });
  EXPECT_FALSE(previous);
  EXPECT_TRUE(createControl("LIB.thing", *form, sink).control);
  EXPECT_EQ(made, 1);
  EXPECT_TRUE(registerControl("lib.thing", nullptr));
  EXPECT_AUTOMATION_ERROR(createControl("Lib.Thing", *form, sink), 429, "");
}

}  // namespace
}  // namespace zadeve::platform
