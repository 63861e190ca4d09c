#include "type_library_idl.h"

#include <cctype>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "automation/conversions.h"
#include "core/type_library_enums.h"
#include "core/zuzuzud_library.h"
#include "core/zuzuzud_workspace.h"
#include "workspace/workspace_creation.h"

namespace zadeve::tools {
namespace {

using automation::InvokeKind;
using automation::MemberInfo;
using automation::Param;
using automation::Passing;
using automation::Variant;
using automation::VarType;

// Our own identities, fixed once: hosts and registries keep them.
constexpr std::string_view kLibraryId = "A0912FBD-FB31-49AC-8B8B-962854E3F3C4";

struct ClassIdentity {
  std::string_view name;
  std::string_view classId;
  std::string_view interfaceId;
  std::string_view attributes;  // of the coclass
  std::string_view help;
};

constexpr ClassIdentity kClasses[] = {
    {"ZuzuzudLibrary", "82ACF64C-6C1F-4176-9256-656EFB45854C", "BF61C9D0-8BFF-4D11-BB31-6CAE4225BFA7",
     "appobject", "The toolbar library"},
    {"ZuzuzudWorkspace", "2214DFB1-33F2-497B-B1AF-F798A224FCD6", "161CADBB-9E90-47A5-A867-C3484ACEE285",
     "noncreatable", "One context of the toolbar library"},
    {"WorkspaceCreation", "3ED763E4-ED1D-4D4C-8BF3-ACBD52316B42", "A77B7506-D21B-4ADA-A7A4-33431C5CFF06",
     "appobject", "Hands out workspaces"},
};

constexpr std::pair<std::string_view, std::string_view> kEnumerationIds[] = {
    {"ButtonTypesDeprecated", "7F4CBB99-3B5A-49FD-AE77-78A8B422D1BA"},
    {"ButtonFlags", "2C79E328-FA9C-45FB-B216-C27B075EAE21"},
};

// Object results that the interface types more closely than the table can.
const std::map<std::string_view, std::string_view> kTypedResults = {
    {"NewZuzuzudWorkspace", "_ZuzuzudWorkspace*"},
};

std::string_view idlType(VarType type) {
  switch (type) {
    case VarType::Integer: return "short";
    case VarType::Long: return "long";
    case VarType::Single: return "float";
    case VarType::Double: return "double";
    case VarType::String: return "BSTR";
    case VarType::Boolean: return "VARIANT_BOOL";
    case VarType::Object: return "IDispatch*";
    case VarType::Variant: return "VARIANT";
    default: throw std::logic_error("no IDL type for " + std::string(automation::varTypeName(type)));
  }
}

std::string lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

// widl's default values: numbers and booleans always; strings only on a by-value BSTR
// (it rejects them on BSTR*, which then stays optional without one).
std::string defaultValue(const Param& p) {
  const Variant& value = p.defaultValue;
  switch (value.type()) {
    case VarType::Missing: return "";
    case VarType::String:
      if (p.passing == Passing::ByRef) return "";
      return "defaultvalue(\"" + automation::toString(value) + "\")";
    case VarType::Boolean: return automation::toBoolean(value) ? "defaultvalue(-1)" : "defaultvalue(0)";
    default: return "defaultvalue(" + automation::toString(value) + ")";
  }
}

std::string parameter(const Param& p, bool lastOfPut) {
  std::vector<std::string> attributes;
  attributes.push_back(p.passing == Passing::ByRef && !lastOfPut ? "in, out" : "in");
  if (p.optional) {
    attributes.push_back("optional");
    if (auto d = defaultValue(p); !d.empty()) attributes.push_back(d);
  }
  // A property's new value goes in only; nothing could be written back to the caller.
  std::string type(idlType(p.type));
  if (p.passing == Passing::ByRef && !lastOfPut) type += "*";
  std::string out = "[";
  for (size_t i = 0; i < attributes.size(); ++i) out += (i ? ", " : "") + attributes[i];
  return out + "] " + type + " " + std::string(p.name);
}

std::string_view invokeAttribute(InvokeKind kind) {
  switch (kind) {
    case InvokeKind::PropertyGet: return ", propget";
    case InvokeKind::PropertyLet: return ", propput";
    case InvokeKind::PropertySet: return ", propputref";
    case InvokeKind::Method: return "";
  }
  return "";
}

std::string member(const MemberInfo& row) {
  std::ostringstream out;
  out << "    [id(" << row.slot << ")" << invokeAttribute(row.kind) << "] HRESULT " << row.name << "(";
  std::vector<std::string> params;
  const bool put = row.kind == InvokeKind::PropertyLet || row.kind == InvokeKind::PropertySet;
  for (size_t i = 0; i < row.params.size(); ++i)
    params.push_back(parameter(row.params[i], put && i + 1 == row.params.size()));
  if (row.result != VarType::Empty) {
    auto typed = kTypedResults.find(row.name);
    std::string type = typed != kTypedResults.end() ? std::string(typed->second) : std::string(idlType(row.result));
    params.push_back("[out, retval] " + type + "* result");
  }
  for (size_t i = 0; i < params.size(); ++i) out << (i ? ", " : "") << params[i];
  out << ");\n";
  return out.str();
}

// The type library's name table is shared and case-insensitive, and the first spelling
// wins: a parameter spelt like a member in another case would rename the member.
void checkNames(const std::vector<const MemberInfo*>& rows) {
  std::map<std::string, std::string_view> members;
  for (const auto* row : rows) members.emplace(lower(row->name), row->name);
  for (const auto* row : rows)
    for (const auto& p : row->params)
      if (auto m = members.find(lower(p.name)); m != members.end() && m->second != p.name)
        throw std::logic_error("parameter " + std::string(p.name) + " of " + std::string(row->name) +
                               " would respell member " + std::string(m->second));
}

template <class T>
std::vector<const MemberInfo*> rowsOf() {
  std::vector<const MemberInfo*> rows;
  for (const auto& row : T::memberTable().members()) rows.push_back(&row);
  return rows;
}

void writeInterface(std::ostream& out, const ClassIdentity& identity, const std::vector<const MemberInfo*>& rows) {
  checkNames(rows);
  out << "[\n  uuid(" << identity.interfaceId << "),\n  dual,\n  oleautomation,\n  hidden\n]\n"
      << "interface _" << identity.name << " : IDispatch {\n";
  for (const auto* row : rows) out << member(*row);
  out << "};\n\n";
}

}  // namespace

std::string typeLibraryIdl() {
  std::ostringstream out;
  out << "// Written by tools/zadeve_idl from the member tables; do not edit.\n"
         "import \"zadeve_prelude.idl\";\n\n";
  std::map<std::string_view, std::vector<const MemberInfo*>> rows = {
      {"ZuzuzudLibrary", rowsOf<core::ZuzuzudLibrary>()},
      {"ZuzuzudWorkspace", rowsOf<core::ZuzuzudWorkspace>()},
      {"WorkspaceCreation", rowsOf<workspace::WorkspaceCreation>()},
  };
  for (const auto& identity : kClasses) out << "interface _" << identity.name << ";\n";
  out << "\n";
  for (const auto& identity : kClasses) writeInterface(out, identity, rows.at(identity.name));

  out << "[\n  uuid(" << kLibraryId << "),\n  version(1.0),\n  helpstring(\"ZADEVE toolbars\")\n]\n"
      << "library ZADEVE {\n  importlib(\"stdole2.tlb\");\n\n";
  for (const auto& enumeration : core::typeLibraryEnumerations()) {
    std::string_view id;
    for (const auto& [name, uuid] : kEnumerationIds)
      if (name == enumeration.name) id = uuid;
    if (id.empty()) throw std::logic_error("no identity for " + std::string(enumeration.name));
    out << "  typedef [uuid(" << id << ")] enum " << enumeration.name << " {\n";
    for (size_t i = 0; i < enumeration.constants.size(); ++i) {
      const auto& c = enumeration.constants[i];
      out << "    " << c.name << " = " << c.value << (i + 1 < enumeration.constants.size() ? ",\n" : "\n");
    }
    out << "  } " << enumeration.name << ";\n\n";
  }
  for (const auto& identity : kClasses) {
    out << "  [\n    uuid(" << identity.classId << "),\n    helpstring(\"" << identity.help << "\"),\n    "
        << identity.attributes << "\n  ]\n  coclass " << identity.name << " {\n    [default] interface _"
        << identity.name << ";\n  };\n\n";
  }
  out << "};\n";
  return out.str();
}

}  // namespace zadeve::tools
