/* Vantrel: ready-made modal dialogs for any host that can pass text.
 *
 * Every argument is a zero-terminated string (numbers and the host window
 * handle as decimal text; a null pointer reads as ""). Every function
 * returns a zero-terminated string owned by the library, valid until the
 * same thread's next call into it, whatever other threads call meanwhile;
 * it is never to be freed. The functions without a suffix take and give
 * 8-bit text in the system's ANSI code page; those ending in W take and give
 * UTF-16 (wchar_t) and keep every character.
 */
#ifndef VANTREL_H
#define VANTREL_H

#include <wchar.h>

#ifdef __cplusplus
extern "C" {
#endif

#ifndef VANTREL_API
#define VANTREL_API __declspec(dllimport)
#endif

VANTREL_API const char* __stdcall ShowAbout(const char* title, const char* heading,
                                            const char* subheading, const char* image_file,
                                            const char* body, const char* web_address,
                                            const char* email_address, const char* width,
                                            const char* height, const char* host_window);
VANTREL_API const char* __stdcall ShowCal(const char* title, const char* date,
                                          const char* format, const char* host_window);
VANTREL_API const char* __stdcall ShowComboBox(const char* title, const char* items,
                                               const char* width, const char* height,
                                               const char* host_window);
VANTREL_API const char* __stdcall ShowDragnDrop(const char* title, const char* width,
                                                const char* height, const char* host_window);
VANTREL_API const char* __stdcall ShowInput(const char* title, const char* text,
                                            const char* width, const char* height,
                                            const char* host_window);
VANTREL_API const char* __stdcall ShowListBox(const char* title, const char* items,
                                              const char* width, const char* height,
                                              const char* host_window);
VANTREL_API const char* __stdcall ShowMultiListBox(const char* title, const char* table,
                                                   const char* result_column, const char* width,
                                                   const char* height, const char* host_window);

VANTREL_API const wchar_t* __stdcall ShowAboutW(const wchar_t* title, const wchar_t* heading,
                                                const wchar_t* subheading, const wchar_t* image_file,
                                                const wchar_t* body, const wchar_t* web_address,
                                                const wchar_t* email_address, const wchar_t* width,
                                                const wchar_t* height, const wchar_t* host_window);
VANTREL_API const wchar_t* __stdcall ShowCalW(const wchar_t* title, const wchar_t* date,
                                              const wchar_t* format, const wchar_t* host_window);
VANTREL_API const wchar_t* __stdcall ShowComboBoxW(const wchar_t* title, const wchar_t* items,
                                                   const wchar_t* width, const wchar_t* height,
                                                   const wchar_t* host_window);
VANTREL_API const wchar_t* __stdcall ShowDragnDropW(const wchar_t* title, const wchar_t* width,
                                                    const wchar_t* height, const wchar_t* host_window);
VANTREL_API const wchar_t* __stdcall ShowInputW(const wchar_t* title, const wchar_t* text,
                                                const wchar_t* width, const wchar_t* height,
                                                const wchar_t* host_window);
VANTREL_API const wchar_t* __stdcall ShowListBoxW(const wchar_t* title, const wchar_t* items,
                                                  const wchar_t* width, const wchar_t* height,
                                                  const wchar_t* host_window);
VANTREL_API const wchar_t* __stdcall ShowMultiListBoxW(const wchar_t* title, const wchar_t* table,
                                                       const wchar_t* result_column,
                                                       const wchar_t* width, const wchar_t* height,
                                                       const wchar_t* host_window);

#ifdef __cplusplus
}
#endif

#endif /* VANTREL_H */
