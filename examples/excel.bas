' VBA in 32-bit or 64-bit Office. The workbook's folder holds the package's
' x86 and x64 folders, and each Office loads the DLL of its own bitness from
' there by its full path; the Declare lines then find the loaded vantrel.dll
' by its name. StrPtr hands the wide export VBA's own UTF-16 strings, so every
' character arrives. Pointers are LongPtr under VBA7 (Office 2010 and later),
' whose 64-bit form needs PtrSafe; plain Long before.
#If VBA7 Then
    Private Declare PtrSafe Function LoadLibraryW Lib "kernel32" (ByVal path As LongPtr) As LongPtr
    Private Declare PtrSafe Function ShowListBoxW Lib "vantrel.dll" (ByVal title As LongPtr, _
        ByVal items As LongPtr, ByVal width As LongPtr, ByVal height As LongPtr, ByVal host As LongPtr) As LongPtr
    Private Declare PtrSafe Function lstrlenW Lib "kernel32" (ByVal text As LongPtr) As Long
    Private Declare PtrSafe Sub CopyMemory Lib "kernel32" Alias "RtlMoveMemory" (ByVal target As LongPtr, _
        ByVal source As LongPtr, ByVal bytes As LongPtr)
#Else
    Private Declare Function LoadLibraryW Lib "kernel32" (ByVal path As Long) As Long
    Private Declare Function ShowListBoxW Lib "vantrel.dll" (ByVal title As Long, _
        ByVal items As Long, ByVal width As Long, ByVal height As Long, ByVal host As Long) As Long
    Private Declare Function lstrlenW Lib "kernel32" (ByVal text As Long) As Long
    Private Declare Sub CopyMemory Lib "kernel32" Alias "RtlMoveMemory" (ByVal target As Long, _
        ByVal source As Long, ByVal bytes As Long)
#End If

' The DLL of this Office's bitness, from the workbook's folder.
Private Function LoadVantrel() As Boolean
    Dim folder As String
    #If Win64 Then
        folder = "\x64\"
    #Else
        folder = "\x86\"
    #End If
    LoadVantrel = LoadLibraryW(StrPtr(ThisWorkbook.Path & folder & "vantrel.dll")) <> 0
End Function

' The answer is an address in the library's memory: copy the text at once.
' A Variant holds the address in either Office.
Private Function AnswerText(ByVal answer As Variant) As String
    Dim length As Long
    length = lstrlenW(answer)
    AnswerText = String$(length, vbNullChar)
    CopyMemory StrPtr(AnswerText), answer, length * 2
End Function

Sub PickColour()
    If Not LoadVantrel() Then
        MsgBox "vantrel.dll was not found in the x86 or x64 folder beside " & ThisWorkbook.Name
        Exit Sub
    End If
    Dim colour As String
    colour = AnswerText(ShowListBoxW(StrPtr("Farbe"), StrPtr("Rot|Gr" & ChrW(252) & "n|Blau|"), StrPtr("200"), _
        StrPtr("150"), StrPtr(CStr(Application.Hwnd))))
    If colour <> "CANCEL" Then Range("A1").Value = colour
End Sub
