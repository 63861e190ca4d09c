// The shortest road from JScript, which passes every argument by value: create the library
// by its program identifier, write and read a value, and see an error of ours.
// Arguments: a scratch folder, the repository root.
var failures = 0;
function check(ok, what) {
  if (!ok) {
    WScript.Echo("FAILED: " + what);
    failures++;
  }
}

function main() {
  var lib = new ActiveXObject("ZADEVE.ZuzuzudLibrary");
  lib.BarsConfigFile = WScript.Arguments(0) + "\\smoke_js.ini";
  check(lib.GetConfigValue("Main", "Title", "none") == "none", "a missing file gives the default");
  check(lib.SetConfigValue("Main", "Count", 42) == 1, "SetConfigValue takes a number as text");
  check(lib.GetConfigValue("MAIN", "count", "") == "42", "the number reads back as text");
  // JScript has no Nothing to hand over; an unknown member shows how our errors arrive.
  try {
    lib.NoSuchMember();
    check(false, "an unknown member raises");
  } catch (e) {
    check((e.number & 0xFFFF) == 438, "an unknown member raises 438, not " + (e.number & 0xFFFF));
  }
}

try {
  main();
} catch (e) {
  WScript.Echo("FAILED: error " + e.number + ": " + e.description);
  WScript.Quit(1);
}
if (failures > 0) WScript.Quit(1);
WScript.Echo("ALL OK");
