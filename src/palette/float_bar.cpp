// KaTFloat takes a bar off its host form into a palette of its own (call flow at the top
// of tool_palette.h); SetPaletteOwner makes the host form's window the palette's owner.

#include "automation/conversions.h"
#include "components/string_tokenizer.h"
#include "core/host_contracts.h"
#include "core/library_rows.h"
#include "palette/tool_palette.h"

namespace zadeve::core {

using palette::FrmToolPalette;

void ZuzuzudLibrary::KaTFloat(const ObjectRef& theForm, const ObjectRef& theToolBar) {
  Toolbar host(theToolBar);
  host.Visible(false);
  HostForm(theForm).Signal("REFORMAT");
  CurrentWorkspace_->aBar = theToolBar;

  auto palette = automation::makeObject<FrmToolPalette>();
  palette->targetForm = theForm;
  palette->theLibrary = this;
  palette->load();
  palette->Caption(automation::toString(KaTGetProp(theToolBar, "Name", Variant(""))));
  ObjectRef paletteBar = palette->bar();
  KaTSetProp(theToolBar, "State", Variant("Floating"));
  Toolbar(paletteBar).Tag(host.Tag());
  RegisterBar(paletteBar);
  FillBar(paletteBar, true);

  std::string floatPos = automation::toString(KaTGetProp(theToolBar, "FloatPos", Variant("")));
  if (!floatPos.empty()) {
    auto& tokenizer = components::processTokenizer();
    double rect[4];
    for (double& v : rect) v = automation::toSingle(Variant(automation::leadingNumber(tokenizer.NextToken(floatPos, ","))));
    palette->Move(rect[0], rect[1], rect[2], rect[3]);
  }
  KaTCopyBarState(theToolBar, paletteBar);
  palette->show();
  SetPaletteOwner(ObjectRef(palette), palette->targetForm);
  ShellApp(CurrentWorkspace_->ShellApp()).Broadcast("REFRESHTOOLBAR");
}

void ZuzuzudLibrary::SetPaletteOwner(const ObjectRef& form, const ObjectRef& owner) {
  platform::windowing().setWindowLong(HostForm(form).hWnd(), platform::GWL_HWNDPARENT, HostForm(owner).hWnd());
}

using namespace rows;

std::vector<LibraryRow> paletteLibraryRows() {
  return {
      {{"KaTFloat", 11, Method, {byRef("theForm", VarType::Object), byRef("theToolBar", VarType::Object)}},
       [](L& l, CallArgs& a) { return l.KaTFloat(a.object(0), a.object(1)), none(); }},
  };
}

}  // namespace zadeve::core
