' 10,000 late-bound GetConfigValue calls through ZADEVE.dll beside 10,000 calls of a
' trivial script function: the difference is what our dispatch and one profile lookup
' cost a script host. Reading BarsConfigFile, which touches no file, splits the two.
' Argument: a scratch folder.
Option Explicit
Const Calls = 10000

Function Trivial(section, item, def)
  Trivial = def
End Function

Sub Main
  Dim lib, i, v, t0, library, script, property
  Set lib = CreateObject("ZADEVE.ZuzuzudLibrary")
  lib.BarsConfigFile = WScript.Arguments(0) & "\bench.ini"
  lib.SetConfigValue "Main", "Title", "Bench"
  ' Past the profile cache's window for a file just written (Wine's WScript has no Sleep).
  t0 = Timer
  Do While Timer - t0 < 2.5
  Loop
  t0 = Timer
  For i = 1 To Calls
    v = lib.GetConfigValue("Main", "Title", "none")
  Next
  library = Timer - t0
  If v <> "Bench" Then Err.Raise 5, , "GetConfigValue read " & v
  t0 = Timer
  For i = 1 To Calls
    v = lib.BarsConfigFile
  Next
  property = Timer - t0
  t0 = Timer
  For i = 1 To Calls
    v = Trivial("Main", "Title", "none")
  Next
  script = Timer - t0
  WScript.Echo Calls & " GetConfigValue calls through the DLL: " & FormatNumber(library * 1000, 0) & " ms (" & _
    FormatNumber(library * 1000000 / Calls, 1) & " us a call)"
  WScript.Echo Calls & " BarsConfigFile reads through the DLL: " & FormatNumber(property * 1000, 0) & " ms (" & _
    FormatNumber(property * 1000000 / Calls, 1) & " us a call)"
  WScript.Echo Calls & " calls of a trivial script function:   " & FormatNumber(script * 1000, 0) & " ms (" & _
    FormatNumber(script * 1000000 / Calls, 1) & " us a call)"
End Sub

On Error Resume Next
Main
If Err.Number <> 0 Then
  WScript.Echo "FAILED: error " & Err.Number & ": " & Err.Description
  WScript.Quit 1
End If
WScript.Echo "ALL OK"
