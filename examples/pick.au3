; AutoIt, 32- or 64-bit: @AutoItX64 picks the package's folder (x86 or x64).
; "wstr" is UTF-16 text for the wide export; the answer comes back copied in $result[0].
Local $dll = @ScriptDir & (@AutoItX64 ? "\x64" : "\x86") & "\vantrel.dll"
Local $result = DllCall($dll, "wstr", "ShowListBoxW", "wstr", "Colour", _
        "wstr", "Red|Green|Blue|", "wstr", "200", "wstr", "150", "wstr", "0")
If Not @error And $result[0] <> "CANCEL" Then MsgBox(0, "Colour", $result[0])
