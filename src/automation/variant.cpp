#include "automation/variant.h"

namespace zadeve::automation {

std::string_view varTypeName(VarType t) {
  switch (t) {
    case VarType::Empty: return "Empty";
    case VarType::Null: return "Null";
    case VarType::Integer: return "Integer";
    case VarType::Long: return "Long";
    case VarType::Single: return "Single";
    case VarType::Double: return "Double";
    case VarType::String: return "String";
    case VarType::Boolean: return "Boolean";
    case VarType::Object: return "Object";
    case VarType::Missing: return "Error";
    case VarType::Variant: return "Variant";
  }
  return "Unknown";
}

}  // namespace zadeve::automation
