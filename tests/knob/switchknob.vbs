' Late binding of the switch knob's item methods, as a script host calls them.
' Prints "OK" as its last line only when every check passed.
Option Explicit

Dim failures
failures = 0

Sub Check(cond, what)
    If Not cond Then
        WScript.Echo "FAIL: " & what
        failures = failures + 1
    End If
End Sub

' The host's CreateObject: VBScript's own gives every object that takes a
' site (IObjectWithSite) a site built on the host's service provider, which
' cscript does not offer, and then fails with error 429.
Dim sk
Set sk = WScript.CreateObject("Tarnik.QEV_SwitchKnob")
Check Not (sk Is Nothing), "CreateObject"

Check sk.GetSetpoint() = "Key2", "a new switch knob's current key is Key2"

sk.AddItem "Key2", "Two", &HFF00&
sk.AddItem "Key10", "Ten", 255
sk.AddItem "Key1", "One", RGB(1, 2, 3)
sk.AddItem "Key1", "Uno", 0

sk.UpdateSetpoint "Key10"
Check sk.GetSetpoint() = "Key10", "UpdateSetpoint then GetSetpoint"

sk.UpdateSetpoint "nobody"
Check sk.GetSetpoint() = "nobody", "a key of no item is kept"

sk.RemoveItem "Key10"
sk.RemoveItem "absent"
Check sk.GetSetpoint() = "nobody", "RemoveItem leaves the current key"

' Numbers and strings are coerced as the type library says.
sk.UpdateSetpoint 42
Check sk.GetSetpoint() = "42", "a number passed as key arrives as its text"

sk.ElementIndicatorType = 3
Check sk.ElementIndicatorType = 3, "ElementIndicatorType"
sk.MarkerVisible = False
Check sk.MarkerVisible = False, "MarkerVisible"
sk.StartAngle = 180
sk.EndAngle = 0
Check sk.StartAngle = 180 And sk.EndAngle = 0, "angles"

If failures = 0 Then WScript.Echo "OK"
