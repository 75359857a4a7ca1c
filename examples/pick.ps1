# PowerShell 5.1 or 7, 32- or 64-bit. The script's folder holds the package's
# x86 and x64 folders; the pointer size picks one. The wide export is called
# with CharSet.Unicode, and its answer, the library's own text, is copied.
# vantrel.exe serves a script too: it prints its answer in UTF-8 and tells
# Cancel by its exit code. (The non-ASCII letter is written as [char]0xFC:
# Windows PowerShell reads a script without a byte-order mark in the ANSI
# code page.)
$folder = Join-Path $PSScriptRoot $(if ([IntPtr]::Size -eq 8) { "x64" } else { "x86" })
Add-Type -Namespace Vantrel -Name Dialogs -MemberDefinition @"
[DllImport(@"$(Join-Path $folder vantrel.dll)", CharSet = CharSet.Unicode)]
public static extern IntPtr ShowListBoxW(string title, string items, string width, string height, string host);
"@
$green = "Gr$([char]0xFC)n"
$answer = [Vantrel.Dialogs]::ShowListBoxW("Farbe", "Rot|$green|Blau|", "200", "150", "0")
$colour = [Runtime.InteropServices.Marshal]::PtrToStringUni($answer)
if ($colour -ne "CANCEL") { "You chose $colour" } else { "No colour chosen" }

# Through vantrel.exe: UTF-8 both ways, whatever the console's code page.
$utf8 = New-Object Text.UTF8Encoding $false
[Console]::OutputEncoding = $utf8  # how PowerShell reads what vantrel.exe prints
$OutputEncoding = $utf8            # how it pipes text to vantrel.exe (ASCII in 5.1)
$exe = Join-Path $folder "vantrel.exe"
$colour = & $exe --list --title Farbe Rot $green Blau
switch ($LASTEXITCODE) {
    0 { "You chose $colour" }
    1 { "No colour chosen" }
    default { "vantrel.exe failed with exit code $LASTEXITCODE" }
}
$name = Get-Content -Encoding UTF8 (Join-Path $PSScriptRoot "names.txt") | & $exe --list --title Name
if ($LASTEXITCODE -eq 0) { "Hello, $name" }
