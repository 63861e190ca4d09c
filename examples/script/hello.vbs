' hello.vbs: the library from a script. Run: cscript //nologo hello.vbs
' (under Wine: wine cscript //nologo hello.vbs). A script host shows no error by
' itself, so each step that can fail says so and ends with exit status 1.
Option Explicit
Dim lib, section, folder
On Error Resume Next
Set lib = CreateObject("ZADEVE.ZuzuzudLibrary")
If Err.Number <> 0 Then
  WScript.Echo "Cannot create ZADEVE.ZuzuzudLibrary: error " & Err.Number & " " & Err.Description & _
    " (is ZADEVE.dll registered? regsvr32 ZADEVE.dll)"
  WScript.Quit 1
End If
On Error GoTo 0
folder = CreateObject("Scripting.FileSystemObject").GetSpecialFolder(2)  ' the temporary folder
lib.BarsConfigFile = folder & "\hello.ini"
lib.SetConfigValue "Main", "Greeting", "Hello from ZADEVE"
section = "main"
WScript.Echo lib.GetConfigValue(section, "GREETING", "nothing")
On Error Resume Next
Set lib.ShellApplicationObject = Nothing
WScript.Echo "Error " & Err.Number & ": " & Err.Description
On Error GoTo 0
