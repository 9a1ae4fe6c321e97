' Late binding of both controls of the slider library, as a script host calls
' them. Prints "OK" as its last line only when every check passed.
Option Explicit

Dim failures
failures = 0

Sub Check(cond, what)
    If Not cond Then
        WScript.Echo "FAIL: " & what
        failures = failures + 1
    End If
End Sub

' The host's CreateObject: VBScript's own fails (429) for objects that take a
' site when cscript offers no service provider.
Dim s
Set s = WScript.CreateObject("Morvel.QEV_Slider")
Check Not (s Is Nothing), "CreateObject slider"
Check s.GetSetpoint() = 50, "a new slider's set point is 50"
s.UpdateSetpoint 150
Check s.GetSetpoint() = 100, "UpdateSetpoint(150) clamps to MaxVal"
s.MaxVal = 500
s.UpdateSetpoint 250.5
Check s.GetSetpoint() = 250.5, "UpdateSetpoint within the range"
s.UpdateActualValue 70
s.Vertical = True
Check s.Vertical = True, "Vertical"

Dim w
Set w = WScript.CreateObject("Morvel.QEV_SwitchSlider.3")
Check Not (w Is Nothing), "CreateObject switch slider"
Check w.GetSetpoint() = "Key2", "a new switch slider's current key is Key2"
w.AddItem "Key1", "Opt1", 255
w.UpdateSetpoint "Key1"
Check w.GetSetpoint() = "Key1", "UpdateSetpoint then GetSetpoint"
w.RemoveItem "Key1"
Check w.GetSetpoint() = "Key1", "RemoveItem leaves the current key"
w.IndicatorType = 5
Check w.IndicatorType = 5, "IndicatorType"

If failures = 0 Then WScript.Echo "OK"
