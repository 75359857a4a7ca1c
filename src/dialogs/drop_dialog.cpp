// ShowDragnDrop: files dropped from the shell onto a one-column list.
#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <cstring>
#include <initializer_list>

#include "dialogs/dialogs.h"
#include "dialogs/drop_block.h"
#include "dialogs/drop_target.h"
#include "dialogs/skeleton.h"
#include "runtime/heaps.h"
#include "runtime/platform_calls.h"
#include "runtime/string_functions.h"
#include "runtime/text_code_page.h"
#include "ui/gadgets/gadgets.h"
#include "ui/gadgets/kinds.h"

namespace vantrel {

namespace {

enum DropArgument { TITLE, WIDTH, HEIGHT, HOST_WINDOW };
constexpr int32_t FILE_LIST = 3;
constexpr UINT WM_COPYGLOBALDATA = 0x0049;  // carries the drop between processes
constexpr DWORD MSGFLT_ALLOW_MESSAGE = 1;

WNDPROC previous_list_procedure = nullptr;

// One name of the drop as a row, in the call's code page: 8-bit names are
// the ANSI code page's, 16-bit ones are kept whole.
void list_name(const DropName& name, void*) {
  int32_t p = buffer_position();
  if (name.ansi && text_code_page() == CODE_PAGE_ANSI) {
    // Already the call's code page: listed as it stands.
    char* at = name.length < size_t(INT32_MAX) ? buffer_reserve(int32_t(name.length), p) : nullptr;
    if (at) {
      memcpy(at, name.ansi, name.length);
      at[name.length] = 0;
      add_gadget_item(FILE_LIST, -1, at);
    }
    set_buffer_position(p);
    return;
  }
  int units = name.ansi ? MultiByteToWideChar(CP_ACP, 0, name.ansi, int(name.length), nullptr, 0) : int(name.length);
  WideBuffer wide(units);
  if (!wide.get() || units <= 0) return;
  // 16-bit characters may lie at an odd offset: copied before they are read.
  if (name.ansi) MultiByteToWideChar(CP_ACP, 0, name.ansi, int(name.length), wide.get(), units);
  else memcpy(wide.get(), name.wide, 2 * name.length);
  add_gadget_item(FILE_LIST, -1, append_wide(wide.get(), units, p));
  set_buffer_position(p);
}

// Lists every file of one drop's block, in order, with the list's drawing
// held. The names are read in one pass within the block's size (asking the
// platform for name i walks every name before it, and trusts the block); a
// block that cannot be read adds nothing.
void list_dropped_files(HGLOBAL drop) {
  SIZE_T size = GlobalSize(drop);
  const void* block = size ? GlobalLock(drop) : nullptr;
  if (!block) return;
  int64_t count = read_drop_block(block, size, nullptr, nullptr);
  if (count > 0) {
    hold_list_icon_drawing(FILE_LIST, true, count < INT32_MAX ? int32_t(count) : INT32_MAX);
    read_drop_block(block, size, list_name, nullptr);
    hold_list_icon_drawing(FILE_LIST, false);
  }
  GlobalUnlock(drop);
}

LRESULT CALLBACK drop_list_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_DROPFILES) {
    list_dropped_files(reinterpret_cast<HGLOBAL>(wparam));
    DragFinish(reinterpret_cast<HDROP>(wparam));
  }
  return CallWindowProcW(previous_list_procedure, window, message, wparam, lparam);
}

}  // namespace

int allow_drops_through_privilege_filter(HWND window, MessageFilter filter) {
  if (!filter) return 0;
  int allowed = 0;
  // Nothing else: WM_COPYDATA, often let through beside them, carries no
  // drop, and the list would take any other process's data for its own.
  for (UINT message : {UINT(WM_DROPFILES), WM_COPYGLOBALDATA})
    if (filter(window, message, MSGFLT_ALLOW_MESSAGE, nullptr)) ++allowed;
  return allowed;
}

int allow_drops_through_privilege_filter(HWND window) {
  // Looked up at run time: the library must still load where it is missing.
  HMODULE user32 = GetModuleHandleA("user32.dll");
  auto filter = platform_function<MessageFilter>(user32, "ChangeWindowMessageFilterEx");
  return allow_drops_through_privilege_filter(window, filter);
}

void show_drop_dialog(StringVar* arguments, StringVar* result) {
  int32_t width = parse_extent(arguments[WIDTH]);
  int32_t height = parse_extent(arguments[HEIGHT]);
  OleSession ole;  // before the dialog: it ends after the target is revoked
  DialogSkeleton dialog;
  if (!dialog.open(arguments[TITLE], width, height, arguments[HOST_WINDOW], 9)) return;
  dialog.label_next_control("Files");
  create_list_icon_gadget(FILE_LIST, 5, 5, width - 10, height - 37, "Files", width - 10);
  HWND list = gadget_handle(FILE_LIST);
  DragAcceptFiles(list, TRUE);
  // A host running as administrator would otherwise never see a drop from
  // the ordinary shell: the platform filters the messages that carry it.
  allow_drops_through_privilege_filter(list);
  if (list) {
    previous_list_procedure = replace_window_procedure(list, drop_list_procedure);
  }
  // Sources that drag through OLE only reach a registered target. OLE is
  // ours for this call only, so the target goes when the call ends.
  if (ole.ready()) register_file_drop_target(list, list_dropped_files);
  struct TargetRevoker {
    HWND list;
    ~TargetRevoker() {
      if (IsWindow(list)) revoke_file_drop_target(list);
    }
  } revoker{list};
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
