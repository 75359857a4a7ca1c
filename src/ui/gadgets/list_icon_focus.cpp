// The row a report list offers a screen reader when it opens: the selected
// one, else the first, holds the keyboard focus.
#include <windows.h>
#include <commctrl.h>

#include "ui/gadgets/gadgets.h"
#include "ui/gadgets/kinds.h"

namespace vantrel {
namespace {

constexpr UINT_PTR OFFERED_FOCUS_SUBCLASS = 0x764F;  // "vO"

void set_focus_state(HWND list, int32_t row, bool focused) {
  LVITEMW item = {};
  item.stateMask = LVIS_FOCUSED;
  item.state = focused ? LVIS_FOCUSED : 0;
  SendMessageW(list, LVM_SETITEMSTATE, WPARAM(row), reinterpret_cast<LPARAM>(&item));
}

// The first row focused with none selected was offered to be read, not
// chosen: the first key acts as it did on a list with no focused row
// (Down or Home picks the first row; the list would skip a focused one).
LRESULT CALLBACK offered_focus_procedure(HWND list, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR) {
  if (message == WM_KEYDOWN || message == WM_NCDESTROY) {
    RemoveWindowSubclass(list, offered_focus_procedure, OFFERED_FOCUS_SUBCLASS);
    if (message == WM_KEYDOWN && SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0) == 0) {
      auto focused = int32_t(SendMessageW(list, LVM_GETNEXTITEM, WPARAM(-1), LVNI_FOCUSED));
      if (focused >= 0) set_focus_state(list, focused, false);
    }
  }
  return DefSubclassProc(list, message, wparam, lparam);
}

}  // namespace

void focus_list_icon_row(int32_t number) {
  GadgetRecord* gadget = find_gadget(number);
  if (!gadget || gadget->operations->kind != KIND_LIST_ICON) return;
  HWND list = gadget->handle;
  if (SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) <= 0) return;
  auto selected = int32_t(SendMessageW(list, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED));
  set_focus_state(list, selected >= 0 ? selected : 0, true);
  if (selected < 0) SetWindowSubclass(list, offered_focus_procedure, OFFERED_FOCUS_SUBCLASS, 0);
  // Its focus rectangle shows once the keyboard is used, as in the
  // platform's own dialogs opened by mouse: the list looks as before.
  SendMessageW(list, WM_UPDATEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS), 0);
}

}  // namespace vantrel
