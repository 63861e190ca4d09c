#pragma once
// What a host implements: the objects it hands the library answer these members, called
// late-bound by name. Each is an automation Object (zadeve/automation.h); a missing member
// raises 438 in the library call that needed it.
//
// Application object (ShellApplicationObject):
//   MsgBoxSub text, style             shows a report of the library (style is 1)
//   aString, aValue, aCmdFlag         get/let: the command a palette prepared
//   Broadcast word                    told "REFRESHTOOLBAR" after a bar was floated
//   GetBitmap                         the symbol palette's bitmap (a picture)
//   MainView.SetShapePictureInfo h, w, 0, colour, symbol, 1  prepares a symbol picture
//   locView.ShapePicture              that picture
// Toolbar manager (first argument of InitialiseZADEVE), positions 1-based:
//   Add bar, Count, ItemAsObject position, Remove position
// Form carrying bars:
//   bar                 control array of toolbar controls: default member (index) returns
//                       an element, Load index creates one; element 0 exists
//   ScaleWidth, ScaleHeight   client area in twips
//   Name                any name but "frmToolPalette"
//   Signal              let: a word from `signal` below, handled inside the write
//   Unload              closes the form

#include <string_view>

namespace zadeve::host_contract {

// Words the library writes into a form's Signal.
namespace signal {
// Lay the docked bars out again: answer with KaTLayout on the form.
inline constexpr std::string_view Reformat = "REFORMAT";
// A bar of the form was rebuilt.
inline constexpr std::string_view RebuiltBar = "RebuiltBar";
// Run the command a palette prepared in aString, aValue and aCmdFlag.
inline constexpr std::string_view ExecuteCommand = "ExecuteCommand";
}  // namespace signal

// The word Broadcast hears after a bar was floated.
inline constexpr std::string_view RefreshToolbar = "REFRESHTOOLBAR";

// Events a toolbar control raises to the form that holds it; the acting button's
// function name comes with them.
namespace events {
inline constexpr std::string_view ButtonClick = "ButtonClick";
inline constexpr std::string_view ButtonChange = "ButtonChange";
inline constexpr std::string_view ButtonSpinUp = "ButtonSpinUp";
inline constexpr std::string_view ButtonSpinDown = "ButtonSpinDown";
inline constexpr std::string_view BarContextMenu = "BarContextMenu";
}  // namespace events

}  // namespace zadeve::host_contract
