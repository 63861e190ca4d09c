#include "automation/member_table.h"

namespace zadeve::automation {
namespace {

bool kindsMeet(InvokeKind call, InvokeKind row) {
  if (call == row) return true;
  auto reads = [](InvokeKind k) { return k == InvokeKind::Method || k == InvokeKind::PropertyGet; };
  return reads(call) == reads(row);
}

// FNV-1a over the upper-case letters: the key under which every spelling of a name meets.
uint64_t caselessHash(std::string_view name) {
  uint64_t h = 14695981039346656037ull;
  for (char c : name) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  }
  return h;
}

}  // namespace

MemberIndex::MemberIndex(std::span<const MemberInfo* const> rows) {
  for (const MemberInfo* row : rows) {
    byName_[caselessHash(row->name)].push_back(row);
    if (row->isDefault) defaults_.push_back(row);
  }
}

const MemberInfo& MemberIndex::find(std::string_view name, InvokeKind kind) const {
  if (name.empty()) return findMember(defaults_, name, kind);
  auto it = byName_.find(caselessHash(name));
  // Rows that only share the hash are told apart by findMember's own comparison.
  if (it == byName_.end()) return findMember({}, name, kind);
  return findMember(it->second, name, kind);
}

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
  // Reserved up front, so the temporaries never move while slots point at them.
  temps_.reserve(params.size());
  callArgs_.slots_.reserve(params.size());
  auto temporary = [&](Variant value) {
    temps_.push_back(std::move(value));
    callArgs_.slots_.push_back(&temps_.back());
  };

  for (size_t i = 0; i < params.size(); ++i) {
    const Param& p = params[i];
    Arg* a = i < args.size() ? &args[i] : nullptr;
    if (!a || a->value().isMissing()) {
      if (!p.optional) raise(err::ArgumentNotOptional, "Argument not optional: " + std::string(p.name));
      temporary(p.defaultValue);
      continue;
    }
    Variant& given = a->value();
    bool sameType = p.type == VarType::Variant || given.type() == p.type;
    if (p.passing == Passing::ByRef && a->byRef() && sameType) {
      callArgs_.slots_.push_back(&given);
      continue;
    }
    temporary(convertTo(given, p.type));
    if (p.passing == Passing::ByRef && a->byRef()) copies_.push_back({temps_.size() - 1, &given, temps_.back()});
  }
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
