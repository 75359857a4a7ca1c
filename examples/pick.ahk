; AutoHotkey v2, 32- or 64-bit: A_PtrSize picks the package's folder (x86 or x64).
; "Str" is UTF-16 in AutoHotkey v2, so the wide export keeps every character; the
; returned text is copied.
dll := A_ScriptDir (A_PtrSize = 8 ? "\x64" : "\x86") "\vantrel.dll"
colour := DllCall(dll "\ShowListBoxW", "Str", "Colour", "Str", "Red|Green|Blue|"
    , "Str", "200", "Str", "150", "Str", String(A_ScriptHwnd), "Str")
if (colour != "CANCEL")
    MsgBox "You chose " colour
