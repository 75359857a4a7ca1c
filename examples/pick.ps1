# PowerShell, 32- or 64-bit: the pointer size picks the package's folder (x86
# or x64). The wide export is called with CharSet.Unicode; the answer is the
# library's, so it is taken as an address and copied. vantrel.exe, which
# loads the DLL in a process of its own and prints its answer as UTF-8,
# serves a script too.
$folder = if ([IntPtr]::Size -eq 8) { "x64" } else { "x86" }
Add-Type -Namespace Vantrel -Name Dialogs -MemberDefinition @"
[DllImport("C:\\Vantrel\\$folder\\vantrel.dll", CharSet = CharSet.Unicode)]
public static extern IntPtr ShowListBoxW(string title, string items, string width, string height, string host);
"@
$answer = [Vantrel.Dialogs]::ShowListBoxW("Colour", "Red|Green|Blue|", "200", "150", "0")
"You chose $([Runtime.InteropServices.Marshal]::PtrToStringUni($answer))"
[Console]::OutputEncoding = [Text.Encoding]::UTF8
$colour = & "C:\Vantrel\$folder\vantrel.exe" --list --title Colour Red Green Blue
if ($LASTEXITCODE -eq 0) { "You chose $colour" } else { "Cancelled" }
$name = Get-Content -Encoding UTF8 names.txt | & "C:\Vantrel\$folder\vantrel.exe" --list --title Name
