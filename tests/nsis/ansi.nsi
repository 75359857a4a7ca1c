; An ANSI installer, as installers in the field are built: it asks for a
; text through the fixed export ("m" strings) and writes the answer beside
; itself. NSIS loads DLLs from the system folder only: the full path.
Unicode false
OutFile "${OUT}"
RequestExecutionLevel user
SilentInstall silent

Section
  System::Call '$EXEDIR\vantrel.dll::ShowInput(m "NSIS ANSI", m "from an installer", m "300", m "200", m "0") m .r0'
  FileOpen $1 "$EXEDIR\nsis_ansi_answer.txt" w
  FileWrite $1 $0
  FileClose $1
SectionEnd
