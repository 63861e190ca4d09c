' A VBScript host of the library: its own forms (with a `bar` control array of toolbar
' fakes and a Signal box whose write runs the form's handler inside the write), a TBM,
' an application object that collects MsgBoxSub texts, and the example BARS.INI.
' cscript under Wine swallows uncaught errors: Main runs under the top-level handler,
' every story says where it failed, and the last line must be the sentinel.
' (Wine's VBScript takes no "Public A, B" in a class: one member a statement.)
Option Explicit

Const BF_ON = 128, KAT_PUSHBUTTON = 10, KAT_PANEL = 20, KAT_SPIN = 30, KAT_COMBO = 40
Const File = 0, Format = 1, Draw = 2, View = 3, Sketch = 4, Status = 5, Tools = 6

Dim Failures : Failures = 0
Dim Story : Story = ""
Dim Fso : Set Fso = CreateObject("Scripting.FileSystemObject")
Dim Here : Here = Fso.GetParentFolderName(WScript.ScriptFullName) & "\"
Dim Examples : Examples = Fso.GetAbsolutePathName(Here & "..\..\examples") & "\"

Sub Check(ok, what)
  If Not ok Then Failures = Failures + 1 : WScript.Echo "FAILED [" & Story & "]: " & what
End Sub
Sub CheckEqual(actual, expected, what)
  Check actual = expected, what & ": got <" & actual & ">, expected <" & expected & ">"
End Sub

' ---- host fakes -----------------------------------------------------------------------

Class FakeList
  Private items_ : Private data_
  Public ListIndex : Public NewIndex
  Private Sub Class_Initialize
    Set items_ = CreateObject("Scripting.Dictionary") : Set data_ = CreateObject("Scripting.Dictionary")
    ListIndex = -1 : NewIndex = -1
  End Sub
  Public Sub AddItem(item) : NewIndex = items_.Count : items_.Add NewIndex, item : data_.Add NewIndex, 0 : End Sub
  Public Property Get ListCount : ListCount = items_.Count : End Property
  Public Property Get List(i) : List = items_(CLng(i)) : End Property
  Public Property Get ItemData(i) : ItemData = data_(CLng(i)) : End Property
  Public Property Let ItemData(i, v) : data_(CLng(i)) = v : End Property
End Class

Class FakeButton
  Public Index : Public Name : Public Kind : Public Flags : Public Enabled
  Public Caption : Public Visible : Public List
  Public Property Get PlaceholderFor : Set PlaceholderFor = List : End Property
End Class

