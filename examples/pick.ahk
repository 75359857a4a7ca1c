; AutoHotkey v2, 32-bit (AutoHotkey32.exe). "AStr" passes and returns ANSI text;
; the returned text is copied, so it stays valid after the next call.
colour := DllCall(A_ScriptDir "\vantrel.dll\ShowListBox", "AStr", "Colour", "AStr", "Red|Green|Blue|"
    , "AStr", "200", "AStr", "150", "AStr", String(A_ScriptHwnd), "AStr")
if (colour != "CANCEL")
    MsgBox "You chose " colour
