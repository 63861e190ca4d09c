#pragma once
// Every view of the file (every section whose name ends in ".Toolbars") built with
// KaTSetup on the reference host. What the library reports is tied to the line of the
// entry it concerns; what it passes over in a bar-set section (a Home that names no edge,
// Bar<n> keys beyond BarCount) is found beside it.

#include <functional>
#include <string>
#include <vector>

#include "cli/check_context.h"
#include "cli/check_host.h"

namespace zadeve::cli::check {

// Hears "view 3 of 50: Name" before each view is built.
using ViewProgress = std::function<void(size_t number, size_t count, const std::string& view)>;

void checkViews(CheckContext& ctx, CheckHost& host, const ViewProgress& progress);

// The views of the file in file order: its "<view>.Toolbars" sections, any case.
std::vector<std::string> viewNames(const IniIndex& ini);

}  // namespace zadeve::cli::check
