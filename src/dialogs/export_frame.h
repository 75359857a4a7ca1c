#pragma once
// What every export does around its dialog: copy the arguments, run the
// dialog in the call's text code page, hand back the result through the
// shared string buffer (or, for a wide export, a wide buffer like it).
#include <cstdint>

#include "runtime/strings.h"

namespace vantrel {

// A dialog reads the argument copies and sets `result` when the user chose.
using DialogFunction = void (*)(StringVar* arguments, StringVar* result);

constexpr int MAX_ARGUMENTS = 10;

enum class Export { About, Calendar, ComboBox, DragnDrop, Input, ListBox, MultiListBox, Count };

// Runs one export's call: `dialog` null means the export's dialog cannot
// open, and the call answers the export's result unchanged. While a call
// runs on one thread, a call from another answers at once, as one whose
// dialog cannot open, and touches nothing.
const char* run_export(Export which, DialogFunction dialog, const char* const* arguments, int count);
// The same for the wide exports: UTF-16 arguments, carried as UTF-8 while
// the dialog runs, and a UTF-16 answer. Each wide export keeps a result of
// its own.
const wchar_t* run_wide_export(Export which, DialogFunction dialog, const wchar_t* const* arguments, int count);

bool start_export_frame();
// Forgets every result (the library's stop releases the heap they live on).
void stop_export_frame();

}  // namespace vantrel
