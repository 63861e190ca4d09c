#pragma once
// A COM caller's DISPPARAMS as the Args of one call on our object: in our order (COM
// passes them last first), omitted ones Missing, and every by-reference VARIANT bound
// to a Variant of ours whose changes go back to the caller's variable, typed or not.

#include <windows.h>
#include <oaidl.h>

#include <span>
#include <vector>

#include "automation/variant.h"

namespace zadeve::com {

class IncomingArgs {
 public:
  explicit IncomingArgs(const DISPPARAMS& params);
  IncomingArgs(const IncomingArgs&) = delete;
  IncomingArgs& operator=(const IncomingArgs&) = delete;

  std::span<automation::Arg> args() { return args_; }
  // Stores what the callee changed into the caller's by-reference VARIANTs. Raises 13 when
  // a value does not fit the caller's typed reference.
  void writeBack();

 private:
  struct Reference {
    VARIANT* target;
    automation::Variant original;
    size_t index;
  };
  std::vector<automation::Variant> values_;
  std::vector<automation::Arg> args_;
  std::vector<Reference> references_;
};

// Stores `value` through a by-reference VARIANT: VT_BYREF|VT_VARIANT takes it as it is,
// a typed reference converted to its type.
void storeThrough(VARIANT& reference, const automation::Variant& value);

}  // namespace zadeve::com
