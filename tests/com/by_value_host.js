// A JScript host: every argument goes by value (JScript has no references), numbers as
// VT_I4 or VT_R8, and errors arrive as exceptions whose number is the HRESULT.
// cscript under Wine swallows uncaught errors: the whole run is in one try, and the last
// line must be the sentinel.
// Arguments: a scratch folder, the repository root.

var failures = 0;
function check(ok, what) {
  if (!ok) {
    failures++;
    WScript.Echo("FAILED: " + what);
  }
}
function checkEqual(actual, expected, what) {
  check(actual === expected, what + ": got <" + actual + ">, expected <" + expected + ">");
}
// The automation error number of what `f` raises: the low word of 0x800A.... results.
function errorOf(f) {
  try {
    f();
  } catch (e) {
    return { number: (e.number & 0xFFFF0000) == (0x800A0000 | 0) ? e.number & 0xFFFF : e.number,
             description: e.description };
  }
  return { number: 0, description: "" };
}

function main() {
  var fso = new ActiveXObject("Scripting.FileSystemObject");
  var scratch = WScript.Arguments.length > 0 ? WScript.Arguments(0) : fso.GetSpecialFolder(2).Path;
  var root = WScript.Arguments.length > 1 ? WScript.Arguments(1)
                                          : fso.GetParentFolderName(fso.GetParentFolderName(fso.GetParentFolderName(WScript.ScriptFullName)));
  var ini = scratch + "\\by_value.ini";
  fso.CopyFile(root + "\\examples\\BARS.INI", ini, true);

  var lib = new ActiveXObject("ZADEVE.ZuzuzudLibrary");
  lib.BarsConfigFile = ini;
  checkEqual(lib.BarsConfigFile, ini, "BarsConfigFile");
  checkEqual(lib.GetConfigValue("MainView.Toolbars", "BarCount", ""), "7", "GetConfigValue");
  checkEqual(lib.SetConfigValue("Script", "Number", 42), 1, "SetConfigValue answers 1");
  checkEqual(lib.GetConfigValue("Script", "Number", ""), "42", "a number given for a string");
  checkEqual(lib.GetIconSetNumber("big24.bmp,24,24", 0), true, "a value for a by-reference parameter");
  checkEqual(lib.GetConfigValue("Script", "Missing", 1.5), "1.5", "a Double given for a string");

  // A JScript object as a toolbar: its Tag read and written by name.
  var bar = { Tag: "Name=Draw;Home=LEFT" };
  checkEqual(lib.KaTBarName(bar), "Draw", "KaTBarName reads the script object's Tag");
  lib.KaTSetProp(bar, "Home", "TOP");
  checkEqual(lib.KaTGetProp(bar, "Home", ""), "TOP", "KaTSetProp writes the script object's Tag");
  check(bar.Tag.indexOf("Home=TOP") >= 0, "the Tag the script sees: " + bar.Tag);

  var e = errorOf(function () { lib.ShellApplicationObject = null; });
  checkEqual(e.number, 13, "null (Null, not Nothing) as the application object");
  e = errorOf(function () { lib.KaTBarName({}); });
  checkEqual(e.number, 438, "an object without Tag");
  e = errorOf(function () { lib.KaTBarName(5); });
  checkEqual(e.number, 13, "a number for an object");
  e = errorOf(function () { lib.NoSuchMember(); });
  checkEqual(e.number, 438, "an unknown member");

  var ws = new ActiveXObject("ZADEVE.WorkspaceCreation").NewZuzuzudWorkspace();
  ws.aBarIndex = 5;
  checkEqual(ws.aBarIndex, 5, "aBarIndex");
  ws.aSpinUp = 1.25;
  checkEqual(ws.aSpinUp, 1.25, "a Double into a Single");
  ws.BarsConfigFile = ini;
  checkEqual(ws.GetConfigValue("Script", "Number", ""), "42", "the workspace reads the same file");
  e = errorOf(function () { ws.aBarIndex = 40000; });
  checkEqual(e.number, 6, "40000 into a 16-bit field");
  fso.DeleteFile(ini);
}

try {
  main();
} catch (e) {
  WScript.Echo("FAILED: error " + (e.number & 0xFFFF) + " " + e.description);
  WScript.Quit(1);
}
if (failures > 0) {
  WScript.Echo(failures + " checks failed");
  WScript.Quit(1);
}
WScript.Echo("ALL OK");
