#pragma once
// What `zadeve check` finds: one problem per line of output, tied to the file line of the
// entry it concerns and to the view, bar and entry it was found in.

#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace zadeve::cli::check {

enum class Severity { Error, Warning };

const char* severityName(Severity s);

struct Problem {
  int line = 0;  // 1-based line of the file
  Severity severity = Severity::Error;
  std::string message;  // one line
  std::string view, bar, entry;  // empty when they do not apply
};

// Problems in the order they were found; the same text on the same line is kept once, so
// a section that several views share is reported for the first view that builds it.
class ProblemList {
 public:
  void add(Problem p);
  // Whether any problem was already recorded on `line`.
  bool hasLine(int line) const;
  bool hasErrors() const;
  bool empty() const { return problems_.empty(); }
  // Sorted by line; problems of one line keep the order they were found in.
  std::vector<Problem> inFileOrder() const;

 private:
  std::vector<Problem> problems_;
  std::set<std::tuple<int, Severity, std::string>> seen_;
  std::set<int> lines_;
};

}  // namespace zadeve::cli::check
