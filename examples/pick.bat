@echo off
rem A batch file through vantrel.exe: the answer is the line it prints, the
rem exit code says whether one was chosen (1: cancelled).
vantrel.exe --list --title Colour Red Green Blue > "%TEMP%\colour.txt"
if errorlevel 1 goto cancelled
set /p colour=<"%TEMP%\colour.txt"
echo You chose %colour%
goto :eof
:cancelled
echo Cancelled
