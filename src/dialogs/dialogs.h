#pragma once
// The dialogs behind the exports. Each reads its argument copies in the
// export's argument order and sets the result when the user has chosen.
#include <windows.h>

#include "runtime/strings.h"

namespace vantrel {

void show_input_dialog(StringVar* arguments, StringVar* result);
void show_calendar_dialog(StringVar* arguments, StringVar* result);
void show_list_box_dialog(StringVar* arguments, StringVar* result);
void show_combo_box_dialog(StringVar* arguments, StringVar* result);
void show_drop_dialog(StringVar* arguments, StringVar* result);
void show_multi_list_dialog(StringVar* arguments, StringVar* result);
void show_about_dialog(StringVar* arguments, StringVar* result);

// Lets the messages that carry a file drop (WM_DROPFILES and 0x0049, which
// moves its block between processes) and no others reach `window` from less privileged processes, through `filter`
// (the platform's per-window message filter) or, without one, the platform's
// own where it has one. Returns how many were allowed.
using MessageFilter = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);
int allow_drops_through_privilege_filter(HWND window, MessageFilter filter);
int allow_drops_through_privilege_filter(HWND window);

}  // namespace vantrel
