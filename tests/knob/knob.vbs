' Late binding of the registered knob by a client nobody here wrote.
Option Explicit
Dim knob, failures, x, raised
failures = 0

Sub Check(ok, what)
    If Not ok Then
        WScript.Echo "FAIL: " & what
        failures = failures + 1
    End If
End Sub

' The host's CreateObject: Wine's VBScript CreateObject refuses objects that
' take a site (IObjectWithSite) when the script host offers no service provider.
Set knob = WScript.CreateObject("Tarnik.QEV_Knob")
Check knob.MaxVal = 100, "default MaxVal"
knob.MaxVal = 200
Check knob.MaxVal = 200, "MaxVal set"
knob.UnitName = "RPM"
Check knob.UnitName = "RPM", "UnitName"
knob.BkColor = &HFF8000&
' Colours come back as VT_UI4, which Wine's VBScript compares only after CLng.
Check CLng(knob.BkColor) = &HFF8000&, "BkColor from a long"
knob.InverseDirection = True
Check knob.InverseDirection = True, "Boolean round trip"
knob.TickerNum = 7
Check knob.TickerNum = 7, "TickerNum"
knob.UpdateValue 150
Check knob.GetValue() = 150, "UpdateValue inside the range"
knob.UpdateValue 500
Check knob.GetValue() = 200, "UpdateValue clamps to MaxVal"
knob.UpdateValue -3
Check knob.GetValue() = 0, "UpdateValue clamps to MinVal"
knob.SetScaleRangeColor 2, 10, 20, &HFF&
knob.CancelScaleRangeColor 2
Check knob.hWnd = 0, "no window before activation"
Check knob.Enabled = True, "Enabled"
' An argument handed to a font of nothing is an error the script sees, not a crash.
Set knob.Font = Nothing
On Error Resume Next
x = knob.Font(1)
raised = Err.Number
On Error GoTo 0
Check raised <> 0, "Font(1) without a font raises an error"
Set knob = Nothing

If failures = 0 Then WScript.Echo "OK"
