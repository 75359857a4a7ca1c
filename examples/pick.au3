; AutoIt, run as 32-bit (#AutoIt3Wrapper_UseX64=n). "str" is ANSI text; the
; answer comes back copied in $result[0].
Local $result = DllCall(@ScriptDir & "\vantrel.dll", "str", "ShowListBox", "str", "Colour", _
        "str", "Red|Green|Blue|", "str", "200", "str", "150", "str", "0")
If Not @error And $result[0] <> "CANCEL" Then MsgBox(0, "Colour", $result[0])
