/* Vantrel: ready-made modal dialogs for any host that can pass text.
 *
 * Every argument is a zero-terminated 8-bit string (numbers and the host
 * window handle as decimal text; a null pointer reads as ""). Every function
 * returns a zero-terminated string owned by the library, valid until the
 * host's next call into it.
 */
#ifndef VANTREL_H
#define VANTREL_H

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

#ifdef __cplusplus
}
#endif

#endif /* VANTREL_H */
