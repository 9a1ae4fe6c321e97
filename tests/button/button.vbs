' Late binding of the registered smart button by a client nobody here wrote.
Option Explicit
Dim button, failures
failures = 0

Sub Check(ok, what)
    If Not ok Then
        WScript.Echo "FAIL: " & what
        failures = failures + 1
    End If
End Sub

' The host's CreateObject: Wine's VBScript CreateObject refuses objects that
' take a site when the script host offers no service provider.
Set button = WScript.CreateObject("Pellan.QEV_SmartButton")
Check button.Caption = "SButton", "default Caption"
button.Caption = "Disable"
Check button.Caption = "Disable", "Caption set"
button.ShapeType = 16
Check button.ShapeType = 16, "ShapeType set"
' Colours come back as VT_UI4, which Wine's VBScript compares only after CLng.
button.FaceColor = &HC00000
Check CLng(button.FaceColor) = &HC00000, "FaceColor from a long"
button.WordWrap = True
Check button.WordWrap = True, "Boolean round trip"
button.GradientRate = 0.25
Check button.GradientRate = 0.25, "GradientRate"
button.Text1XOffset = -20
Check button.Text1XOffset = -20, "Text1XOffset"
button.Enabled = False
Check button.Enabled = False, "Enabled set"
Check button.hWnd = 0, "no window before activation"
' A negative font size is refused and leaves the size alone.
Dim size
size = button.FontSize
On Error Resume Next
button.FontSize = -1
Check Err.Number <> 0, "FontSize -1 refused"
On Error GoTo 0
Check button.FontSize = size, "FontSize kept"
Set button = Nothing

If failures = 0 Then WScript.Echo "OK"
