#pragma once
// The two forms of `zadeve check` output: a line per problem, or a JSON array of objects
// with the same fields.

#include <iosfwd>
#include <string>
#include <vector>

#include "cli/check_problems.h"

namespace zadeve::cli::check {

// FILE:LINE: severity: text [view/bar/entry]; the bracket holds the parts that apply.
void writeText(std::ostream& out, const std::string& file, const std::vector<Problem>& problems);

// [{"file": ..., "line": ..., "severity": ..., "message": ..., "view": ..., "bar": ..., "entry": ...}]
// A part that does not apply is null. Bytes that are not UTF-8 are taken as Latin-1, so the
// output is valid JSON whatever encoding the configuration file was written in.
void writeJson(std::ostream& out, const std::string& file, const std::vector<Problem>& problems);

std::string jsonString(const std::string& text);

}  // namespace zadeve::cli::check
