#pragma once
// Constructors of the gadget kinds. Each returns, for a named number, the
// control's handle, for OBJECT_ANY the new number, and 0 on failure.
#include <cstdint>

namespace vantrel {

intptr_t create_button_gadget(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height, const char* text,
                              uint32_t flags = 0);
intptr_t create_text_gadget(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height, const char* text,
                            uint32_t flags = 0);
intptr_t create_editor_gadget(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height, uint32_t flags = 0);
intptr_t create_list_view_gadget(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height,
                                 uint32_t flags = 0);
// Flag 2: an editable drop-down; otherwise a drop-down list.
intptr_t create_combo_box_gadget(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height,
                                 uint32_t flags = 0);
// Gives a combo box's dropped list room for that many entries.
void show_combo_entries(int32_t number, int32_t entries);
// A date of 0 selects today.
intptr_t create_calendar_gadget(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height,
                                int32_t date = 0, uint32_t flags = 0);

constexpr uint32_t TEXT_BORDER = 0x20000;
constexpr int32_t ATTRIBUTE_READ_ONLY = 2048;
constexpr int32_t CALENDAR_MINIMUM = 1;
constexpr int32_t CALENDAR_MAXIMUM = 2;

}  // namespace vantrel
