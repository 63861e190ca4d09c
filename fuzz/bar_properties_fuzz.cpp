// Bar property strings: KaTGetProp, KaTSetProp and KaTBarName on a toolbar of our own
// control whose Tag is arbitrary, late-bound as a host calls them and typed.
//
// Input: a byte choosing the types of the value and the default and whether the Tag is
// pushed out to the 16-bit positions, a byte for how far, then the Tag, the key, the
// default and the value (each ended by a backslash and one more character).
//
// What must hold: a key that is not in the Tag gives the default back as it was; a key
// found gives the text between its "=" and the next ";"; a set touches nothing outside the
// field (or only appends); a key without "=" and ";" set to a value without ";" reads back
// as that value. A get fails only with Overflow, for a field beyond the 16-bit positions,
// or with Invalid call, for a key holding ";" (its value would have a negative length).

#include <cstring>

#include "automation/conversions.h"
#include "automation/dispatch.h"
#include "automation/error.h"
#include "core/zuzuzud_library.h"
#include "fuzz_support.h"
#include "vizevore/revivezav.h"

using namespace zadeve;
using automation::ObjectRef;
using automation::Variant;

namespace {

constexpr size_t Positions = 32767;

Variant valueOf(uint8_t type, const std::string& text) {
  switch (type % 4) {
    case 1: {
      int16_t n = 0;
      std::memcpy(&n, text.data(), std::min(text.size(), sizeof n));
      return Variant(n);
    }
    case 2: {
      double d = 0;
      std::memcpy(&d, text.data(), std::min(text.size(), sizeof d));
      return Variant(d);
    }
    case 3:
      return Variant(!text.empty() && text[0] % 2 == 1);
    default:
      return Variant(text);
  }
}

core::ZuzuzudLibrary& library() {
  static const auto lib = automation::makeObject<core::ZuzuzudLibrary>();
  return *lib;
}

// Whether the field of `key` lies beyond the 16-bit positions (1-based, as the Tag counts).
bool beyondPositions(const std::string& tag, const std::string& key) {
  const size_t p = tag.find(key + "=");
  if (p == std::string::npos) return false;
  const size_t q = std::min(tag.find(';', p), tag.size());
  return p + 1 > Positions || q + 1 > Positions;
}

bool overflows(const automation::AutomationError& e, const std::string& tag, const std::string& key) {
  return e.number() == automation::err::Overflow && beyondPositions(tag, key);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::InputReader input(data, size);
  const uint8_t choice = input.byte();
  const uint8_t reach = input.byte();
  std::string tag = input.string(4096);
  const std::string key = input.string(64);
  const std::string defaultText = input.string(64);
  const std::string valueText = input.string(256);
  // Inputs of a few KB never reach the 16-bit limit: blanks in front take the Tag there.
  if (choice & 0x20) tag.insert(0, Positions - 128 + reach, ' ');

  auto& lib = library();
  auto bar = automation::makeObject<vizevore::ReVivezav>();
  bar->setTag(tag);
  const ObjectRef tb(bar);
  const Variant dv = (choice & 0x10) ? Variant(int16_t(7)) : Variant(defaultText);
  const Variant value = valueOf(choice, valueText);
  const size_t p = tag.find(key + "=");
  const bool tooFar = beyondPositions(tag, key);

  // Get, late-bound with the arguments by reference, as a host makes the call.
  Variant keyArg(key), dvArg(dv), tbArg(tb);
  Variant got;
  try {
    got = automation::callMethod(lib, "KaTGetProp", {automation::byRef(tbArg), automation::byRef(keyArg),
                                                     automation::byRef(dvArg)});
  } catch (const automation::AutomationError& e) {
    const bool keyEndsItsField =
        e.number() == automation::err::InvalidCall && p != std::string::npos && key.find(';') != std::string::npos;
    FUZZ_CHECK(overflows(e, tag, key) || keyEndsItsField,
               "a get failed other than by overflow of a long Tag or a key holding ';'");
    return 0;
  }
  FUZZ_CHECK(!tooFar, "a field beyond the 16-bit positions did not overflow");
  FUZZ_CHECK(p == std::string::npos || key.find(';') == std::string::npos, "a key holding ';' gave a value");
  FUZZ_CHECK(keyArg == Variant(key) && dvArg == dv, "a get changed its arguments");
  if (p == std::string::npos) {
    FUZZ_CHECK(got == dv, "a key not in the Tag did not give the default back");
  } else {
    FUZZ_CHECK(got.isString(), "a value found is not a string");
    const std::string& text = got.string();
    FUZZ_CHECK(text.find(';') == std::string::npos, "a value found runs over a ';'");
    const size_t end = p + key.size() + 1 + text.size();
    FUZZ_CHECK(tag.compare(p + key.size() + 1, text.size(), text) == 0 && (end == tag.size() || tag[end] == ';'),
               "a value found is not the text between its '=' and the next ';'");
  }
  FUZZ_CHECK(lib.KaTGetProp(tb, key, dv) == got, "the typed get differs from the late-bound one");

  try {
    const std::string name = lib.KaTBarName(tb);
    FUZZ_CHECK(Variant(name) == lib.KaTGetProp(tb, "Name", Variant("")), "KaTBarName differs from the Name field");
  } catch (const automation::AutomationError& e) {
    FUZZ_CHECK(overflows(e, tag, "Name"), "KaTBarName failed other than by overflow of a long Tag");
  }

  // Set, late-bound.
  Variant valueArg(value);
  try {
    automation::callMethod(lib, "KaTSetProp", {automation::byRef(tbArg), automation::byRef(keyArg),
                                               automation::byRef(valueArg)});
  } catch (const automation::AutomationError& e) {
    FUZZ_CHECK(overflows(e, tag, key), "a set failed other than by overflow of a long Tag");
    FUZZ_CHECK(bar->tag() == tag, "a failed set changed the Tag");
    return 0;
  }
  FUZZ_CHECK(!tooFar, "a set of a field beyond the 16-bit positions did not overflow");
  const std::string& after = bar->tag();
  const std::string field = key + "=" + automation::toString(value);
  if (p == std::string::npos) {
    const std::string expected = (tag == ";" ? tag : tag + ";") + field;
    FUZZ_CHECK(after == expected, "a new key was not appended as its own field");
  } else {
    const size_t q = std::min(tag.find(';', p), tag.size());
    FUZZ_CHECK(after.compare(0, p, tag, 0, p) == 0, "a set changed the Tag before the field");
    FUZZ_CHECK(after.compare(p, field.size(), field) == 0, "a set did not write key=value into the field");
    FUZZ_CHECK(after.compare(p + field.size(), std::string::npos, tag, q) == 0, "a set changed the Tag after the field");
  }

  const std::string written = automation::toString(value);
  if (key.find_first_of("=;") == std::string::npos && written.find(';') == std::string::npos) {
    try {
      FUZZ_CHECK(lib.KaTGetProp(tb, key, dv) == Variant(written), "a value set does not read back");
    } catch (const automation::AutomationError& e) {
      FUZZ_CHECK(overflows(e, after, key), "reading back failed other than by overflow of a long Tag");
    }
  }
  return 0;
}
