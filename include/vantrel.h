/* Vantrel: ready-made modal dialogs for any host that can pass text.
 *
 * Every argument is a zero-terminated string (numbers and the host window
 * handle as decimal text, "0" for none; a null pointer reads as ""). The
 * functions without a suffix take and give 8-bit text in the system's ANSI
 * code page; those ending in W take and give UTF-16 (wchar_t) and keep every
 * character.
 *
 * Every function returns a zero-terminated string owned by the library:
 * never free it. It stays valid until the same thread's next call into the
 * library, whatever other threads call meanwhile; copy it to keep it longer.
 * A dialog that cannot open, and a call made while another thread's dialog
 * waits, answer the function's previous answer ("" the first time).
 *
 * The dialog window stays on screen after the call, no longer above other
 * programs, until the next call or the library's unloading. Reference:
 * docs/dialogs.md in the package.
 */
#ifndef VANTREL_H
#define VANTREL_H

#include <stddef.h> /* wchar_t */

/* The version of the library this header declares. */
#define VANTREL_VERSION_MAJOR 1
#define VANTREL_VERSION_MINOR 0
#define VANTREL_VERSION_PATCH 0
#define VANTREL_VERSION "1.0.0"

#ifdef __cplusplus
extern "C" {
#endif

#ifndef VANTREL_API
#define VANTREL_API __declspec(dllimport)
#endif

/* "OK", "Web" (the web address was handed to the shell) or "Email" (the mail
 * address was), by the button pressed; there is no Cancel. */
VANTREL_API const char* __stdcall ShowAbout(const char* title, const char* heading,
                                            const char* subheading, const char* image_file,
                                            const char* body, const char* web_address,
                                            const char* email_address, const char* width,
                                            const char* height, const char* host_window);
/* The chosen day written in the format ("ISO" yyyy-mm-dd, "US" mm/dd/yyyy,
 * "EUR" dd/mm/yyyy); "CANCEL" on Cancel. The date is one in that format or
 * "TODAY". */
VANTREL_API const char* __stdcall ShowCal(const char* title, const char* date,
                                          const char* format, const char* host_window);
/* The selected entry of the items ("a|b|c|"); "CANCEL" on Cancel or with
 * none selected. */
VANTREL_API const char* __stdcall ShowComboBox(const char* title, const char* items,
                                               const char* width, const char* height,
                                               const char* host_window);
/* Every dropped file name followed by "|", "" when none was dropped;
 * "CANCEL" on Cancel. */
VANTREL_API const char* __stdcall ShowDragnDrop(const char* title, const char* width,
                                                const char* height, const char* host_window);
/* The text in the box (line breaks as "\r\n"); "CANCEL" on Cancel. */
VANTREL_API const char* __stdcall ShowInput(const char* title, const char* text,
                                            const char* width, const char* height,
                                            const char* host_window);
/* The selected item of the items ("a|b|c|"); "CANCEL" on Cancel or with
 * none selected. */
VANTREL_API const char* __stdcall ShowListBox(const char* title, const char* items,
                                              const char* width, const char* height,
                                              const char* host_window);
/* The selected row's cell of the result column (1 the first), its number
 * in the table (0), or the whole row, each cell followed by "|" (-1); "" on
 * Cancel or with no row selected. OK with a row selected also writes the
 * table to C:\Items.txt. */
VANTREL_API const char* __stdcall ShowMultiListBox(const char* title, const char* table,
                                                   const char* result_column, const char* width,
                                                   const char* height, const char* host_window);

/* The same dialogs in UTF-16, with the same arguments and answers. */
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