' The toolbar members the library calls on the bars KaTSetup fills, with the arities
' they get there (a VBScript method has exactly one). AddImageSet takes the
' five-argument form of icon sets and symbols; a bar's preloaded sets (two arguments)
' fail here, and the builder skips them as it skips any set that fails to preload: the
' buttons load them again.
Class FakeToolbar
  Public Tag : Public Visible : Public Vertical : Public Align
  Public Left : Public Top : Public Width : Public Height
  Public BorderFlags1 : Public EdgeFlags1 : Public BorderFlags2 : Public EdgeFlags2
  Public Symbols : Public ImageSets
  Private form_ : Private buttons_ : Private current_
  Private Sub Class_Initialize
    Set buttons_ = CreateObject("Scripting.Dictionary") : buttons_.CompareMode = 1
    Visible = True : Vertical = False : Tag = ""
    Left = 0 : Top = 0 : Width = 0 : Height = 0 : ImageSets = 0 : Symbols = 0
  End Sub
  Public Sub PlaceOn(frm) : Set form_ = frm : End Sub
  Public Sub Release : Set form_ = Nothing : buttons_.RemoveAll : End Sub
  Public Property Get parent : Set parent = form_ : End Property
  Public Property Get ButtonCount : ButtonCount = buttons_.Count : End Property
  Public Sub Reset : buttons_.RemoveAll : ImageSets = 0 : Symbols = 0 : End Sub
  Public Sub SuppressLayout(b) : End Sub
  Public Sub SetImageSize(w, h) : End Sub
  Public Sub SetBarHeight(s) : End Sub
  Public Sub UpdateLayout : End Sub
  Public Sub ZOrder : End Sub
  Public Sub Refresh : End Sub
  Public Sub Move(l, t, w, h) : Left = l : Top = t : Width = w : Height = h : End Sub
  Public Property Get IdealDepth : If Vertical Then IdealDepth = 420 Else IdealDepth = 330
  End Property
  Public Property Get MinLength : MinLength = 600 : End Property
  Public Property Get IdealLength : IdealLength = 300 * buttons_.Count : End Property
  Public Sub AddImageSet(picture, number, setName, w, h)
    ImageSets = ImageSets + 1
    If setName = "Symbols" Then Symbols = Symbols + 1
  End Sub
  Public Property Get IconSetIndex : IconSetIndex = ImageSets - 1 : End Property
  Private Function AddButton(n, kind)
    Dim b : Set b = New FakeButton
    b.Index = buttons_.Count : b.Name = n : b.Kind = kind : b.Flags = 0 : b.Enabled = True
    b.Caption = "" : b.Visible = True : Set b.List = Nothing
    buttons_.Add n, b
    Set AddButton = b
  End Function
  Public Sub AddPushButton(n, img, r, t, a, b, s1, s2) : AddButton n, KAT_PUSHBUTTON : End Sub
  Public Sub AddToggleButton(n, img, r, t, s1, s2) : AddButton(n, KAT_PUSHBUTTON).Flags = 2 : End Sub
  Public Sub AddPanel(n, p, f, t) : AddButton(n, KAT_PANEL).Caption = t : End Sub
  Public Sub AddSpin(n, v0, v1, v2, v3, v4, t) : AddButton n, KAT_SPIN : End Sub
  Public Sub AddCombo(n, f2, text) : Set AddButton(n, KAT_COMBO).List = New FakeList : End Sub
  Public Sub AddMenu(n) : AddButton n, KAT_PUSHBUTTON : End Sub
  Public Sub AddMenuItem(n, img, r, t) : AddButton n, KAT_PUSHBUTTON : End Sub
  Public Sub AddGap : End Sub
  Public Sub AddSeparator : End Sub
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
  Public Property Get ButtonType : ButtonType = current_.Kind : End Property
  Public Property Get PushButtonFlags : PushButtonFlags = current_.Flags : End Property
  Public Property Let PushButtonFlags(v) : current_.Flags = v : End Property
  Public Property Get ButtonEnabled : ButtonEnabled = current_.Enabled : End Property
  Public Property Let ButtonEnabled(v) : current_.Enabled = v : End Property
  Public Property Get ButtonTag : ButtonTag = current_.Name : End Property
  Public Property Get ButtonListIndex : ButtonListIndex = current_.List.ListIndex : End Property
End Class

' The form's control array: element 0 exists, Load makes the next ones.
Class FakeBars
  Private items_ : Private form_
  Public Sub PlaceOn(frm) : Set items_ = CreateObject("Scripting.Dictionary") : Set form_ = frm : Load 0 : End Sub
  Public Default Property Get Item(i)
    If Not items_.Exists(CInt(i)) Then Err.Raise 340, "FakeBars", "Control array element doesn't exist"
    Set Item = items_(CInt(i))
  End Property
  Public Sub Load(i)
    If items_.Exists(CInt(i)) Then Err.Raise 360, "FakeBars", "Object already loaded"
    Dim tb : Set tb = New FakeToolbar
    tb.PlaceOn form_
    items_.Add CInt(i), tb
  End Sub
  Public Property Get Count : Count = items_.Count : End Property
  Public Sub Release
    Dim tb
    For Each tb In items_.Items : tb.Release : Next
    items_.RemoveAll : Set form_ = Nothing
  End Sub
End Class

' A host form: writing Signal runs the form's handler at once, inside the write.
Class FakeForm
  Public Name : Public ScaleWidth : Public ScaleHeight : Public Tag : Public hWnd
  Public Signals : Public Library : Public Layouts : Public LastLayout
  Private bar_ : Private signal_
  Public Sub Init(formName, w, h)
    Name = formName : ScaleWidth = w : ScaleHeight = h : Tag = "" : hWnd = 0 : Signals = "" : Layouts = 0
    Set Library = Nothing : Set bar_ = New FakeBars : bar_.PlaceOn Me
  End Sub
  Public Property Get bar : Set bar = bar_ : End Property
  Public Property Get Signal : Signal = signal_ : End Property
  Public Property Let Signal(word)
    signal_ = word : Signals = Signals & word & ";"
    If word = "REFORMAT" And Not Library Is Nothing Then
      Dim l, t, r, b
      l = -1 : t = -1 : r = -1 : b = -1
      Library.KaTLayout Me, l, t, r, b
      Layouts = Layouts + 1 : LastLayout = l & "," & t & "," & r & "," & b
    End If
  End Property
  Public Sub Unload : End Sub
  ' Breaks the form <-> bar cycle when the story ends.
  Public Sub Release : Set Library = Nothing : bar_.Release : End Sub
