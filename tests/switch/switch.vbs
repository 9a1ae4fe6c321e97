' Late binding of the registered switch by a client nobody here wrote.
Option Explicit
Dim sw, failures
failures = 0

Sub Check(ok, what)
    If Not ok Then
        WScript.Echo "FAIL: " & what
        failures = failures + 1
    End If
End Sub

' The host's CreateObject: Wine's VBScript CreateObject refuses objects that
' take a site (IObjectWithSite) when the script host offers no service provider.
Set sw = WScript.CreateObject("Wendal.QEV_Switch")
Check sw.Value = True, "a new switch is on"
sw.Value = False
Check sw.Value = False, "Value set"
sw.SwitchType = 6
Check sw.SwitchType = 6, "SwitchType set"
sw.Text = "Pump"
Check sw.Text = "Pump", "Text"
sw.GradientRate = 0.75
Check sw.GradientRate = 0.75, "GradientRate set"
' Colours come back as VT_UI4, which Wine's VBScript compares only after CLng.
sw.EdgeColor = &HC0C0C0&
Check CLng(sw.EdgeColor) = &HC0C0C0&, "EdgeColor from a long"
sw.Status = Not sw.Status
Check sw.Status = False, "Status toggled"
Check sw.hWnd = 0, "no window before activation"
Set sw = Nothing

If failures = 0 Then WScript.Echo "OK"
