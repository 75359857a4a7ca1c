; A Unicode installer: it asks for a text through the wide export ("w"
; strings) and writes the answer beside itself as UTF-16.
Unicode true
Target ${TARGET}
OutFile "${OUT}"
RequestExecutionLevel user
SilentInstall silent

Section
  System::Call '$EXEDIR\vantrel.dll::ShowInputW(w "NSIS Ωμέγα 東京", w "", w "300", w "200", w "0") w .r0'
  FileOpen $1 "$EXEDIR\nsis_unicode_answer.txt" w
  FileWriteUTF16LE $1 $0
  FileClose $1
SectionEnd
