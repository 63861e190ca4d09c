' float_bar.vbs: a ready script host for ZADEVE.dll, and a story with it: a form gets the
' bars of the example's MainView, its Draw bar floats into a palette of the library's own
' and is hidden again.
' Run: cscript //nologo float_bar.vbs (under Wine: wine cscript //nologo float_bar.vbs).
'
' The host, which a script of its own copies (Wine's VBScript cannot include a file:
' ExecuteGlobal does nothing there), hands the library what it asks of a host:
'   ScriptApplication  the application object (ShellApplicationObject)
'   ToolbarManager     the TBM of InitialiseZADEVE
'   ScriptForm         a form with a `bar` control array of ScriptToolbar elements and a
'                      Signal whose write is handled inside the write
' Toolbars here keep what the library puts on them (buttons, states, places) but draw
' nothing: a script has no windows. Floating palettes are the library's own.
'
' cscript shows no script error by itself: Main runs under a handler that prints where it
' stopped, every expectation says what failed, and the last line is "ALL OK".
Option Explicit

' A button of a ScriptToolbar; combos keep their list in List (PlaceholderFor).
Class ScriptButton
  Public Index
  Public Name
  Public Kind
  Public Flags
  Public Enabled
  Public Caption
  Public Tooltip
  Public Progress
  Public Visible
  Public List
  Public Property Get PlaceholderFor
    Set PlaceholderFor = List
  End Property
End Class

Class ScriptList
  Private items_
  Private data_
  Public ListIndex
  Public NewIndex
  Private Sub Class_Initialize
    Set items_ = CreateObject("Scripting.Dictionary")
    Set data_ = CreateObject("Scripting.Dictionary")
    ListIndex = -1
    NewIndex = -1
  End Sub
  Public Sub AddItem(item)
    NewIndex = items_.Count
    items_.Add NewIndex, item
    data_.Add NewIndex, 0
  End Sub
  Public Property Get ListCount
    ListCount = items_.Count
  End Property
  Public Property Get List(i)
    List = items_(CLng(i))
  End Property
  Public Property Get ItemData(i)
    ItemData = data_(CLng(i))
  End Property
  Public Property Let ItemData(i, v)
    data_(CLng(i)) = v
  End Property
End Class

