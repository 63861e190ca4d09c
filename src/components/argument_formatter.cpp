#include "components/argument_formatter.h"

#include <array>

#include "automation/dispatch.h"

namespace zadeve::components {

using namespace automation;

namespace {

constexpr size_t ArgumentCount = 9;

std::string plainText(const Variant& value) {
  switch (value.type()) {
    case VarType::Missing: return {};
    case VarType::Null: return "Null";
    default: return toString(value);
  }
}

std::string objectText(Object& object) {
  try {
    Variant value = getProperty(object, "");
    if (!value.isObject()) return plainText(value);
  } catch (const AutomationError&) {
    // No default member, or one that needs arguments: fall back to the class name.
  }
  return "[" + std::string(object.typeName()) + "]";
}

}  // namespace

std::string argumentText(const Variant& value) {
  if (!value.isObject()) return plainText(value);
  if (value.isNothing()) return "Nothing";
  return objectText(*value.object());
}

std::string ArgumentFormatter::SubstituteArguments(std::string_view text,
                                                   std::span<const Variant> args) const {
  std::string out;
  out.reserve(text.size() + 32);
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c != '^' || i + 1 == text.size()) {
      out += c;
      continue;
    }
    char next = text[i + 1];
    if (next >= '1' && next <= '9') {
      size_t n = static_cast<size_t>(next - '1');
      if (n < args.size()) out += argumentText(args[n]);
    } else if (next == 'n' || next == 'N') {
      out += LineBreak;
    } else if (next == '^') {
      out += '^';
    } else {
      out += c;
      continue;
    }
    ++i;
  }
  return out;
}

const MemberTable<ArgumentFormatter>& ArgumentFormatter::memberTable() {
  using V = VarType;
  static const MemberTable<ArgumentFormatter> table(
      "ArgumentFormatter",
      {
          {{"SubstituteArguments", 1, InvokeKind::Method,
            {byRef("Text", V::String), optionalParam(byRef("a1", V::Variant)),
             optionalParam(byRef("a2", V::Variant)), optionalParam(byRef("a3", V::Variant)),
             optionalParam(byRef("a4", V::Variant)), optionalParam(byRef("a5", V::Variant)),
             optionalParam(byRef("a6", V::Variant)), optionalParam(byRef("a7", V::Variant)),
             optionalParam(byRef("a8", V::Variant)), optionalParam(byRef("a9", V::Variant))},
            V::String},
           [](ArgumentFormatter& self, CallArgs& a) {
             std::array<Variant, ArgumentCount> args;
             for (size_t i = 0; i < ArgumentCount; ++i) args[i] = a[i + 1];
             return Variant(self.SubstituteArguments(a.string(0), args));
           }},
      });
  return table;
}

ArgumentFormatter& processFormatter() {
  // Held by a static so the instance lives until exit and is released there.
  static const Ref<ArgumentFormatter> instance = makeObject<ArgumentFormatter>();
  return *instance;
}

}  // namespace zadeve::components
