#include "components/text_catalog.h"

#include <filesystem>
#include <fstream>
#include <sstream>


namespace zadeve::components {

using namespace automation;

namespace {

constexpr std::string_view Source = "TextCatalog";
constexpr char ContextSeparator = '\x04';

std::string readWholeFile(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::file_status status = fs::status(path, ec);
  if (path.empty() || status.type() == fs::file_type::not_found)
    raise(err::FileNotFound, "File not found: '" + path + "'", std::string(Source));
  std::ifstream in;
  if (!fs::is_directory(status)) in.open(path, std::ios::binary);
  if (!in.is_open())
    raise(PathFileAccessError, "Path/File access error: '" + path + "'", std::string(Source));
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) raise(PathFileAccessError, "Path/File access error: '" + path + "'", std::string(Source));
  return std::move(text).str();
}

bool isTranslation(const PoEntry& e) {
  return !e.msgid.empty() && !e.fuzzy && !e.msgidPlural && !e.msgstr.front().empty();
}

}  // namespace

void TextCatalog::LoadLanguageFile(const std::string& path) {
  std::vector<PoEntry> entries = parsePo(readWholeFile(path), path);
  decltype(translations_) loaded;
  loaded.reserve(entries.size());
  for (PoEntry& e : entries) {
    if (!isTranslation(e)) continue;
    std::string key = e.context ? *e.context + ContextSeparator + e.msgid : std::move(e.msgid);
    loaded.emplace(std::move(key), std::move(e.msgstr.front()));
  }
  translations_ = std::move(loaded);
}

std::string TextCatalog::Translate(std::string_view text, int32_t /*option*/) const {
  auto found = translations_.find(text);
  return found == translations_.end() ? std::string(text) : found->second;
}

std::string TextCatalog::translateInContext(std::string_view context, std::string_view text) const {
  std::string key;
  key.reserve(context.size() + 1 + text.size());
  key.append(context).append(1, ContextSeparator).append(text);
  auto found = translations_.find(key);
  return found == translations_.end() ? std::string(text) : found->second;
}

const MemberTable<TextCatalog>& TextCatalog::memberTable() {
  using V = VarType;
  static const MemberTable<TextCatalog> table(
      "TextCatalog",
      {
          {{"LoadLanguageFile", 1, InvokeKind::Method, {byRef("Path", V::String)}},
           [](TextCatalog& self, CallArgs& a) {
             self.LoadLanguageFile(a.string(0));
             return Variant();
           }},
          {{"Translate", 2, InvokeKind::Method,
            {byRef("Text", V::String), optionalParam(byRef("Option", V::Long), Variant(0))},
            V::String},
           [](TextCatalog& self, CallArgs& a) {
             return Variant(self.Translate(a.string(0), a.long_(1)));
           }},
      });
  return table;
}

TextCatalog& processCatalog() {
  // Held by a static so the instance lives until exit and is released there.
  static const Ref<TextCatalog> instance = makeObject<TextCatalog>();
  return *instance;
}

}  // namespace zadeve::components
