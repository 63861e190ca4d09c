#include "automation/member_table.h"

namespace zadeve::automation {
namespace {

bool kindsMeet(InvokeKind call, InvokeKind row) {
  if (call == row) return true;
  auto reads = [](InvokeKind k) { return k == InvokeKind::Method || k == InvokeKind::PropertyGet; };
  return reads(call) == reads(row);
}

}  // namespace

const MemberInfo& findMember(std::span<const MemberInfo* const> rows, std::string_view name,
                             InvokeKind kind) {
  const MemberInfo* fallback = nullptr;
  for (const MemberInfo* row : rows) {
    bool named = name.empty() ? row->isDefault : equalsIgnoreCase(row->name, name);
    if (!named || !kindsMeet(kind, row->kind)) continue;
    if (row->kind == kind) return *row;
    if (!fallback) fallback = row;
  }
  if (fallback) return *fallback;
  raise(err::MemberMissing);
}

Binding::Binding(const MemberInfo& member, std::span<Arg> args) : member_(member) {
  callArgs_.member_ = &member;
  const auto& params = member.params;
  if (args.size() > params.size()) raise(err::WrongArgumentCount);
  // Temporaries are addressed by index: fill them all before taking addresses.
  temps_.reserve(params.size());
  std::vector<std::ptrdiff_t> tempOf(params.size(), -1);
  std::vector<Variant*> direct(params.size(), nullptr);

  for (size_t i = 0; i < params.size(); ++i) {
    const Param& p = params[i];
    Arg* a = i < args.size() ? &args[i] : nullptr;
    if (!a || a->value().isMissing()) {
      if (!p.optional) raise(err::ArgumentNotOptional, "Argument not optional: " + std::string(p.name));
      tempOf[i] = static_cast<std::ptrdiff_t>(temps_.size());
      temps_.push_back(p.defaultValue);
      continue;
    }
    Variant& given = a->value();
    bool sameType = p.type == VarType::Variant || given.type() == p.type;
    if (p.passing == Passing::ByRef && a->byRef() && sameType) {
      direct[i] = &given;
      continue;
    }
    tempOf[i] = static_cast<std::ptrdiff_t>(temps_.size());
    temps_.push_back(convertTo(given, p.type));
    if (p.passing == Passing::ByRef && a->byRef())
      copies_.push_back({static_cast<size_t>(tempOf[i]), &given, temps_.back()});
  }
  for (size_t i = 0; i < params.size(); ++i)
    callArgs_.slots_.push_back(direct[i] ? direct[i] : &temps_[static_cast<size_t>(tempOf[i])]);
}

void Binding::writeBack() {
  for (const Copy& c : copies_)
    if (!(temps_[c.temp] == c.original)) *c.caller = temps_[c.temp];
}

Variant Binding::result(Variant value) const {
  if (member_.result == VarType::Empty) return Variant();
  if (member_.result == VarType::Variant) return value;
  return convertTo(value, member_.result);
}

}  // namespace zadeve::automation
