' The shortest road through the registered DLL: create the library by its program
' identifier, write and read a value of a configuration file, and see our own error.
' Arguments: a scratch folder, the repository root.
Option Explicit

Dim failures
failures = 0

Sub Check(ok, what)
  If Not ok Then
    WScript.Echo "FAILED: " & what
    failures = failures + 1
  End If
End Sub

Sub Main
  Dim lib, ini, r
  ini = WScript.Arguments(0) & "\smoke.ini"
  Set lib = CreateObject("ZADEVE.ZuzuzudLibrary")
  Check TypeName(lib) = "_ZuzuzudLibrary", "TypeName is " & TypeName(lib)
  lib.BarsConfigFile = ini
  Check lib.BarsConfigFile = ini, "BarsConfigFile reads back"
  Check lib.GetConfigValue("Main", "Title", "none") = "none", "a missing file gives the default"
  r = lib.SetConfigValue("Main", "Title", "Smoke")
  Check r = 1, "SetConfigValue answers 1, not " & r
  Check lib.GetConfigValue("main", "TITLE", "none") = "Smoke", "the value written reads back"

  On Error Resume Next
  Set lib.ShellApplicationObject = Nothing
  Check Err.Number = 20000, "Nothing as the application object raises 20000, not " & Err.Number
  Check Err.Description = "Invalid application object", "the description is ours: " & Err.Description
  Err.Clear
  lib.NoSuchMember
  Check Err.Number = 438, "an unknown member raises 438, not " & Err.Number
  On Error GoTo 0
End Sub

On Error Resume Next
Main
If Err.Number <> 0 Then
  WScript.Echo "FAILED: error " & Err.Number & ": " & Err.Description
  WScript.Quit 1
End If
On Error GoTo 0
If failures > 0 Then WScript.Quit 1
WScript.Echo "ALL OK"
