' float_bar.vbs: the script host of zadeve_host.vbs gives a form the bars of the example's
' MainView, floats its Draw bar into a palette of the library's own, and hides it again.
' Run: cscript //nologo float_bar.vbs (under Wine: wine cscript //nologo float_bar.vbs).
' cscript shows no script error by itself: Main runs under a handler that prints where it
' stopped, every expectation says what failed, and the last line is "ALL OK".
Option Explicit
Dim Fso : Set Fso = CreateObject("Scripting.FileSystemObject")
Dim Here : Here = Fso.GetParentFolderName(WScript.ScriptFullName) & "\"
ExecuteGlobal Fso.OpenTextFile(Here & "zadeve_host.vbs").ReadAll

Dim Failures : Failures = 0
Dim Doing : Doing = "starting"

Sub Expect(actual, expected, what)
  If actual <> expected Then
    Failures = Failures + 1
    WScript.Echo "FAILED: " & what & ": got <" & actual & ">, expected <" & expected & ">"
  End If
End Sub

Sub Main()
  Dim examples : examples = Fso.GetParentFolderName(Fso.GetParentFolderName(WScript.ScriptFullName)) & "\"
  Doing = "creating the library"
  Dim lib : Set lib = CreateObject("ZADEVE.ZuzuzudLibrary")
  Dim app : Set app = New ScriptApplication
  Dim tbm : Set tbm = New ToolbarManager
  lib.InitialiseZADEVE tbm, examples & "BARS.INI", examples
  Set lib.ShellApplicationObject = app

  Doing = "KaTSetup"
  Dim frm : Set frm = NewScriptForm("frmMain", 12000, 9000, lib)
  lib.KaTSetup frm, "MainView"
  frm.Layout
  Dim report
  For Each report In app.Reports.Items
    WScript.Echo "report: " & report
  Next
  Expect app.Reports.Count, 2, "the example's two deliberate problems"
  Expect tbm.Count, 7, "bars made"
  Expect frm.FreeArea, "420,660,11565,8340", "free rectangle with every bar docked"

  Doing = "KaTFloat"
  Dim draw : Set draw = frm.bar.Item(2)
  Expect lib.KaTBarName(draw), "Draw", "the bar at index 2"
  lib.KaTFloat frm, draw
  WScript.Echo "Draw floats: " & draw.Tag
  Expect draw.Visible, False, "the form's own Draw bar while its palette shows it"
  Expect lib.KaTGetProp(draw, "State", ""), "Floating", "State in the bar's Tag"
  Expect tbm.Count, 8, "the palette's toolbar joins the toolbar manager"
  Expect frm.Signals, "REFORMAT;", "signals to the form"
  Expect frm.FreeArea, "0,660,11565,8340", "free rectangle laid out inside the REFORMAT write"
  Expect app.Broadcasts, "REFRESHTOOLBAR;", "what the application hears"

  Doing = "KaTSetVisible"
  lib.KaTSetVisible frm, draw, 0
  Expect tbm.Count, 7, "hiding the floating bar closes its palette"
  Expect lib.KaTGetProp(draw, "Visible", ""), "No", "Visible in the bar's Tag"

  Doing = "KaTUnloadBars"
  lib.KaTUnloadBars frm
  Expect tbm.Count, 0, "every bar leaves the toolbar manager"
  frm.Release
  Doing = ""
End Sub

On Error Resume Next
Main
If Err.Number <> 0 Then
  WScript.Echo "FAILED while " & Doing & ": error " & Err.Number & " " & Err.Description & " (" & Err.Source & ")"
  WScript.Quit 1
End If
On Error GoTo 0
If Failures > 0 Then
  WScript.Echo Failures & " expectations failed"
  WScript.Quit 1
End If
WScript.Echo "ALL OK"
