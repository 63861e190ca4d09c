// The palette form's automation face: what other code (and the library, late-bound) reaches
// by name on a frmToolPalette.

#include "palette/tool_palette.h"

namespace zadeve::palette {

using namespace automation;

const MemberTable<FrmToolPalette>& FrmToolPalette::memberTable() {
  using V = VarType;
  using T = FrmToolPalette;
  static const MemberTable<T> table(
      FormName,
      {
          {{"Name", 1, InvokeKind::PropertyGet, {}, V::String}, [](T&, CallArgs&) { return Variant(FormName); }},
          {{"Caption", 2, InvokeKind::PropertyGet, {}, V::String}, [](T& t, CallArgs&) { return Variant(t.Caption()); }},
          {{"Caption", 2, InvokeKind::PropertyLet, {byVal("value", V::String)}},
           [](T& t, CallArgs& a) { return t.Caption(a.string(0)), Variant(); }},
          {{"Tag", 3, InvokeKind::PropertyGet, {}, V::String}, [](T& t, CallArgs&) { return Variant(t.tag_); }},
          {{"Tag", 3, InvokeKind::PropertyLet, {byVal("value", V::String)}},
           [](T& t, CallArgs& a) { return t.Tag(a.string(0)), Variant(); }},
          {{"Left", 4, InvokeKind::PropertyGet, {}, V::Single}, [](T& t, CallArgs&) { return Variant(t.Left()); }},
          {{"Top", 5, InvokeKind::PropertyGet, {}, V::Single}, [](T& t, CallArgs&) { return Variant(t.Top()); }},
          {{"Width", 6, InvokeKind::PropertyGet, {}, V::Single}, [](T& t, CallArgs&) { return Variant(t.Width()); }},
          {{"Height", 7, InvokeKind::PropertyGet, {}, V::Single}, [](T& t, CallArgs&) { return Variant(t.Height()); }},
          {{"ScaleWidth", 8, InvokeKind::PropertyGet, {}, V::Single},
           [](T& t, CallArgs&) { return Variant(t.ScaleWidth()); }},
          {{"ScaleHeight", 9, InvokeKind::PropertyGet, {}, V::Single},
           [](T& t, CallArgs&) { return Variant(t.ScaleHeight()); }},
          {{"Move",
            10,
            InvokeKind::Method,
            {byVal("Left", V::Single), byVal("Top", V::Single), byVal("Width", V::Single), byVal("Height", V::Single)}},
           [](T& t, CallArgs& a) { return t.Move(a.single(0), a.single(1), a.single(2), a.single(3)), Variant(); }},
          {{"hWnd", 11, InvokeKind::PropertyGet, {}, V::Long}, [](T& t, CallArgs&) { return Variant(t.hWnd_); }},
          {{"Visible", 12, InvokeKind::PropertyGet, {}, V::Boolean}, [](T& t, CallArgs&) { return Variant(t.Visible()); }},
          {{"Show", 13, InvokeKind::Method, {optionalParam(byVal("Modal", V::Variant)), optionalParam(byVal("OwnerForm", V::Variant))}},
           [](T& t, CallArgs&) { return t.show(), Variant(); }},
          {{"Unload", 14, InvokeKind::Method, {}}, [](T& t, CallArgs&) { return t.unload(), Variant(); }},
          {{"Signal", 15, InvokeKind::PropertyGet, {}, V::String}, [](T& t, CallArgs&) { return Variant(t.signal_); }},
          {{"Signal", 15, InvokeKind::PropertyLet, {byVal("value", V::String)}},
           [](T& t, CallArgs& a) { return t.Signal(a.string(0)), Variant(); }},
          {{"bar", 16, InvokeKind::PropertyGet, {}, V::Object}, [](T& t, CallArgs&) { return Variant(t.bar()); }},
          {{"msg", 17, InvokeKind::PropertyGet, {}, V::Object}, [](T& t, CallArgs&) { return Variant(t.msg_); }},
          {{"mnuState", 18, InvokeKind::PropertyGet, {}, V::Object},
           [](T& t, CallArgs&) { return Variant(t.mnuState_); }},
          {{"mnuFloat", 19, InvokeKind::PropertyGet, {}, V::Object},
           [](T& t, CallArgs&) { return Variant(t.mnuFloat_); }},
          {{"mnuDock", 20, InvokeKind::PropertyGet, {}, V::Object}, [](T& t, CallArgs&) { return Variant(t.mnuDock_); }},
          {{"targetForm", 21, InvokeKind::PropertyGet, {}, V::Object},
           [](T& t, CallArgs&) { return Variant(t.targetForm); }},
          {{"targetForm", 21, InvokeKind::PropertySet, {byRef("value", V::Object)}},
           [](T& t, CallArgs& a) { return t.targetForm = a.object(0), Variant(); }},
          {{"theLibrary", 22, InvokeKind::PropertyGet, {}, V::Object},
           [](T& t, CallArgs&) { return Variant(t.theLibrary); }},
          {{"theLibrary", 22, InvokeKind::PropertySet, {byRef("value", V::Object)}},
           [](T& t, CallArgs& a) {
             auto lib = objectAs<core::ZuzuzudLibrary>(a.object(0));
             if (!lib && a.object(0)) raise(err::TypeMismatch, "theLibrary must be a ZuzuzudLibrary");
             t.theLibrary = std::move(lib);
             return Variant();
           }},
      });
  return table;
}

}  // namespace zadeve::palette
