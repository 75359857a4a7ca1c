# Python with ctypes, 32- or 64-bit. The script's folder holds the package's
# x86 and x64 folders; the process's pointer size picks one. The wide export
# takes and gives UTF-16 (c_wchar_p), so every character arrives, and ctypes
# copies the answer into a str.
import ctypes
import os
import struct

folder = "x64" if struct.calcsize("P") == 8 else "x86"
here = os.path.dirname(os.path.abspath(__file__))
vantrel = ctypes.WinDLL(os.path.join(here, folder, "vantrel.dll"))
show_list_box = vantrel.ShowListBoxW
show_list_box.argtypes = [ctypes.c_wchar_p] * 5
show_list_box.restype = ctypes.c_wchar_p

answer = show_list_box("Farbe", "Rot|Grün|Blau|", "200", "150", "0")
if answer == "CANCEL":
    print("No colour chosen")
else:
    print("You chose", answer)
