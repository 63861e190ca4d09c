#pragma once
// The one error type of the automation runtime: a number, a source and a description,
// as a late-bound call reports it to its caller.

#include <cstdint>
#include <exception>
#include <string>

namespace zadeve::automation {

// The runtime's usual error numbers.
namespace err {
inline constexpr int32_t InvalidCall = 5;
inline constexpr int32_t Overflow = 6;
inline constexpr int32_t Subscript = 9;
inline constexpr int32_t DivisionByZero = 11;
inline constexpr int32_t TypeMismatch = 13;
inline constexpr int32_t FileNotFound = 53;
inline constexpr int32_t DeviceUnavailable = 68;
inline constexpr int32_t PathFileAccess = 75;
inline constexpr int32_t PathNotFound = 76;
inline constexpr int32_t ObjectNotSet = 91;
inline constexpr int32_t InvalidUseOfNull = 94;
inline constexpr int32_t InvalidFileFormat = 321;
inline constexpr int32_t ControlArrayElementMissing = 340;
inline constexpr int32_t AlreadyLoaded = 360;
inline constexpr int32_t ObjectRequired = 424;
inline constexpr int32_t CannotCreateObject = 429;
inline constexpr int32_t MemberMissing = 438;
inline constexpr int32_t ArgumentNotOptional = 449;
inline constexpr int32_t WrongArgumentCount = 450;
inline constexpr int32_t DuplicateKey = 457;
inline constexpr int32_t InvalidPicture = 481;
inline constexpr int32_t InvalidApplicationObject = 20000;
}  // namespace err

class AutomationError : public std::exception {
 public:
  AutomationError(int32_t number, std::string description, std::string source = {});

  int32_t number() const noexcept { return number_; }
  const std::string& source() const noexcept { return source_; }
  const std::string& description() const noexcept { return description_; }
  const char* what() const noexcept override { return description_.c_str(); }

 private:
  int32_t number_;
  std::string source_;
  std::string description_;
};

// The runtime's own text for a standard error number ("Type mismatch" for 13, ...);
// "Application-defined or object-defined error" for numbers it does not know.
std::string standardDescription(int32_t number);

// Raises `number`; an empty description takes the standard text.
[[noreturn]] void raise(int32_t number, std::string description = {}, std::string source = {});

}  // namespace zadeve::automation
