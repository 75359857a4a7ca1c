// Image-list sets of report lists: a small and an optional large list that
// start with a blank image, and the images already added, so that one image
// handle on many rows takes one entry.
#include "ui/gadgets/report_lists.h"

#include "runtime/heaps.h"

namespace vantrel {
namespace {

constexpr int32_t ENTRY_STEP = 25;

// Black squares of the small and large icon size: the blank image's mask
// (black is transparent) and, for bitmaps, a mask of all zero (opaque).
HBITMAP small_black = nullptr;
HBITMAP large_black = nullptr;

HBITMAP black_square(int size) {
  HDC display = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
  if (!display) return nullptr;
  HBITMAP bitmap = CreateCompatibleBitmap(display, size, size);
  HDC dc = CreateCompatibleDC(display);
  if (bitmap && dc) {
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT r = {0, 0, size, size};
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    SelectObject(dc, old);
  }
  if (dc) DeleteDC(dc);
  DeleteDC(display);
  return bitmap;
}

bool make_masks() {
  if (!small_black) small_black = black_square(16);
  if (!large_black) large_black = black_square(32);
  return small_black && large_black;
}

HIMAGELIST new_list(int width, int height, HBITMAP blank) {
  HIMAGELIST list = ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, 1, 1);
  if (list) ImageList_AddMasked(list, blank, RGB(0, 0, 0));
  return list;
}

// A copy of the bitmap stretched to size x size, or the bitmap itself when
// it has that size already; `made` tells whether the caller deletes it.
HBITMAP fitted_bitmap(HBITMAP bitmap, int size, bool* made) {
  *made = false;
  BITMAP info = {};
  if (!GetObjectA(bitmap, sizeof info, &info)) return nullptr;
  if (info.bmWidth == size && info.bmHeight == size) return bitmap;
  HDC display = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
  if (!display) return nullptr;
  HDC from = CreateCompatibleDC(display), to = CreateCompatibleDC(display);
  HBITMAP fitted = CreateCompatibleBitmap(display, size, size);
  if (from && to && fitted) {
    HGDIOBJ old_from = SelectObject(from, bitmap), old_to = SelectObject(to, fitted);
    SetStretchBltMode(to, COLORONCOLOR);
    StretchBlt(to, 0, 0, size, size, from, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
    SelectObject(from, old_from);
    SelectObject(to, old_to);
    *made = true;
  } else if (fitted) {
    DeleteObject(fitted);
    fitted = nullptr;
  }
  if (from) DeleteDC(from);
  if (to) DeleteDC(to);
  DeleteDC(display);
  return fitted;
}

int32_t add_bitmap(HIMAGELIST list, HBITMAP bitmap, int size, HBITMAP mask) {
  bool made = false;
  HBITMAP fitted = fitted_bitmap(bitmap, size, &made);
  if (!fitted) return -1;
  int32_t index = ImageList_Add(list, fitted, mask);
  if (made) DeleteObject(fitted);
  return index;
}

bool remember(ImageListSet* set, HANDLE image, int32_t index) {
  if (set->entry_count == set->entry_capacity) {
    int32_t capacity = set->entry_capacity + ENTRY_STEP;
    auto* grown = static_cast<ImageListEntry*>(general_realloc_array(set->entries, size_t(capacity), sizeof(ImageListEntry)));
    if (!grown) return false;
    set->entries = grown;
    set->entry_capacity = capacity;
  }
  set->entries[set->entry_count++] = {image, index};
  return true;
}

}  // namespace

ImageListSet* new_image_list_set(bool with_large_list) {
  if (!make_masks()) return nullptr;
  auto* set = static_cast<ImageListSet*>(general_alloc(sizeof(ImageListSet)));
  if (!set) return nullptr;
  set->small_list = new_list(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), small_black);
  if (with_large_list) set->large_list = new_list(GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), large_black);
  set->entries = static_cast<ImageListEntry*>(general_alloc_array(ENTRY_STEP, sizeof(ImageListEntry)));
  set->entry_capacity = set->entries ? ENTRY_STEP : 0;
  if (!set->small_list || (with_large_list && !set->large_list) || !set->entries) {
    free_image_list_set(set);
    return nullptr;
  }
  return set;
}

int32_t add_image_to_lists(HANDLE image, ImageListSet* set) {
  if (!set || !image) return -1;
  for (int32_t i = 0; i < set->entry_count; ++i)
    if (set->entries[i].image == image) return set->entries[i].index;
  int32_t index;
  if (GetObjectType(image) == OBJ_BITMAP) {
    auto* bitmap = static_cast<HBITMAP>(image);
    index = add_bitmap(set->small_list, bitmap, GetSystemMetrics(SM_CXSMICON), small_black);
    if (set->large_list) add_bitmap(set->large_list, bitmap, GetSystemMetrics(SM_CXICON), large_black);
  } else {
    index = ImageList_ReplaceIcon(set->small_list, -1, static_cast<HICON>(image));
    if (set->large_list) ImageList_ReplaceIcon(set->large_list, -1, static_cast<HICON>(image));
  }
  if (index >= 0) remember(set, image, index);  // without room it is only not shared
  return index;
}

void clear_image_lists(ImageListSet* set) {
  if (!set) return;
  ImageList_Remove(set->small_list, -1);
  ImageList_AddMasked(set->small_list, small_black, RGB(0, 0, 0));
  if (set->large_list) {
    ImageList_Remove(set->large_list, -1);
    ImageList_AddMasked(set->large_list, large_black, RGB(0, 0, 0));
  }
  set->entry_count = 0;
}

void free_image_list_set(ImageListSet* set) {
  if (!set) return;
  if (set->small_list) ImageList_Destroy(set->small_list);
  if (set->large_list) ImageList_Destroy(set->large_list);
  general_free(set->entries);
  general_free(set);
}

void stop_image_lists() {
  if (small_black) DeleteObject(small_black);
  if (large_black) DeleteObject(large_black);
  small_black = large_black = nullptr;
}

}  // namespace vantrel
