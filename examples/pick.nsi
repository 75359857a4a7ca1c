; NSIS 3, a Unicode installer: the System plug-in's "w" strings go to the wide
; export, and "w .r0" copies its answer into $0. NSIS loads DLLs from the
; system folder only, so vantrel.dll is named by its full path.
Unicode true
OutFile "pick.exe"
RequestExecutionLevel user

Section
  System::Call '$EXEDIR\vantrel.dll::ShowListBoxW(w "Colour", w "Red|Green|Blue|", w "200", w "150", w "$HWNDPARENT") w .r0'
  StrCmp $0 "CANCEL" +2
  MessageBox MB_OK "You chose $0"
SectionEnd
