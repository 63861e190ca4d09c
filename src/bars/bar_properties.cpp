// The bar property string: fields "key=value" separated by ";" in a bar's Tag. A key is
// found by its first occurrence followed by "=", anywhere in the string and with case
// (so "Pos" is found inside "FloatPos=..."). Positions are 16-bit, as they always were:
// a Tag whose positions do not fit raises Overflow.

#include "automation/conversions.h"
#include "automation/error.h"
#include "core/host_contracts.h"
#include "core/zuzuzud_library.h"

namespace zadeve::core {
namespace {

struct Field {
  size_t start;  // 0-based start of the key
  size_t end;    // 0-based position of the ";" ending the value, or the Tag's length
};

void checkPosition(size_t oneBased) {
  if (oneBased > 32767) automation::raise(automation::err::Overflow);
}

std::optional<Field> findField(const std::string& tag, const std::string& key) {
  size_t p = tag.find(key + "=");
  if (p == std::string::npos) return std::nullopt;
  checkPosition(p + 1);
  size_t q = tag.find(';', p);
  if (q == std::string::npos) q = tag.size();
  checkPosition(q + 1);
  return Field{p, q};
}

}  // namespace

Variant ZuzuzudLibrary::KaTGetProp(const ObjectRef& tb, const std::string& Key, const Variant& dv) {
  std::string tag = Toolbar(tb).Tag();
  auto field = findField(tag, Key);
  if (!field) return dv;
  size_t valueStart = field->start + Key.size() + 1;
  // A key holding ";" ends its own field: the value would have a negative length, which
  // the runtime's substring refuses.
  if (field->end < valueStart) automation::raise(automation::err::InvalidCall);
  return Variant(tag.substr(valueStart, field->end - valueStart));
}

void ZuzuzudLibrary::KaTSetProp(const ObjectRef& tb, const std::string& Key, const Variant& v) {
  Toolbar bar(tb);
  std::string tag = bar.Tag();
  std::string value = automation::toString(v);
  if (auto field = findField(tag, Key)) {
    tag = tag.substr(0, field->start) + Key + "=" + value + tag.substr(field->end);
  } else {
    if (tag != ";") tag += ";";
    tag += Key + "=" + value;
  }
  bar.Tag(tag);
}

std::string ZuzuzudLibrary::KaTBarName(const ObjectRef& aBar) {
  return automation::toString(KaTGetProp(aBar, "Name", Variant("")));
}

}  // namespace zadeve::core
