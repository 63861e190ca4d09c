#include "automation/error.h"

namespace zadeve::automation {

AutomationError::AutomationError(int32_t number, std::string description, std::string source)
    : number_(number), source_(std::move(source)), description_(std::move(description)) {}

std::string standardDescription(int32_t number) {
  switch (number) {
    case err::InvalidCall: return "Invalid procedure call or argument";
    case err::Overflow: return "Overflow";
    case err::Subscript: return "Subscript out of range";
    case err::DivisionByZero: return "Division by zero";
    case err::TypeMismatch: return "Type mismatch";
    case err::FileNotFound: return "File not found";
    case err::DeviceUnavailable: return "Device unavailable";
    case err::PathFileAccess: return "Path/File access error";
    case err::PathNotFound: return "Path not found";
    case err::InvalidFileFormat: return "Invalid file format";
    case err::ObjectNotSet: return "Object variable or With block variable not set";
    case err::InvalidUseOfNull: return "Invalid use of Null";
    case err::ControlArrayElementMissing: return "Control array element doesn't exist";
    case err::AlreadyLoaded: return "Object already loaded";
    case err::ObjectRequired: return "Object required";
    case err::CannotCreateObject: return "Component can't create object";
    case err::MemberMissing: return "Object doesn't support this property or method";
    case err::ArgumentNotOptional: return "Argument not optional";
    case err::WrongArgumentCount: return "Wrong number of arguments or invalid property assignment";
    case err::DuplicateKey: return "This key is already associated with an element of this collection";
    case err::InvalidPicture: return "Invalid picture";
    case err::InvalidApplicationObject: return "Invalid application object";
    default: return "Application-defined or object-defined error";
  }
}

void raise(int32_t number, std::string description, std::string source) {
  if (description.empty()) description = standardDescription(number);
  throw AutomationError(number, std::move(description), std::move(source));
}

}  // namespace zadeve::automation
