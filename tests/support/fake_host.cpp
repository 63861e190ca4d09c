#include "support/fake_host.h"

#include "automation/error.h"

namespace zadeve::support {

using automation::err::AlreadyLoaded;
using automation::err::ControlArrayElementMissing;
using automation::makeObject;
using automation::raise;
using automation::toInteger;
using automation::toString;

namespace {
// The first argument of a call, as a real member would insist on.
Variant& first(std::span<Arg> args) {
  if (args.empty()) raise(automation::err::ArgumentNotOptional);
  return args[0].value();
}
}  // namespace

FakeToolbar::FakeToolbar() : FakeObject("ReVivezav") {
  acceptAnyCall();
  set("Tag", Variant(""));
  set("Visible", Variant(true));
  set("Vertical", Variant(false));
  on("parent", [this](FakeObject&, std::span<Arg>) { return Variant(ObjectRef(form_)); });
  on("IdealDepth", [this](FakeObject& self, std::span<Arg>) {
    bool vertical = automation::toBoolean(self.property("Vertical"));
    return Variant(vertical ? verticalDepth : horizontalDepth);
  });
}

FakeControlArray::FakeControlArray(automation::Object& form) : FakeObject("ControlArray"), form_(form) {
  elements_.push_back(makeObject<FakeToolbar>());
  elements_[0]->placeOn(&form_);
  on("", [this](FakeObject&, std::span<Arg> args) -> Variant {
    int16_t i = args.empty() ? int16_t(-1) : toInteger(args[0].value());
    auto e = element(i);
    if (!e) raise(ControlArrayElementMissing, "Control array element '" + std::to_string(i) + "' doesn't exist");
    return Variant(ObjectRef(e));
  });
  on("Load", [this](FakeObject&, std::span<Arg> args) -> Variant {
    int16_t i = toInteger(first(args));
    if (element(i)) raise(AlreadyLoaded);
    if (i < 0) raise(automation::err::InvalidCall);
    if (static_cast<size_t>(i) >= elements_.size()) elements_.resize(static_cast<size_t>(i) + 1);
    elements_[static_cast<size_t>(i)] = makeObject<FakeToolbar>();
    elements_[static_cast<size_t>(i)]->placeOn(&form_);
    return Variant();
  });
  on("Count", [this](FakeObject&, std::span<Arg>) {
    int16_t n = 0;
    for (const auto& e : elements_) n += e ? 1 : 0;
    return Variant(n);
  });
}

Ref<FakeToolbar> FakeControlArray::element(int16_t index) const {
  if (index < 0 || static_cast<size_t>(index) >= elements_.size()) return nullptr;
  return elements_[static_cast<size_t>(index)];
}

void FakeControlArray::drop(int16_t index) {
  if (auto e = element(index)) {
    e->placeOn(nullptr);
    elements_[static_cast<size_t>(index)] = nullptr;
  }
}

FakeForm::FakeForm(std::string name, int32_t scaleWidth, int32_t scaleHeight) : FakeObject("Form") {
  bars_ = makeObject<FakeControlArray>(*this);
  set("Name", Variant(std::move(name)));
  set("ScaleWidth", Variant(scaleWidth));
  set("ScaleHeight", Variant(scaleHeight));
  set("Tag", Variant(""));
  on("bar", [this](FakeObject&, std::span<Arg>) { return Variant(ObjectRef(bars_)); });
  on("Signal", [this](FakeObject& self, std::span<Arg> args) -> Variant {
    if (args.empty()) return self.property("Signal");
    std::string word = toString(args.back().value());
    self.set("Signal", Variant(word));
    signals.push_back(word);
    if (signalHandler_) signalHandler_(word);
    return Variant();
  });
}

FakeForm::~FakeForm() {
  for (int16_t i = 0; i < bars_->size(); ++i)
    if (auto e = bars_->element(i)) e->placeOn(nullptr);
}

FakeToolbarManager::FakeToolbarManager() : FakeObject("TBM") {
  on("Add", [this](FakeObject&, std::span<Arg> args) {
    items.push_back(automation::toObject(first(args)));
    return Variant();
  });
  on("Count", [this](FakeObject&, std::span<Arg>) { return Variant(static_cast<int16_t>(items.size())); });
  auto at = [this](std::span<Arg> args) -> size_t {
    int16_t pos = toInteger(first(args));
    if (pos < 1 || static_cast<size_t>(pos) > items.size()) raise(automation::err::Subscript);
    return static_cast<size_t>(pos - 1);
  };
  on("ItemAsObject", [this, at](FakeObject&, std::span<Arg> args) { return Variant(items[at(args)]); });
  on("Remove", [this, at](FakeObject&, std::span<Arg> args) {
    items.erase(items.begin() + static_cast<std::ptrdiff_t>(at(args)));
    return Variant();
  });
}

FakeShellApp::FakeShellApp() : FakeObject("ShellApp") {
  on("MsgBoxSub", [this](FakeObject&, std::span<Arg> args) {
    messages.push_back(toString(first(args)));
    return Variant();
  });
}

}  // namespace zadeve::support
