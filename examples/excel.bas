' VBA in 32-bit Office (a 64-bit Office cannot load a 32-bit DLL).
Private Declare Function ShowListBox Lib "C:\Vantrel\vantrel.dll" (ByVal title As String, _
    ByVal items As String, ByVal width As String, ByVal height As String, ByVal host As String) As Long
Private Declare Function lstrlenA Lib "kernel32" (ByVal text As Long) As Long
Private Declare Sub CopyMemory Lib "kernel32" Alias "RtlMoveMemory" (ByVal target As String, _
    ByVal source As Long, ByVal bytes As Long)

' The answer is an address in the library's memory: copy the text at once.
Private Function AnswerText(ByVal answer As Long) As String
    Dim length As Long
    length = lstrlenA(answer)
    AnswerText = String$(length, vbNullChar)
    CopyMemory AnswerText, answer, length
End Function

Sub PickColour()
    Dim colour As String
    colour = AnswerText(ShowListBox("Colour", "Red|Green|Blue|", "200", "150", CStr(Application.Hwnd)))
    If colour <> "CANCEL" Then Range("A1").Value = colour
End Sub
