#include "components/text_catalog.h"

#include <cerrno>

#include "platform/profile_file_system.h"

namespace zadeve::components {

using namespace automation;

namespace {

constexpr std::string_view Source = "TextCatalog";
constexpr char ContextSeparator = '\x04';

// Only a regular file is read, and opening it never waits: a FIFO or a device given as
// the language file fails at once as any unreadable file does.
std::string readWholeFile(const std::string& path) {
  if (path.empty()) raise(err::FileNotFound, "File not found: '" + path + "'", std::string(Source));
  platform::FileStat stat;
  std::string text;
  const int error = platform::readRegularFile(platform::systemFileSystem(), path, stat, text);
  if (error == ENOENT || error == ENOTDIR)
    raise(err::FileNotFound, "File not found: '" + path + "'", std::string(Source));
  if (error != 0) raise(PathFileAccessError, "Path/File access error: '" + path + "'", std::string(Source));
  return text;
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
