# Python with ctypes, in a 32-bit Python. The wide export takes and gives
# UTF-16 (c_wchar_p), so every character arrives; the answer is copied into a str.
import ctypes

vantrel = ctypes.WinDLL(r"C:\Vantrel\vantrel.dll")
show_list_box = vantrel.ShowListBoxW
show_list_box.argtypes = [ctypes.c_wchar_p] * 5
show_list_box.restype = ctypes.c_wchar_p

answer = show_list_box("Farbe", "Rot|Grün|Blau|", "200", "150", "0")
if answer != "CANCEL":
    print("You chose", answer)
