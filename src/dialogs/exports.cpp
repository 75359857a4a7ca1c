// The seven exported dialogs, each a thin call into the common export frame.
#define VANTREL_API
#include "vantrel.h"

#include "dialogs/dialogs.h"
#include "dialogs/export_frame.h"

using vantrel::Export;
using vantrel::run_export;

namespace {

using vantrel::DialogFunction;

// Each export's dialog, in the order of Export.
constexpr DialogFunction dialogs[int(Export::Count)] = {
    vantrel::show_about_dialog,      // About
    vantrel::show_calendar_dialog,   // Calendar
    vantrel::show_combo_box_dialog,  // ComboBox
    vantrel::show_drop_dialog,       // DragnDrop
    vantrel::show_input_dialog,      // Input
    vantrel::show_list_box_dialog,   // ListBox
    vantrel::show_multi_list_dialog, // MultiListBox
};

template <typename... Texts>
const char* call(Export which, Texts... texts) {
  const char* arguments[] = {texts...};
  return run_export(which, dialogs[int(which)], arguments, int(sizeof...(texts)));
}

}  // namespace

extern "C" {

const char* __stdcall ShowAbout(const char* title, const char* heading, const char* subheading,
                                const char* image_file, const char* body, const char* web_address,
                                const char* email_address, const char* width, const char* height,
                                const char* host_window) {
  return call(Export::About, title, heading, subheading, image_file, body, web_address,
              email_address, width, height, host_window);
}

const char* __stdcall ShowCal(const char* title, const char* date, const char* format,
                              const char* host_window) {
  return call(Export::Calendar, title, date, format, host_window);
}

const char* __stdcall ShowComboBox(const char* title, const char* items, const char* width,
                                   const char* height, const char* host_window) {
  return call(Export::ComboBox, title, items, width, height, host_window);
}

const char* __stdcall ShowDragnDrop(const char* title, const char* width, const char* height,
                                    const char* host_window) {
  return call(Export::DragnDrop, title, width, height, host_window);
}

const char* __stdcall ShowInput(const char* title, const char* text, const char* width,
                                const char* height, const char* host_window) {
  return call(Export::Input, title, text, width, height, host_window);
}

const char* __stdcall ShowListBox(const char* title, const char* items, const char* width,
                                  const char* height, const char* host_window) {
  return call(Export::ListBox, title, items, width, height, host_window);
}

const char* __stdcall ShowMultiListBox(const char* title, const char* table,
                                       const char* result_column, const char* width,
                                       const char* height, const char* host_window) {
  return call(Export::MultiListBox, title, table, result_column, width, height, host_window);
}

}  // extern "C"
