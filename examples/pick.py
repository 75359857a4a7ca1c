# Python with ctypes, in a 32-bit Python. Texts go in and come out in the
# ANSI code page ("mbcs"), not UTF-8; c_char_p copies the answer into bytes.
import ctypes

vantrel = ctypes.WinDLL(r"C:\Vantrel\vantrel.dll")
show_list_box = vantrel.ShowListBox
show_list_box.argtypes = [ctypes.c_char_p] * 5
show_list_box.restype = ctypes.c_char_p

answer = show_list_box(b"Colour", "Red|Green|Blue|".encode("mbcs"), b"200", b"150", b"0").decode("mbcs")
if answer != "CANCEL":
    print("You chose", answer)
