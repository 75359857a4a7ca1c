// The seven exported dialogs, each a thin call into the common export frame,
// and their wide forms beside them.
#define VANTREL_API
#include "vantrel.h"

#include "dialogs/dialogs.h"
#include "dialogs/export_frame.h"

using vantrel::Export;
using vantrel::run_export;
using vantrel::run_wide_export;

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

template <typename... Texts>
const wchar_t* call_wide(Export which, Texts... texts) {
  const wchar_t* arguments[] = {texts...};
  return run_wide_export(which, dialogs[int(which)], arguments, int(sizeof...(texts)));
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

const wchar_t* __stdcall ShowAboutW(const wchar_t* title, const wchar_t* heading, const wchar_t* subheading,
                                    const wchar_t* image_file, const wchar_t* body, const wchar_t* web_address,
                                    const wchar_t* email_address, const wchar_t* width, const wchar_t* height,
                                    const wchar_t* host_window) {
  return call_wide(Export::About, title, heading, subheading, image_file, body, web_address, email_address, width,
                   height, host_window);
}

const wchar_t* __stdcall ShowCalW(const wchar_t* title, const wchar_t* date, const wchar_t* format,
                                  const wchar_t* host_window) {
  return call_wide(Export::Calendar, title, date, format, host_window);
}

const wchar_t* __stdcall ShowComboBoxW(const wchar_t* title, const wchar_t* items, const wchar_t* width,
                                       const wchar_t* height, const wchar_t* host_window) {
  return call_wide(Export::ComboBox, title, items, width, height, host_window);
}

const wchar_t* __stdcall ShowDragnDropW(const wchar_t* title, const wchar_t* width, const wchar_t* height,
                                        const wchar_t* host_window) {
  return call_wide(Export::DragnDrop, title, width, height, host_window);
}

const wchar_t* __stdcall ShowInputW(const wchar_t* title, const wchar_t* text, const wchar_t* width,
                                    const wchar_t* height, const wchar_t* host_window) {
  return call_wide(Export::Input, title, text, width, height, host_window);
}

const wchar_t* __stdcall ShowListBoxW(const wchar_t* title, const wchar_t* items, const wchar_t* width,
                                      const wchar_t* height, const wchar_t* host_window) {
  return call_wide(Export::ListBox, title, items, width, height, host_window);
}

const wchar_t* __stdcall ShowMultiListBoxW(const wchar_t* title, const wchar_t* table, const wchar_t* result_column,
                                           const wchar_t* width, const wchar_t* height, const wchar_t* host_window) {
  return call_wide(Export::MultiListBox, title, table, result_column, width, height, host_window);
}

}  // extern "C"
