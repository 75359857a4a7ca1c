; AutoIt, run as 32-bit (#AutoIt3Wrapper_UseX64=n). "wstr" is UTF-16 text for the
; wide export; the answer comes back copied in $result[0].
Local $result = DllCall(@ScriptDir & "\vantrel.dll", "wstr", "ShowListBoxW", "wstr", "Colour", _
        "wstr", "Red|Green|Blue|", "wstr", "200", "wstr", "150", "wstr", "0")
If Not @error And $result[0] <> "CANCEL" Then MsgBox(0, "Colour", $result[0])