End Class

Class FakeTBM
  Private items_ : Private count_
  Private Sub Class_Initialize : count_ = 0 : ReDim items_(0) : End Sub
  Public Sub Add(tb) : count_ = count_ + 1 : ReDim Preserve items_(count_) : Set items_(count_) = tb : End Sub
  Public Property Get Count : Count = count_ : End Property
  Public Function ItemAsObject(i) : Set ItemAsObject = items_(CLng(i)) : End Function
  Public Sub Remove(i)
    Dim k
    For k = CLng(i) To count_ - 1 : Set items_(k) = items_(k + 1) : Next
    count_ = count_ - 1 : ReDim Preserve items_(count_)
  End Sub
End Class

Class FakeView
  Public LastSymbol
  Public Sub SetShapePictureInfo(h, w, a, colour, symbol, b) : LastSymbol = symbol : End Sub
  Public Property Get ShapePicture : Set ShapePicture = Nothing : End Property
End Class

Class FakeShellApp
  Public Messages : Public MessageCount : Public Broadcasts : Public aString : Public aValue : Public aCmdFlag
  Private view_
  Private Sub Class_Initialize : Messages = "" : MessageCount = 0 : Broadcasts = "" : Set view_ = New FakeView : End Sub
  Public Sub MsgBoxSub(text, flags) : Messages = Messages & text & "|" : MessageCount = MessageCount + 1 : End Sub
  Public Sub Broadcast(word) : Broadcasts = Broadcasts & word & ";" : End Sub
  Public Property Get MainView : Set MainView = view_ : End Property
  Public Property Get locView : Set locView = view_ : End Property
  Public Property Get GetBitmap : Set GetBitmap = Nothing : End Property
End Class

' wine's VBScript does not apply a default member to a property's result: frm.bar(i)
' would pass i to `bar` itself.
Function BarOf(frm, i) : Set BarOf = frm.bar.Item(i) : End Function

Function NewForm(formName)
  Set NewForm = New FakeForm
  NewForm.Init formName, 12000, 9000
End Function

' ---- stories --------------------------------------------------------------------------

' The library and a workspace by their program identifiers, their type information, and
' the errors a script sees: ours with our text, the runtime's for an unknown member. (Each
' member's meaning is the native dispatch faces test's; the bridge's every shape is
' bridge_check.cpp's.)
Sub CreationAndErrors()
  Story = "creation and errors"
  Dim lib : Set lib = CreateObject("ZADEVE.ZuzuzudLibrary")
  CheckEqual TypeName(lib), "_ZuzuzudLibrary", "TypeName is the interface's"
  CheckEqual lib.BarsConfigFile, "", "a new library has no configuration file"
  lib.BarsConfigFile = "C:\x\BARS.INI"
  CheckEqual lib.barsconfigfile, "C:\x\BARS.INI", "names match in any case"
  Dim n, d, unknown, mismatch, notOptional
  On Error Resume Next
  Set lib.ShellApplicationObject = Nothing
  n = Err.Number : d = Err.Description : Err.Clear
  lib.NoSuchMember 1
  unknown = Err.Number : Err.Clear
  lib.ShellApplicationObject = 5
  mismatch = Err.Number : Err.Clear
  lib.KaTSetup
  notOptional = Err.Number
  On Error GoTo 0
  CheckEqual n & " " & d, "20000 Invalid application object", "Nothing as the application object"
  CheckEqual unknown, 438, "an unknown member"
  CheckEqual mismatch, 13, "a number as the application object"
  CheckEqual notOptional, 449, "a required argument left out"
  ' The other class: each workspace is a COM object of its own.
  Dim creation : Set creation = CreateObject("ZADEVE.WorkspaceCreation")
  Dim ws : Set ws = creation.NewZuzuzudWorkspace
  CheckEqual TypeName(ws), "_ZuzuzudWorkspace", "a workspace's TypeName"
  Check Not ws Is creation.NewZuzuzudWorkspace, "each call makes a new workspace"
End Sub

