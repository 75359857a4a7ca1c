#pragma once
// Functions handed to the platform or taken from it where its interface
// passes them as plain numbers or addresses (a window's procedure slot, a
// message parameter, GetProcAddress). Going through these typed helpers lets
// the compiler check the calling convention: on 32-bit Windows it must be the
// platform's (__stdcall), and a wrong one builds and runs on 64-bit but
// corrupts the stack on 32-bit.
#include <windows.h>
#include <commctrl.h>

#include <type_traits>

namespace vantrel {

template <typename Function>
struct is_platform_function : std::false_type {};
template <typename Result, typename... Arguments>
struct is_platform_function<Result(WINAPI*)(Arguments...)> : std::true_type {};
// 64-bit code has one calling convention: WINAPI is every function's.
template <typename Function>
constexpr bool uses_platform_convention = sizeof(void*) == 8 || is_platform_function<Function>::value;

static_assert(uses_platform_convention<WNDPROC> && (sizeof(void*) == 8 || !uses_platform_convention<void (*)()>));

// `name` in `module` as `Function`, or null; `Function` must be __stdcall.
template <typename Function>
Function platform_function(HMODULE module, const char* name) {
  static_assert(uses_platform_convention<Function>, "a platform function is WINAPI");
  return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

// Puts `procedure` in the window's procedure slot; the one it replaced.
inline WNDPROC replace_window_procedure(HWND window, WNDPROC procedure) {
  return reinterpret_cast<WNDPROC>(SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
}

inline WNDPROC window_procedure(HWND window) {
  return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC));
}

// The procedure of the window's class, under any procedure put in front of it.
inline WNDPROC class_procedure(HWND window) {
  return reinterpret_cast<WNDPROC>(GetClassLongPtrW(window, GCLP_WNDPROC));
}

// Has a report list order its rows by `compare`.
inline void sort_list_items(HWND list, PFNLVCOMPARE compare, LPARAM data = 0) {
  SendMessageW(list, LVM_SORTITEMS, WPARAM(data), reinterpret_cast<LPARAM>(compare));
}

}  // namespace vantrel
