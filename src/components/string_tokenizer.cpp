#include "components/string_tokenizer.h"

#include <utility>

namespace zadeve::components {

using namespace automation;

std::string StringTokenizer::NextToken(std::string& source, std::string_view delimiter) const {
  size_t at = delimiter.empty() ? std::string::npos : source.find(delimiter);
  if (at == std::string::npos) {
    std::string token = std::move(source);
    source.clear();
    return token;
  }
  std::string token = source.substr(0, at);
  source.erase(0, at + delimiter.size());
  return token;
}

const MemberTable<StringTokenizer>& StringTokenizer::memberTable() {
  using V = VarType;
  static const MemberTable<StringTokenizer> table(
      "StringTokenizer",
      {
          {{"NextToken", 1, InvokeKind::Method,
            {byRef("Source", V::String), byRef("Delimiter", V::String)}, V::String},
           [](StringTokenizer& self, CallArgs& a) {
             std::string source = a.string(0);
             std::string token = self.NextToken(source, a.string(1));
             a[0] = Variant(std::move(source));
             return Variant(std::move(token));
           }},
      });
  return table;
}

StringTokenizer& processTokenizer() {
  // Held by a static so the instance lives until exit and is released there.
  static const Ref<StringTokenizer> instance = makeObject<StringTokenizer>();
  return *instance;
}

}  // namespace zadeve::components
