#pragma once
// The host's application object as the library sees it (ShellApplicationObject): it
// shows the library's reports (MsgBoxSub), holds the command that a palette prepares
// (aString, aValue, aCmdFlag), hears broadcasts, and lends the symbol palette its
// pictures (GetBitmap, MainView, locView).
//
// A headless host cannot show a message box, so MsgBoxSub keeps every report and, when
// given a stream, writes it there at once.

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "automation/member_table.h"
#include "host/shape_view.h"

namespace zadeve::host {

struct Report {
  std::string text;
  int32_t style = 0;
};

class ShellApplication : public automation::Dispatchable<ShellApplication> {
 public:
  static const automation::MemberTable<ShellApplication>& memberTable();

  ShellApplication();

  // Each report is also written to `echo` (nullptr: nowhere), one line per line of text.
  void echoReportsTo(std::ostream* echo) { echo_ = echo; }
  // Each report is also shown by `show` (a desktop host's message box), as it arrives.
  void onReport(std::function<void(const Report&)> show) { show_ = std::move(show); }

  void msgBoxSub(std::string text, int32_t style);
  const std::vector<Report>& reports() const { return reports_; }
  void clearReports() { reports_.clear(); }

  void broadcast(std::string word) { broadcasts_.push_back(std::move(word)); }
  const std::vector<std::string>& broadcasts() const { return broadcasts_; }

  // The command a palette prepared before it signalled "ExecuteCommand".
  const std::string& commandString() const { return aString_; }
  const automation::Variant& commandValue() const { return aValue_; }
  int16_t commandFlag() const { return aCmdFlag_; }

  // The palette bitmap behind GetBitmap: a strip of the four symbol shapes, 16 x 15 each.
  automation::Ref<platform::Picture> paletteBitmap() const { return paletteBitmap_; }
  const automation::Ref<ShapeView>& mainView() const { return mainView_; }
  const automation::Ref<ShapeView>& locView() const { return locView_; }
  // The symbol the main view drew last ("" before any).
  const std::string& lastSymbol() const { return shapes_->symbol; }

 private:
  std::ostream* echo_ = nullptr;
  std::function<void(const Report&)> show_;
  std::vector<Report> reports_;
  std::vector<std::string> broadcasts_;
  std::string aString_;
  automation::Variant aValue_;
  int16_t aCmdFlag_ = 0;
  std::shared_ptr<ShapePictureSlot> shapes_;
  automation::Ref<ShapeView> mainView_;
  automation::Ref<ShapeView> locView_;
  automation::Ref<platform::Picture> paletteBitmap_;
};

}  // namespace zadeve::host
