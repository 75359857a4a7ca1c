# PowerShell. A 32-bit PowerShell can call the wide export itself
# (CharSet.Unicode); the answer is the library's, so it is taken as an
# address and copied. Either PowerShell can run vantrel.exe, which loads the
# DLL in a process of its own and prints its answer as UTF-8.
if ([IntPtr]::Size -eq 4) {
    Add-Type -Namespace Vantrel -Name Dialogs -MemberDefinition @'
[DllImport(@"C:\Vantrel\vantrel.dll", CharSet = CharSet.Unicode)]
public static extern IntPtr ShowListBoxW(string title, string items, string width, string height, string host);
'@
    $answer = [Vantrel.Dialogs]::ShowListBoxW("Colour", "Red|Green|Blue|", "200", "150", "0")
    "You chose $([Runtime.InteropServices.Marshal]::PtrToStringUni($answer))"
}
[Console]::OutputEncoding = [Text.Encoding]::UTF8
$colour = & "C:\Vantrel\vantrel.exe" --list --title Colour Red Green Blue
if ($LASTEXITCODE -eq 0) { "You chose $colour" } else { "Cancelled" }
$name = Get-Content -Encoding UTF8 names.txt | & "C:\Vantrel\vantrel.exe" --list --title Name
