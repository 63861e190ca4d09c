// The bar's automation face: the Add… members and the image sets.

#include "automation/conversions.h"
#include "vizevore/revivezav.h"

namespace zadeve::vizevore {

using namespace automation;

namespace {

using R = ReVivezav;
using V = VarType;

// A size or width that the builder passes as configuration text: a number gives pixels,
// anything else (empty included) the default.
int32_t pixelsOrDefault(const std::string& text) {
  auto n = parseNumber(text);
  if (!n) return 0;
  return roundToLong(*n);
}

int32_t pixels(float value) { return roundToLong(value); }

}  // namespace

ReVivezav::Rows ReVivezav::itemMembers() {
  return {
      {{"AddPushButton", 30, InvokeKind::Method,
        {byRef("Name", V::String), byVal("Image", V::String), byRef("ImageRest", V::String),
         byRef("Text", V::String), byVal("Flags", V::Double), byVal("LeastWidth", V::Double),
         byRef("Width", V::Integer), byRef("Height", V::Integer)}},
       [](R& r, CallArgs& a) {
         r.addPushButton(a.string(0), a.string(1), a.string(2), a.string(3), toInteger(a[4]),
                         roundToLong(a.double_(5)), a.integer(6), a.integer(7));
         return Variant();
       }},
      {{"AddToggleButton", 31, InvokeKind::Method,
        {byRef("Name", V::String), byVal("Image", V::String), byRef("ImageRest", V::String),
         byRef("Text", V::String), byRef("Width", V::Integer), byRef("Height", V::Integer)}},
       [](R& r, CallArgs& a) {
         r.addToggleButton(a.string(0), a.string(1), a.string(2), a.string(3), a.integer(4), a.integer(5));
         return Variant();
       }},
      {{"AddPanel", 32, InvokeKind::Method,
        {byRef("Name", V::String), byRef("Width", V::String),
         optionalParam(byRef("Spring", V::Boolean), Variant(false)), byRef("Text", V::String)}},
       [](R& r, CallArgs& a) {
         r.addPanel(a.string(0), pixelsOrDefault(a.string(1)), a.boolean(2), a.string(3));
         return Variant();
       }},
      {{"AddSpin", 33, InvokeKind::Method,
        {byRef("Name", V::String), byRef("Value", V::Single), byRef("Minimum", V::Single),
         byRef("Maximum", V::Single), byRef("Step", V::Single), byRef("Width", V::Single),
         byRef("Text", V::String)}},
       [](R& r, CallArgs& a) {
         SpinData spin;
         spin.value = a.single(1);
         spin.minimum = a.single(2);
         spin.maximum = a.single(3);
         spin.step = a.single(4);
         spin.width = pixels(a.single(5));
         r.addSpin(a.string(0), spin, a.string(6));
         return Variant();
       }},
      // AddCombo name, width, tooltip  |  AddCombo name, entries
      {{"AddCombo", 34, InvokeKind::Method,
        {byRef("Name", V::String), byRef("WidthOrEntries", V::String), optionalParam(byRef("Text", V::String))}},
       [](R& r, CallArgs& a) {
         if (a.isMissing(2))
           r.addComboWithEntries(a.string(0), a.string(1));
         else
           r.addCombo(a.string(0), pixelsOrDefault(a.string(1)), a.string(2));
         return Variant();
       }},
      {{"AddMenu", 35, InvokeKind::Method,
        {byRef("Name", V::String), optionalParam(byRef("Caption", V::String), Variant(""))}},
       [](R& r, CallArgs& a) {
         r.addMenu(a.string(0), a.string(1));
         return Variant();
       }},
      {{"AddMenuItem", 36, InvokeKind::Method,
        {byRef("Name", V::String), byVal("Image", V::String), byRef("ImageRest", V::String),
         byRef("Text", V::String)}},
       [](R& r, CallArgs& a) {
         r.addMenuItem(a.string(0), a.string(1), a.string(2), a.string(3));
         return Variant();
       }},
      {{"AddGap", 37, InvokeKind::Method, {}},
       [](R& r, CallArgs&) {
         r.addGap();
         return Variant();
       }},
      {{"AddSeparator", 38, InvokeKind::Method, {}},
       [](R& r, CallArgs&) {
         r.addSeparator();
         return Variant();
       }},
      // AddImageSet picture [, number [, name, size, size]]
      {{"AddImageSet", 39, InvokeKind::Method,
        {byRef("Picture", V::Variant), optionalParam(byRef("Number", V::String), Variant("")),
         optionalParam(byRef("Name", V::String), Variant("")),
         optionalParam(byRef("ImageWidth", V::Integer), Variant(int16_t{0})),
         optionalParam(byRef("ImageHeight", V::Integer), Variant(int16_t{0}))}},
       [](R& r, CallArgs& a) {
         if (!a[0].isObject())
           raise(err::TypeMismatch, "AddImageSet needs a picture object first, not a " +
                                        std::string(varTypeName(a[0].type())));
         std::string number = a.string(1), name = a.string(2);
         int32_t w = a.integer(3), h = a.integer(4);
         // The symbol palette's form (named, no number) passes the height first.
         if (number.empty() && !name.empty()) std::swap(w, h);
         r.addImageSet(a.object(0), number, name, w, h);
         return Variant();
       }},
      {{"IconSetIndex", 40, InvokeKind::PropertyGet, {}, V::Integer},
       [](R& r, CallArgs&) { return Variant(r.iconSetIndex()); }},
  };
}

}  // namespace zadeve::vizevore
