#include "cli/check_problems.h"

#include <algorithm>

namespace zadeve::cli::check {

const char* severityName(Severity s) { return s == Severity::Error ? "error" : "warning"; }

void ProblemList::add(Problem p) {
  if (!seen_.emplace(p.line, p.severity, p.message).second) return;
  lines_.insert(p.line);
  problems_.push_back(std::move(p));
}

bool ProblemList::hasLine(int line) const {
  return lines_.contains(line);
}

bool ProblemList::hasErrors() const {
  return std::any_of(problems_.begin(), problems_.end(),
                     [](const Problem& p) { return p.severity == Severity::Error; });
}

std::vector<Problem> ProblemList::inFileOrder() const {
  std::vector<Problem> sorted = problems_;
  std::stable_sort(sorted.begin(), sorted.end(), [](const Problem& a, const Problem& b) { return a.line < b.line; });
  return sorted;
}

}  // namespace zadeve::cli::check
