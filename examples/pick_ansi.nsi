; NSIS 3, an ANSI installer (32-bit only): vantrel.dll goes into the
; installer's plug-in folder and is called there by its full path. The System
; plug-in's "m" strings are 8-bit text in the system's ANSI code page, for the
; fixed export, and "m .r0" copies its answer into $0. Built beside the
; package's x86 folder: makensis pick_ansi.nsi.
Unicode false
OutFile "pick_ansi.exe"
RequestExecutionLevel user

Function .onInit
  InitPluginsDir
  File "/oname=$PLUGINSDIR\vantrel.dll" "x86\vantrel.dll"
FunctionEnd

Section
  System::Call '$PLUGINSDIR\vantrel.dll::ShowListBox(m "Colour", m "Red|Green|Blue|", m "200", m "150", m "$HWNDPARENT") m .r0'
  StrCmp $0 "CANCEL" +2
  MessageBox MB_OK "You chose $0"
SectionEnd
