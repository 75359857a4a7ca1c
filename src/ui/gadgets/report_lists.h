#pragma once
// What report lists share beyond their kind: the image lists that rows draw
// from, and grid lines drawn in a colour of the caller's.
#include <windows.h>
#include <commctrl.h>

#include <cstdint>

namespace vantrel {

struct ImageListEntry {
  HANDLE image;   // the caller's image handle (the caller keeps it)
  int32_t index;  // its index in the small list
};

struct ImageListSet {
  HIMAGELIST small_list;
  HIMAGELIST large_list;  // none unless asked for
  ImageListEntry* entries;
  int32_t entry_count;
  int32_t entry_capacity;
};

// Both lists start with a blank image at index 0. Null when they cannot be made.
ImageListSet* new_image_list_set(bool with_large_list);
// The image's index in the lists: an image added before keeps its index.
// Bitmaps are fitted to the icon sizes; any other handle is taken as an icon.
// -1 when it cannot be added.
int32_t add_image_to_lists(HANDLE image, ImageListSet* set);
void clear_image_lists(ImageListSet* set);
void free_image_list_set(ImageListSet* set);
// Deletes the masks shared by every set, at the library's stop.
void stop_image_lists();

// Grid lines over a report list in `colour`, drawn on `dc` after the list
// has painted; an empty list only has the area below its header filled.
void draw_grid_lines(HWND list, HDC dc, COLORREF colour);

}  // namespace vantrel
