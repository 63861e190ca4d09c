// Profile writes: an arbitrary file and one write (set a key, delete a key, delete a
// section, or a write without a section). Either the write succeeds and its effect reads
// back, or it fails and the file is unchanged; every line the write does not touch stays
// byte for byte.
//
// Input: a byte choosing the write, then section, key and value (each ended by a
// backslash and one more character), then the file's bytes.

#include <optional>

#include "fuzz_support.h"
#include "platform/profile.h"
#include "profile_model.h"

using namespace zadeve;
namespace model = fuzz::model;

namespace {

enum class Write { Set, DeleteKey, DeleteSection, NoSection };

// The lines only one side has, once the lines both sides share at the start and at the
// end are set aside.
struct Difference {
  std::vector<model::Line> removed;
  std::vector<model::Line> added;
};

Difference difference(const std::vector<model::Line>& before, const std::vector<model::Line>& after) {
  auto same = [](const model::Line& a, const model::Line& b) { return a.text == b.text && a.end == b.end; };
  size_t head = 0;
  while (head < before.size() && head < after.size() && same(before[head], after[head])) ++head;
  size_t tail = 0;
  while (tail < before.size() - head && tail < after.size() - head &&
         same(before[before.size() - 1 - tail], after[after.size() - 1 - tail]))
    ++tail;
  return {{before.begin() + head, before.end() - tail}, {after.begin() + head, after.end() - tail}};
}

bool isKeyNamed(const model::Line& line, std::string_view key) {
  const auto m = model::meaning(line.text);
  return m.kind == model::Kind::Key && model::sameName(m.name, key);
}

bool isHeaderNamed(const model::Line& line, std::string_view section) {
  const auto m = model::meaning(line.text);
  return m.kind == model::Kind::Header && model::sameName(m.name, section);
}

// A caller's name as the profile functions match it.
std::string_view nameOf(std::string_view name) { return model::trim(model::beforeNul(name)); }

bool hasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

// Names and values that a file line can hold and give back: a line break would start a
// new line, and a key that is really a comment, a header or "name=more" reads otherwise.
bool readsBack(std::string_view section, std::string_view key, std::string_view value) {
  const std::string_view k = nameOf(key);
  return !hasLineBreak(nameOf(section)) && !hasLineBreak(k) && !hasLineBreak(model::beforeNul(value)) &&
         k.find('=') == std::string_view::npos && !k.starts_with(';') && !k.starts_with('[');
}

// A set either rewrote one key line in place, keeping "key =" and its line end, or added
// a key line (after a new header when the section was new); the old last line may have
// gained the line end it lacked.
void checkSet(const Difference& d, std::string_view section, std::string_view key) {
  if (d.removed.empty() && d.added.empty()) return;  // the key already had that value
  if (d.removed.size() == 1 && d.added.size() == 1 && isKeyNamed(d.removed[0], key)) {
    const model::Line& was = d.removed[0];
    const model::Line& now = d.added[0];
    const size_t equals = was.text.find('=');
    FUZZ_CHECK(now.text.substr(0, equals + 1) == was.text.substr(0, equals + 1), "the key's own spelling changed");
    FUZZ_CHECK(now.end == was.end, "the replaced line's end changed");
    return;
  }
  size_t at = 0;
  if (d.removed.size() == 1) {
    // Only the last line without a line end may change, and only by gaining one.
    FUZZ_CHECK(d.removed[0].end.empty(), "a set changed a line other than its key's");
    FUZZ_CHECK(!d.added.empty() && d.added[0].text == d.removed[0].text && !d.added[0].end.empty(),
               "the last line changed beyond its line end");
    at = 1;
  } else {
    FUZZ_CHECK(d.removed.empty(), "a set removed lines");
  }
  const size_t count = d.added.size() - at;
  FUZZ_CHECK(count == 1 || count == 2, "a set added other than a key line or a section");
  if (count == 2) FUZZ_CHECK(isHeaderNamed(d.added[at], section), "a new section without its header");
  FUZZ_CHECK(isKeyNamed(d.added.back(), key), "the added line is not the key");
}

// The file without the first key line of that name in the first section of that name
// (`key` true), or without that section's header and every line up to the next header.
std::string withoutDeleted(std::string_view file, std::string_view section, bool key, std::string_view keyName) {
  const auto lines = model::lines(file);
  auto offset = [&](const model::Line& line) { return static_cast<size_t>(line.text.data() - file.data()); };
  for (size_t i = 0; i < lines.size(); ++i) {
    if (!isHeaderNamed(lines[i], section)) continue;
    size_t end = i + 1;
    while (end < lines.size() && model::meaning(lines[end].text).kind != model::Kind::Header) ++end;
    size_t from = offset(lines[i]), to = end < lines.size() ? offset(lines[end]) : file.size();
    if (key) {
      size_t k = i + 1;
      while (k < end && !isKeyNamed(lines[k], keyName)) ++k;
      if (k == end) return std::string(file);
      from = offset(lines[k]), to = from + lines[k].text.size() + lines[k].end.size();
    }
    return std::string(file.substr(0, from)) + std::string(file.substr(to));
  }
  return std::string(file);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::InputReader input(data, size);
  const auto write = static_cast<Write>(input.byte() % 4);
  const std::string section = input.string(128);
  const std::string key = input.string(128);
  const std::string value = input.string(300);
  const std::string before = input.rest();

  auto& scratch = fuzz::ScratchFolder::instance();
  const std::string path = scratch.write("write.ini", before);
  std::optional<std::string_view> s = section, k = key, v = value;
  if (write == Write::DeleteKey) v.reset();
  if (write == Write::DeleteSection) k.reset(), v.reset();
  if (write == Write::NoSection) s.reset();

  const bool ok = platform::writeProfileString(s, k, v, path);
  const std::string after = fuzz::ScratchFolder::read(path);
  if (!ok) {
    FUZZ_CHECK(after == before, "a failed write changed the file");
    const bool refused = write == Write::NoSection ||
                         (write == Write::Set && nameOf(key).empty());
    FUZZ_CHECK(refused, "a write into a writable file failed");
    return 0;
  }
  FUZZ_CHECK(write != Write::NoSection, "a write without a section succeeded");
  const bool bom = before.starts_with("\xEF\xBB\xBF");
  FUZZ_CHECK(after.starts_with("\xEF\xBB\xBF") == bom, "the byte-order mark changed");

  const Difference d = difference(model::lines(before), model::lines(after));
  switch (write) {
    case Write::Set:
      if (!readsBack(section, key, value)) {
        // What the lines now mean is anyone's guess, but old lines still stay as they were.
        FUZZ_CHECK(d.removed.size() <= 1, "a set changed more than one line");
        break;
      }
      checkSet(d, nameOf(section), nameOf(key));
      {
        const std::string expected(model::withoutOuterQuotes(model::trim(model::beforeNul(value))));
        const std::string back = platform::readProfileString(section, key, "\x01", path, expected.size() + 2);
        FUZZ_CHECK(back == expected, "the value written does not read back");
        FUZZ_CHECK(platform::writeProfileString(section, key, value, path), "writing the same value again failed");
        FUZZ_CHECK(fuzz::ScratchFolder::read(path) == after, "writing the same value again changed the file");
      }
      break;
    case Write::DeleteKey:
    case Write::DeleteSection:
      // Byte for byte: only the deleted bytes go. (A line that ended with a lone CR may
      // now meet an empty line's LF, which then reads as its line end; no byte moved.)
      FUZZ_CHECK(after == withoutDeleted(before, nameOf(section), write == Write::DeleteKey, nameOf(key)),
                 "a delete took other bytes than the first key of that name, or the first section");
      break;
    case Write::NoSection:
      break;
  }
  return 0;
}
