#pragma once
// Recording fakes of the host side (shell application, toolbar manager, form with its `bar`
// control array, toolbar controls): each logs every call as FakeObject does.

#include <functional>
#include <string>
#include <vector>

#include "support/fake_object.h"

namespace zadeve::support {

using automation::Ref;

// A toolbar control that accepts every call, keeps its properties, reports the form it
// sits on as `parent` and answers IdealDepth by orientation.
class FakeToolbar : public FakeObject {
 public:
  FakeToolbar();
  void placeOn(automation::Object* form) { form_ = form; }  // not owned: the form owns us
  int16_t horizontalDepth = 330;
  int16_t verticalDepth = 420;

 private:
  automation::Object* form_ = nullptr;
};

// The form's `bar` control array: element 0 exists; Load creates the next ones.
class FakeControlArray : public FakeObject {
 public:
  explicit FakeControlArray(automation::Object& form);
  Ref<FakeToolbar> element(int16_t index) const;
  int16_t size() const { return static_cast<int16_t>(elements_.size()); }
  // Removes an element, leaving a gap in the array.
  void drop(int16_t index);

 private:
  automation::Object& form_;
  std::vector<Ref<FakeToolbar>> elements_;
};

// A host form. Writing `Signal` runs the form's handler inside the write.
class FakeForm : public FakeObject {
 public:
  explicit FakeForm(std::string name = "frmMain", int32_t scaleWidth = 9000, int32_t scaleHeight = 6000);
  ~FakeForm() override;
  FakeControlArray& bars() const { return *bars_; }
  Ref<FakeToolbar> bar(int16_t index) const { return bars_->element(index); }
  void onSignal(std::function<void(const std::string&)> handler) { signalHandler_ = std::move(handler); }
  std::vector<std::string> signals;

 private:
  Ref<FakeControlArray> bars_;
  std::function<void(const std::string&)> signalHandler_;
};

// The host's toolbar manager: a 1-based list of bars.
class FakeToolbarManager : public FakeObject {
 public:
  FakeToolbarManager();
  std::vector<automation::ObjectRef> items;
};

// The host's application object: MsgBoxSub texts are collected.
class FakeShellApp : public FakeObject {
 public:
  FakeShellApp();
  std::vector<std::string> messages;
};

}  // namespace zadeve::support
