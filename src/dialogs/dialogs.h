#pragma once
// The dialogs behind the exports. Each reads its argument copies in the
// export's argument order and sets the result when the user has chosen.
#include "runtime/strings.h"

namespace vantrel {

void show_input_dialog(StringVar* arguments, StringVar* result);
void show_calendar_dialog(StringVar* arguments, StringVar* result);
void show_list_box_dialog(StringVar* arguments, StringVar* result);
void show_combo_box_dialog(StringVar* arguments, StringVar* result);

}  // namespace vantrel
