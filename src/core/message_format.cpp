#include "core/message_format.h"

#include "components/argument_formatter.h"
#include "components/text_catalog.h"
#include "core/host_contracts.h"
#include "core/zuzuzud_library.h"

namespace zadeve::core {

std::string FormatMessageText(const std::string& messageTemplate, std::span<const automation::Variant> args) {
  std::string text = components::processCatalog().Translate(messageTemplate, 0);
  return components::processFormatter().SubstituteArguments(text, args.first(std::min<size_t>(args.size(), 9)));
}

void ZuzuzudLibrary::ReportToHost(const std::string& messageTemplate, std::initializer_list<Variant> args) {
  std::string text = FormatMessageText(messageTemplate, std::span<const Variant>(args.begin(), args.size()));
  ShellApp(CurrentWorkspace_->ShellApp()).MsgBoxSub(text);
}

}  // namespace zadeve::core
