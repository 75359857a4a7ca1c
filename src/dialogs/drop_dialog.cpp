// ShowDragnDrop: files dropped from the shell onto a one-column list.
#include <windows.h>
#include <shellapi.h>

#include <cstring>
#include <cwchar>
#include <initializer_list>
#include <shlobj.h>

#include "dialogs/dialogs.h"
#include "dialogs/skeleton.h"
#include "runtime/heaps.h"
#include "runtime/string_functions.h"
#include "ui/gadgets/gadgets.h"
#include "ui/gadgets/kinds.h"

namespace vantrel {

namespace {

enum DropArgument { TITLE, WIDTH, HEIGHT, HOST_WINDOW };
constexpr int32_t FILE_LIST = 3;
constexpr UINT WM_COPYGLOBALDATA = 0x0049;  // carries the drop between processes
constexpr DWORD MSGFLT_ALLOW_MESSAGE = 1;

WNDPROC previous_list_procedure = nullptr;

void list_name(const char* name) {
  if (*name) add_gadget_item(FILE_LIST, -1, name);  // no file has an empty name
}

// Reads the names in one pass over the drop's DROPFILES block, within the
// block's size: asking the platform for name i walks every name before it,
// which makes a drop of 10,000 files take seconds. False when the block
// cannot be read.
bool list_names_of_block(HDROP drop) {
  SIZE_T size = GlobalSize(drop);
  auto* files = static_cast<const DROPFILES*>(GlobalLock(drop));
  if (!files) return false;
  bool readable = size >= sizeof(DROPFILES) && files->pFiles >= sizeof(DROPFILES) && files->pFiles < size;
  if (readable && !files->fWide) {
    const char* name = reinterpret_cast<const char*>(files) + files->pFiles;
    const char* end = reinterpret_cast<const char*>(files) + size;
    while (name < end && *name) {
      size_t length = strnlen(name, size_t(end - name));
      if (name + length == end) break;  // a name without its zero
      list_name(name);
      name += length + 1;
    }
  } else if (readable) {
    const auto* name = reinterpret_cast<const wchar_t*>(reinterpret_cast<const char*>(files) + files->pFiles);
    const auto* end = reinterpret_cast<const wchar_t*>(reinterpret_cast<const char*>(files) + (size & ~SIZE_T(1)));
    while (name < end && *name) {
      size_t length = wcsnlen(name, size_t(end - name));
      if (name + length == end) break;
      int bytes = WideCharToMultiByte(CP_ACP, 0, name, int(length) + 1, nullptr, 0, nullptr, nullptr);
      auto* ansi = bytes > 0 ? static_cast<char*>(general_alloc(size_t(bytes))) : nullptr;
      if (ansi && WideCharToMultiByte(CP_ACP, 0, name, int(length) + 1, ansi, bytes, nullptr, nullptr)) list_name(ansi);
      general_free(ansi);
      name += length + 1;
    }
  }
  GlobalUnlock(drop);
  return readable;
}

// The platform's way, name by name, for a drop handle that is not a block.
void list_names_one_by_one(HDROP drop, UINT count) {
  for (UINT i = 0; i < count; ++i) {
    UINT length = DragQueryFileA(drop, i, nullptr, 0);
    auto* name = static_cast<char*>(general_alloc(size_t(length) + 1));
    if (!name) continue;
    DragQueryFileA(drop, i, name, length + 1);
    list_name(name);
    general_free(name);
  }
}

// Lists every file of one drop, in order, with the list's drawing held.
void list_dropped_files(HDROP drop) {
  UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
  hold_list_icon_drawing(FILE_LIST, true, int32_t(count));
  if (!list_names_of_block(drop)) list_names_one_by_one(drop, count);
  hold_list_icon_drawing(FILE_LIST, false);
}

LRESULT CALLBACK drop_list_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_DROPFILES) {
    list_dropped_files(reinterpret_cast<HDROP>(wparam));
    DragFinish(reinterpret_cast<HDROP>(wparam));
  }
  return CallWindowProcA(previous_list_procedure, window, message, wparam, lparam);
}

}  // namespace

int allow_drops_through_privilege_filter(HWND window, MessageFilter filter) {
  if (!filter) return 0;
  int allowed = 0;
  for (UINT message : {UINT(WM_DROPFILES), UINT(WM_COPYDATA), WM_COPYGLOBALDATA})
    if (filter(window, message, MSGFLT_ALLOW_MESSAGE, nullptr)) ++allowed;
  return allowed;
}

int allow_drops_through_privilege_filter(HWND window) {
  // Looked up at run time: the library must still load where it is missing.
  HMODULE user32 = GetModuleHandleA("user32.dll");
  auto filter = user32 ? reinterpret_cast<MessageFilter>(
                             reinterpret_cast<void*>(GetProcAddress(user32, "ChangeWindowMessageFilterEx")))
                       : nullptr;
  return allow_drops_through_privilege_filter(window, filter);
}

void show_drop_dialog(StringVar* arguments, StringVar* result) {
  int32_t width = parse_integer(arguments[WIDTH]);
  int32_t height = parse_integer(arguments[HEIGHT]);
  DialogSkeleton dialog;
  if (!dialog.open(arguments[TITLE], width, height, arguments[HOST_WINDOW], 9)) return;
  create_list_icon_gadget(FILE_LIST, 5, 5, width - 10, height - 37, "Files", width - 10);
  HWND list = gadget_handle(FILE_LIST);
  DragAcceptFiles(list, TRUE);
  // A host running as administrator would otherwise never see a drop from
  // the ordinary shell: the platform filters the messages that carry it.
  allow_drops_through_privilege_filter(list);
  if (list) {
    previous_list_procedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(drop_list_procedure)));
  }
  dialog.add_ok_and_cancel(width, height);
  SetFocus(list);

  // Every row's name followed by "|", in list order; "" for an empty list.
  dialog.answer_when_ended(result, [](int32_t) {
    buffer_terminate();
    int32_t rows = count_gadget_items(FILE_LIST);
    for (int32_t row = 0; row < rows; ++row) {
      get_gadget_item_text(FILE_LIST, row, 0, buffer_position());
      append_string("|", buffer_position());
    }
  });
}

}  // namespace vantrel
