#pragma once
// What the library passes over without a word in the toolbar sections and in section
// Functions: unknown type words, icon sets whose bitmap does not load, image indices
// beyond their strip, Button<n> keys beyond ButtonCount, functions no toolbar uses, and,
// given a language catalogue, texts it does not translate.
//
// Runs after the views were built, so that a bitmap the library already reported is not
// reported a second time.

#include <string>

#include "cli/check_context.h"
#include "components/text_catalog.h"

namespace zadeve::cli::check {

// `catalog` may be null; `languageFile` names it in the messages.
void checkDefinitions(CheckContext& ctx, const components::TextCatalog* catalog, const std::string& languageFile);

}  // namespace zadeve::cli::check
