# Python with ctypes, 32- or 64-bit: the process's pointer size picks the
# package's folder (x86 or x64). The wide export takes and gives UTF-16
# (c_wchar_p), so every character arrives; the answer is copied into a str.
import ctypes
import struct

folder = "x64" if struct.calcsize("P") == 8 else "x86"
vantrel = ctypes.WinDLL(rf"C:\Vantrel\{folder}\vantrel.dll")
show_list_box = vantrel.ShowListBoxW
show_list_box.argtypes = [ctypes.c_wchar_p] * 5
show_list_box.restype = ctypes.c_wchar_p

answer = show_list_box("Farbe", "Rot|Grün|Blau|", "200", "150", "0")
if answer != "CANCEL":
    print("You chose", answer)
