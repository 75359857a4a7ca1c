; AutoHotkey v2, 32-bit (AutoHotkey32.exe). "Str" is UTF-16 in AutoHotkey v2, so the
; wide export keeps every character; the returned text is copied.
colour := DllCall(A_ScriptDir "\vantrel.dll\ShowListBoxW", "Str", "Colour", "Str", "Red|Green|Blue|"
    , "Str", "200", "Str", "150", "Str", String(A_ScriptHwnd), "Str")
if (colour != "CANCEL")
    MsgBox "You chose " colour