' The toolbar control's members that the library calls on a host form's bars. A VBScript
' method takes exactly one number of arguments: AddImageSet takes the five of icon sets
' and symbols, so a bar's preloaded icon sets (two) fail and are skipped; its buttons load
' them again.
Class ScriptToolbar
  Public Tag
  Public Visible
  Public Vertical
  Public Align
  Public Left
  Public Top
  Public Width
  Public Height
  Public BorderFlags1
  Public EdgeFlags1
  Public BorderFlags2
  Public EdgeFlags2
  Private form_
  Private buttons_
  Private current_
  Private imageSets_
  Private Sub Class_Initialize
    Set buttons_ = CreateObject("Scripting.Dictionary")
    buttons_.CompareMode = 1
    Visible = True
    Vertical = False
    Tag = ""
    Left = 0 : Top = 0 : Width = 0 : Height = 0
    imageSets_ = 0
  End Sub
  Public Sub PlaceOn(frm)
    Set form_ = frm
  End Sub
  Public Sub Release
    Set form_ = Nothing
    buttons_.RemoveAll
  End Sub
  Public Property Get parent
    Set parent = form_
  End Property
  Public Property Get ButtonCount
    ButtonCount = buttons_.Count
  End Property

  Public Sub Reset
    buttons_.RemoveAll
    imageSets_ = 0
  End Sub
  Public Sub SuppressLayout(b)
  End Sub
  Public Sub SetImageSize(w, h)
  End Sub
  Public Sub SetBarHeight(s)
  End Sub
  Public Sub UpdateLayout
  End Sub
  Public Sub ZOrder
  End Sub
  Public Sub Refresh
  End Sub
  Public Sub Move(l, t, w, h)
    Left = l : Top = t : Width = w : Height = h
  End Sub
  ' Twips across the bar: one row of 22-pixel buttons, a column of 28-pixel ones.
  Public Property Get IdealDepth
    If Vertical Then IdealDepth = 420 Else IdealDepth = 330
  End Property
  Public Property Get MinLength
    MinLength = 600
  End Property
  Public Property Get IdealLength
    IdealLength = 300 * buttons_.Count
  End Property
  Public Sub CopyStateFromReVivezavAsObject(source)
  End Sub

  Public Sub AddImageSet(picture, number, setName, w, h)
    imageSets_ = imageSets_ + 1
  End Sub
  Public Property Get IconSetIndex
    IconSetIndex = imageSets_ - 1
  End Property
  Private Function AddButton(n, kind)
    Dim b : Set b = New ScriptButton
    b.Index = buttons_.Count
    b.Name = n
    b.Kind = kind
    b.Flags = 0
    b.Enabled = True
    b.Caption = ""
    b.Visible = True
    Set b.List = Nothing
    buttons_.Add n, b
    Set AddButton = b
  End Function
  Public Sub AddPushButton(n, img, r, t, a, b, s1, s2)
    AddButton n, 10
  End Sub
  Public Sub AddToggleButton(n, img, r, t, s1, s2)
    Dim b : Set b = AddButton(n, 10)
    b.Flags = 2
  End Sub
  Public Sub AddPanel(n, p, f, t)
    Dim b : Set b = AddButton(n, 20)
    b.Caption = t
  End Sub
  Public Sub AddSpin(n, v0, v1, v2, v3, v4, t)
    AddButton n, 30
  End Sub
  Public Sub AddCombo(n, f2, text)
    Dim b : Set b = AddButton(n, 40)
    Set b.List = New ScriptList
  End Sub
  Public Sub AddMenu(n)
    AddButton n, 10
  End Sub
  Public Sub AddMenuItem(n, img, r, t)
    AddButton n, 10
  End Sub
  Public Sub AddGap
  End Sub
  Public Sub AddSeparator
  End Sub

  ' The button of a function, or Nothing.
  Public Default Function Item(fn)
    If buttons_.Exists(fn) Then Set Item = buttons_(fn) Else Set Item = Nothing
  End Function
  Public Property Let buttonIndex(i)
    Dim b
    For Each b In buttons_.Items
      If b.Index = i Then Set current_ = b
    Next
  End Property
  Public Property Get ButtonType
    ButtonType = current_.Kind
  End Property
  Public Property Get PushButtonFlags
    PushButtonFlags = current_.Flags
  End Property
  Public Property Let PushButtonFlags(v)
    current_.Flags = v
  End Property
  Public Property Get ButtonEnabled
    ButtonEnabled = current_.Enabled
  End Property
  Public Property Let ButtonEnabled(v)
    current_.Enabled = v
  End Property
  Public Property Get ButtonTag
    ButtonTag = current_.Name
  End Property
  Public Property Let ButtonTooltip(v)
    current_.Tooltip = v
  End Property
  Public Property Get ButtonListIndex
    ButtonListIndex = current_.List.ListIndex
  End Property
End Class

' A form's control array: element 0 exists, Load makes the next ones. Wine's VBScript
' does not apply a default member to a property's result, so a script writes
' frm.bar.Item(i), not frm.bar(i); the library's own calls are not affected.
Class ControlArray
  Private items_
  Private form_
  Public Sub PlaceOn(frm)
    Set items_ = CreateObject("Scripting.Dictionary")
    Set form_ = frm
    Load 0
  End Sub
  Public Default Property Get Item(i)
    If Not items_.Exists(CInt(i)) Then Err.Raise 340, "ControlArray", "Control array element '" & i & "' doesn't exist"
    Set Item = items_(CInt(i))
  End Property
  Public Sub Load(i)
    If items_.Exists(CInt(i)) Then Err.Raise 360, "ControlArray", "Object already loaded"
    Dim tb : Set tb = New ScriptToolbar
    tb.PlaceOn form_
    items_.Add CInt(i), tb
  End Sub
  Public Property Get Count
    Count = items_.Count
  End Property
  Public Sub Release
    Dim tb
    For Each tb In items_.Items
      tb.Release
    Next
    items_.RemoveAll
    Set form_ = Nothing
  End Sub
