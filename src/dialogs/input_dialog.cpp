// ShowInput: free text in a word-wrapping multi-line box.
#include <richedit.h>

#include "dialogs/dialogs.h"
#include "dialogs/skeleton.h"
#include "runtime/string_functions.h"
#include "ui/gadgets/gadgets.h"
#include "ui/gadgets/kinds.h"

namespace vantrel {

namespace {
enum InputArgument { TITLE, INITIAL_TEXT, WIDTH, HEIGHT, HOST_WINDOW };
constexpr int32_t EDITOR = 0;
}  // namespace

void show_input_dialog(StringVar* arguments, StringVar* result) {
  int32_t width = parse_extent(arguments[WIDTH]);
  int32_t height = parse_extent(arguments[HEIGHT]);
  DialogSkeleton dialog;
  if (!dialog.open(arguments[TITLE], width, height, arguments[HOST_WINDOW], 9)) return;

  dialog.label_next_control("Text");
  create_editor_gadget(EDITOR, 0, 0, width, height - 30);  // dispatches waiting messages
  if (dialog.replaced()) return;
  HWND editor = gadget_handle(EDITOR);
  // Break lines at the box's own edge instead of scrolling sideways.
  SendMessageA(editor, EM_SETTARGETDEVICE, 0, 0);
  // Beyond the control's default of 32K characters a long initial text would be cut.
  SendMessageA(editor, EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
  dialog.add_ok_and_cancel(width, height);
  set_gadget_text(EDITOR, arguments[INITIAL_TEXT]);
  SetFocus(editor);

  dialog.answer_when_ended(result, [](int32_t p) { get_gadget_text(EDITOR, p); });
}

}  // namespace vantrel
