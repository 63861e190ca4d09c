#pragma once
// A form's `bar` control array: ReVivezav controls by index. Element 0 exists from the
// start, as if placed at design time; Load creates further elements, each attached to the
// form, which receives its events. On a form that is a real window each element has a
// child window of its own (toolbar_window.h) until it is dropped. The array does not own
// its form: the form detaches it (orphan) before it goes, so no control is left with a
// dangling parent.

#include <cstdint>
#include <functional>
#include <vector>

#include "automation/member_table.h"
#include "vizevore/revivezav.h"

namespace zadeve::host {

class HeadlessForm;

class ControlArray : public automation::Dispatchable<ControlArray> {
 public:
  static const automation::MemberTable<ControlArray>& memberTable();

  // Creates element 0 on the form.
  explicit ControlArray(HeadlessForm& form);
  ~ControlArray() override;

  // The element, or nullptr where there is none.
  automation::Ref<vizevore::ReVivezav> element(int32_t index) const;
  // The element; raises 340 "Control array element 'i' doesn't exist".
  automation::Ref<vizevore::ReVivezav> item(int32_t index) const;
  // Creates element `index` (0 to 32767): 360 when it exists, 5 when out of range.
  automation::Ref<vizevore::ReVivezav> load(int32_t index);
  int16_t count() const;
  // Highest index in use, -1 when empty.
  int16_t upperBound() const;
  int16_t indexOf(const vizevore::ReVivezav& control) const;

  // Detaches and drops every element Load made, as a host's Unload bar(i) does: element 0
  // stays, as a control placed at design time does, and the array is as it was at first.
  void unloadLoaded();
  // Detaches and drops every element (the form unloads); Load works again afterwards.
  void clear();
  // Detaches everything and forgets the form (the form is going away).
  void orphan();

 private:
  struct Element {
    automation::Ref<vizevore::ReVivezav> bar;
    std::function<void()> closeWindow;  // empty where the bar has no window
  };
  static Element placeOn(HeadlessForm& form);
  // Closes the windows of, detaches and drops the elements from `first` on.
  void dropFrom(size_t first);

  HeadlessForm* form_;
  std::vector<Element> elements_;
};

}  // namespace zadeve::host
