#pragma once

// The one place that decides what a line of a profile file means. Reading, indexing and
// editing all go through ProfileLineReader, so they can never disagree about a line.

#include <cstddef>
#include <string_view>

namespace zadeve::platform {

inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// Blanks as profile files trim them; 0x1A is the old end-of-file mark some editors leave.
constexpr bool isProfileBlank(char c) noexcept {
  return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\x1a';
}

std::string_view trimProfileBlanks(std::string_view text) noexcept;

// Callers hand over C strings on the system interface, so anything after a NUL is not there.
std::string_view cutAtNul(std::string_view text) noexcept;

// A caller's section or key name as it is matched: up to its first NUL, blanks trimmed.
std::string_view normalizeProfileName(std::string_view name) noexcept;

// Names match without regard to case, ASCII letters only; other bytes must be equal.
bool profileNamesEqual(std::string_view a, std::string_view b) noexcept;

struct ProfileNameHash {
  std::size_t operator()(std::string_view name) const noexcept;
};

struct ProfileNameEqual {
  bool operator()(std::string_view a, std::string_view b) const noexcept {
    return profileNamesEqual(a, b);
  }
};

enum class ProfileLineKind { Blank, Comment, Header, Key, Other };

struct ProfileLine {
  std::size_t begin = 0;       // offset of the line's first byte
  std::size_t eol = 0;         // offset of its line end (the text's end for a last line without one)
  std::size_t next = 0;        // offset of the following line
  std::size_t valueBegin = 0;  // for a key: offset just past its '='
  ProfileLineKind kind = ProfileLineKind::Blank;
  std::string_view name;   // header or key name, trimmed
  std::string_view value;  // key value, trimmed, ended by a NUL
};

// Walks profile text line by line. Lines end at LF, CRLF or a lone CR; a UTF-8 byte-order
// mark at the very start is not part of the first line.
class ProfileLineReader {
 public:
  explicit ProfileLineReader(std::string_view text) noexcept;

  bool next(ProfileLine& line) noexcept;

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

// Bytes of a byte-order mark at the start of the text (0 or 3).
std::size_t profileBomLength(std::string_view text) noexcept;

// The line end a file already uses (its first one), CRLF for a file that has none yet.
std::string_view profileLineEnd(std::string_view text) noexcept;

}  // namespace zadeve::platform
