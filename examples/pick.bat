@echo off
rem A batch file beside the package's x86 and x64 folders, through vantrel.exe.
rem Its answer is the line it prints, in UTF-8: read under code page 65001, and
rem the console's own code page set back after. The exit code tells what
rem happened: 0 an answer, 1 Cancel, 2 a usage error, 3 no vantrel.dll.
setlocal
set "exe=%~dp0x64\vantrel.exe"
if /i "%PROCESSOR_ARCHITECTURE%"=="x86" if not defined PROCESSOR_ARCHITEW6432 set "exe=%~dp0x86\vantrel.exe"
for /f "tokens=2 delims=:." %%p in ('chcp') do set "codepage=%%p"
chcp 65001 > nul
"%exe%" --list --title Colour Red Green Blue > "%TEMP%\vantrel_colour.txt"
set "code=%errorlevel%"
set "colour="
set /p colour=<"%TEMP%\vantrel_colour.txt"
del "%TEMP%\vantrel_colour.txt"
if "%code%"=="0" echo You chose %colour%
if "%code%"=="1" echo No colour chosen
if %code% geq 2 echo vantrel.exe failed with exit code %code%
chcp %codepage% > nul
