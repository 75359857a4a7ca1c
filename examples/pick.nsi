; NSIS 3, a Unicode installer: vantrel.dll goes into the installer's plug-in
; folder and is called there by its full path (NSIS loads DLLs from the system
; folder only). The System plug-in's "w" strings go to the wide export, and
; "w .r0" copies its answer into $0. Built beside the package's x86 and x64
; folders: makensis pick.nsi (x86-unicode), or makensis "-XTarget amd64-unicode" pick.nsi.
Unicode true
OutFile "pick.exe"
RequestExecutionLevel user

Function .onInit
  InitPluginsDir
  !if ${NSIS_PTR_SIZE} > 4
    File "/oname=$PLUGINSDIR\vantrel.dll" "x64\vantrel.dll"
  !else
    File "/oname=$PLUGINSDIR\vantrel.dll" "x86\vantrel.dll"
  !endif
FunctionEnd

Section
  System::Call '$PLUGINSDIR\vantrel.dll::ShowListBoxW(w "Farbe", w "Rot|Grün|Blau|", w "200", w "150", w "$HWNDPARENT") w .r0'
  StrCmp $0 "CANCEL" +2
  MessageBox MB_OK "You chose $0"
SectionEnd
