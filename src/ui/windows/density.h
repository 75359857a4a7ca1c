#pragma once
// Screen density. Callers give places and sizes in pixels at 96 dpi; at a
// higher density they are scaled, so that a dialog looks as it does at 96
// dpi, only larger, like the fonts that are sized in points.
#include <windows.h>

#include <cstdint>

namespace vantrel {

constexpr int32_t BASE_DENSITY = 96;

// The density a window near `looked_at` shows at: its monitor's when the thread
// is aware of each monitor's density, the system's otherwise (96 on a
// system that scales the windows of unaware programs itself).
int32_t density_near(HWND looked_at);

// The density that places and sizes are scaled to (BASE_DENSITY: as given)
// and fonts are made for (0: the system's), until it is set again.
void set_layout_density(int32_t dpi);
int32_t layout_density();
// What fonts are made for: the layout's density once set, else the display's.
int32_t font_density(HDC display);

// A place or size at the layout's density; KEEP_VALUE and CW_USEDEFAULT
// stay as they are.
int32_t scale_to_layout(int32_t value);

}  // namespace vantrel
