# PowerShell through vantrel.exe (either PowerShell, 32- or 64-bit: the exe
# loads the DLL in a process of its own). Items can also be piped in.
$colour = & "C:\Vantrel\vantrel.exe" --list --title Colour Red Green Blue
if ($LASTEXITCODE -eq 0) { "You chose $colour" } else { "Cancelled" }
$name = Get-Content names.txt | & "C:\Vantrel\vantrel.exe" --list --title Name