' KaTSetup on the example view: every bar built and registered, the two deliberate
' problems reported through MsgBoxSub, the symbols from the application, the layout;
' then a hidden bar's REFORMAT laid out inside the library's own call (by-reference results
' into the script's variables), and a bar floated with the states of the host's own buttons.
Sub MainRoad(lib)
  Story = "main road"
  Dim host : Set host = New FakeShellApp
  Dim tbm : Set tbm = New FakeTBM
  Dim frm : Set frm = NewForm("frmMain")
  lib.InitialiseZADEVE tbm, Examples & "BARS.INI", Examples
  Set lib.ShellApplicationObject = host
  lib.KaTSetup frm, "MainView"
  CheckEqual host.MessageCount, 2, "reports: " & host.Messages
  Check InStr(host.Messages, "function: Export.") > 0, "the missing function is reported: " & host.Messages
  Check InStr(host.Messages, "function: !WRAP.") > 0, "the unknown entry is reported: " & host.Messages
  CheckEqual tbm.Count, 7, "bars in TBM"
  CheckEqual frm.bar.Count, 7, "elements of the bar array"
  Check tbm.ItemAsObject(3) Is BarOf(frm, Draw), "TBM holds the form's own bars"
  CheckEqual BarOf(frm, Draw).Symbols, 4, "symbol image sets on the Draw bar"
  CheckEqual host.MainView.LastSymbol, "Diamond", "the last symbol asked of the application"
  CheckEqual BarOf(frm, File).ButtonCount, 9, "File bar buttons (no separators, no Export)"
  Check Not BarOf(frm, Tools).Visible, "the floating Tools bar stays hidden on its form"
  CheckEqual BarOf(frm, Format).Top, 330, "the second top bar under the first"
  CheckEqual BarOf(frm, View).Left, 12000 - 420, "the right bar on the right edge"

  Set frm.Library = lib
  lib.KaTSetVisible frm, BarOf(frm, Draw), 0
  CheckEqual frm.Signals & frm.Layouts, "REFORMAT;1", "signals and the layouts the handler ran"
  CheckEqual frm.LastLayout, "0,660,11565,8340", "free rectangle without the Draw bar"
  CheckEqual lib.KaTIsVisible(BarOf(frm, Draw)), 0, "KaTIsVisible of the hidden bar"
  lib.KaTSetVisible frm, BarOf(frm, Draw), -1
  CheckEqual frm.LastLayout, "420,660,11565,8340", "free rectangle with the Draw bar back"
  Set frm.Library = Nothing

  ' A floated bar opens with the states of the host's own toolbar, which the palette's
  ' control reads from this script's class: a pressed toggle, a disabled button and a
  ' selected combo entry with its list.
  Story = "floated states"
  lib.KaSetFunctionState frm, "Bold", -1
  lib.KaSetFunctionEnabled frm, "Italic", 0
  lib.KaAddFunctionListItem frm, "FontName", "Arial", 7
  lib.KaAddFunctionListItem frm, "FontName", "Courier", 9
  lib.KaSetItemIndexByText frm, "FontName", "Courier"
  lib.KaTFloat frm, BarOf(frm, Format)
  Dim pb : Set pb = tbm.ItemAsObject(tbm.Count)
  Check Not pb Is BarOf(frm, Format), "the palette's own bar comes last in TBM"
  pb.buttonIndex = pb.Item("Bold").Index
  CheckEqual pb.PushButtonFlags And BF_ON, BF_ON, "Bold pressed on the palette"
  pb.buttonIndex = pb.Item("Italic").Index
  CheckEqual pb.ButtonEnabled, False, "Italic disabled on the palette"
  pb.buttonIndex = pb.Item("FontName").Index
  CheckEqual pb.ButtonListIndex, 1, "Courier selected on the palette"
  Dim list : Set list = pb.Item("FontName").PlaceholderFor
  CheckEqual list.ListCount & ":" & list.List(0) & "/" & list.ItemData(0) & "," & list.List(1) & "/" & list.ItemData(1), _
    "2:Arial/7,Courier/9", "the host's list on the palette"
  Check InStr(host.Messages, "restoring bar state") = 0, "the copy reported nothing: " & host.Messages
  lib.KaTUnloadBars frm
  CheckEqual tbm.Count, 0, "KaTUnloadBars closes the palette and empties TBM"
  frm.Release
End Sub

' Members 1 to 40 of the library, which a workspace offers as its proxies, each called
Sub Main()
  CreationAndErrors
  MainRoad CreateObject("ZADEVE.ZuzuzudLibrary")
End Sub

On Error Resume Next
Main
If Err.Number <> 0 Then
  WScript.Echo "FAILED [" & Story & "]: error " & Err.Number & " " & Err.Description & " (" & Err.Source & ")"
  WScript.Quit 1
End If
On Error GoTo 0
If Failures > 0 Then
  WScript.Echo Failures & " checks failed"
  WScript.Quit 1
End If
WScript.Echo "ALL OK"