End Class

' A host form. Writing Signal runs the handler at once, inside the library's write:
' "REFORMAT" lays the bars out again and keeps the free rectangle in FreeArea.
Class ScriptForm
  Public Name
  Public ScaleWidth
  Public ScaleHeight
  Public hWnd
  Public Library
  Public Signals
  Public FreeArea
  Private bar_
  Private signal_
  Public Sub Init(formName, widthTwips, heightTwips, lib)
    Name = formName
    ScaleWidth = widthTwips
    ScaleHeight = heightTwips
    hWnd = 0
    Signals = ""
    FreeArea = ""
    Set Library = lib
    Set bar_ = New ControlArray
    bar_.PlaceOn Me
  End Sub
  Public Property Get bar
    Set bar = bar_
  End Property
  Public Property Get Signal
    Signal = signal_
  End Property
  Public Property Let Signal(word)
    signal_ = word
    Signals = Signals & word & ";"
    If word = "REFORMAT" Then Layout
  End Property
  ' KaTLayout, as a form does after every change of its size.
  Public Sub Layout
    Dim l, t, r, b
    l = 0 : t = 0 : r = 0 : b = 0
    Library.KaTLayout Me, l, t, r, b
    FreeArea = l & "," & t & "," & r & "," & b
  End Sub
  Public Sub Unload
  End Sub
  ' Breaks the form <-> bars <-> library cycle when the form goes.
  Public Sub Release
    Set Library = Nothing
    bar_.Release
  End Sub
End Class

Function NewScriptForm(formName, widthTwips, heightTwips, lib)
  Dim f : Set f = New ScriptForm
  f.Init formName, widthTwips, heightTwips, lib
  Set NewScriptForm = f
End Function

' The toolbar manager: every bar the library makes, positions from 1.
Class ToolbarManager
  Private items_
  Private count_
  Private Sub Class_Initialize
    count_ = 0
    ReDim items_(0)
  End Sub
  Public Sub Add(tb)
    count_ = count_ + 1
    ReDim Preserve items_(count_)
    Set items_(count_) = tb
  End Sub
  Public Property Get Count
    Count = count_
  End Property
  Public Function ItemAsObject(i)
    Set ItemAsObject = items_(CLng(i))
  End Function
  Public Sub Remove(i)
    Dim k
    For k = CLng(i) To count_ - 1
      Set items_(k) = items_(k + 1)
    Next
    count_ = count_ - 1
    ReDim Preserve items_(count_)
  End Sub
End Class

' The symbol palette's views; a script has no pictures to give.
Class ScriptView
  Public Sub SetShapePictureInfo(h, w, a, colour, symbol, b)
  End Sub
  Public Property Get ShapePicture
    Set ShapePicture = Nothing
  End Property
End Class

' The application object: the library's reports (MsgBoxSub) are kept in Reports, one
' line each; a palette's command arrives in aString, aValue and aCmdFlag.
Class ScriptApplication
  Public Reports
  Public Broadcasts
  Public aString
  Public aValue
  Public aCmdFlag
  Private view_
  Private Sub Class_Initialize
    Set Reports = CreateObject("Scripting.Dictionary")
    Broadcasts = ""
    Set view_ = New ScriptView
  End Sub
  Public Sub MsgBoxSub(text, style)
    Reports.Add Reports.Count, Replace(Replace(text, vbCrLf, " "), vbLf, " ")
  End Sub
  Public Sub Broadcast(word)
    Broadcasts = Broadcasts & word & ";"
  End Sub
  Public Property Get MainView
    Set MainView = view_
  End Property
  Public Property Get locView
    Set locView = view_
  End Property
  Public Property Get GetBitmap
    Set GetBitmap = Nothing
  End Property
End Class

' ---- the story ------------------------------------------------------------------------

Dim Fso : Set Fso = CreateObject("Scripting.FileSystemObject")
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
