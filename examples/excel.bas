' VBA in 32-bit Office (a 64-bit Office cannot load a 32-bit DLL). StrPtr hands the
' wide export VBA's own UTF-16 strings, so every character arrives.
Private Declare Function ShowListBoxW Lib "C:\Vantrel\vantrel.dll" (ByVal title As Long, _
    ByVal items As Long, ByVal width As Long, ByVal height As Long, ByVal host As Long) As Long
Private Declare Function lstrlenW Lib "kernel32" (ByVal text As Long) As Long
Private Declare Sub CopyMemory Lib "kernel32" Alias "RtlMoveMemory" (ByVal target As Long, _
    ByVal source As Long, ByVal bytes As Long)

' The answer is an address in the library's memory: copy the text at once.
Private Function AnswerText(ByVal answer As Long) As String
    Dim length As Long
    length = lstrlenW(answer)
    AnswerText = String$(length, vbNullChar)
    CopyMemory StrPtr(AnswerText), answer, length * 2
End Function

Sub PickColour()
    Dim colour As String
    colour = AnswerText(ShowListBoxW(StrPtr("Colour"), StrPtr("Red|Green|Blue|"), StrPtr("200"), _
        StrPtr("150"), StrPtr(CStr(Application.Hwnd))))
    If colour <> "CANCEL" Then Range("A1").Value = colour
End Sub
