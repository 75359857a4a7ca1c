#include "ui/graphics/images.h"

#include <cstring>

#include "runtime/heaps.h"
#include "runtime/module.h"
#include "runtime/object_table.h"
#include "runtime/strings.h"
#include "runtime/text_code_page.h"
#include "ui/graphics/picture_checks.h"

namespace vantrel {
namespace {

ObjectTable* images = nullptr;

struct ImageFacts {
  int32_t width, height, depth;
};

bool facts_of_bitmap(HBITMAP bitmap, ImageFacts* facts) {
  BITMAP info = {};
  if (!GetObjectA(bitmap, sizeof info, &info)) return false;
  *facts = {info.bmWidth, info.bmHeight, info.bmBitsPixel};
  return true;
}

// An icon's size and depth are its colour bitmap's; the bitmaps that the
// platform hands out with them are ours to delete.
bool facts_of_icon(HICON icon, ImageFacts* facts) {
  ICONINFO info = {};
  if (!GetIconInfo(icon, &info)) return false;
  bool known = facts_of_bitmap(info.hbmColor ? info.hbmColor : info.hbmMask, facts);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  if (info.hbmMask) DeleteObject(info.hbmMask);
  return known;
}

void delete_handle(HANDLE handle) {
  if (GetObjectType(handle) == OBJ_BITMAP) DeleteObject(handle);
  else DestroyIcon(static_cast<HICON>(handle));
}

// Fills the record made for `number` and answers as the operations do.
intptr_t keep_image(int32_t number, int32_t chosen, HANDLE handle, const ImageFacts& facts, uint32_t flags) {
  auto* record = static_cast<ImageRecord*>(object_slot(images, chosen));
  if (!record) {
    delete_handle(handle);
    return 0;
  }
  *record = {handle, int16_t(facts.width), int16_t(facts.height), uint8_t(facts.depth), uint8_t(flags)};
  return number == OBJECT_ANY ? intptr_t(chosen) : reinterpret_cast<intptr_t>(handle);
}

uint16_t word_at(const unsigned char* data, size_t at) { return uint16_t(data[at] | data[at + 1] << 8); }
uint32_t dword_at(const unsigned char* data, size_t at) {
  return uint32_t(data[at]) | uint32_t(data[at + 1]) << 8 | uint32_t(data[at + 2]) << 16 | uint32_t(data[at + 3]) << 24;
}

constexpr size_t BMP_HEADERS = 14 + sizeof(BITMAPINFOHEADER);

enum class FileKind { None, Bitmap, Icon };

// What the file holds, read whole and checked before the platform decodes it.
FileKind kind_of_file(const wchar_t* file_name) {
  HANDLE file = CreateFileW(file_name, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return FileKind::None;
  DWORD size = GetFileSize(file, nullptr);
  auto* data = size != INVALID_FILE_SIZE && size >= 2 ? static_cast<unsigned char*>(general_alloc(size)) : nullptr;
  DWORD read = 0;
  bool complete = data && ReadFile(file, data, size, &read, nullptr) && read == size;
  CloseHandle(file);
  FileKind kind = FileKind::None;
  if (complete && data[0] == 'B' && data[1] == 'M') kind = bitmap_file_is_sound(data, size) ? FileKind::Bitmap : FileKind::None;
  else if (complete && icon_file_is_sound(data, size)) kind = FileKind::Icon;
  general_free(data);
  return kind;
}

HANDLE load_bitmap_file(const wchar_t* file_name, uint32_t flags, ImageFacts* facts) {
  UINT load = LR_LOADFROMFILE | ((flags & IMAGE_DEVICE_DEPENDENT) ? 0 : LR_CREATEDIBSECTION);
  HANDLE bitmap = LoadImageW(module_instance(), file_name, IMAGE_BITMAP, 0, 0, load);
  if (!bitmap || !facts_of_bitmap(static_cast<HBITMAP>(bitmap), facts)) return bitmap;
  if (facts->depth <= 8) {
    // Palette bitmaps are loaded again as device-dependent bitmaps.
    HANDLE again = LoadImageW(module_instance(), file_name, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    if (again) {
      DeleteObject(bitmap);
      bitmap = again;
      facts_of_bitmap(static_cast<HBITMAP>(bitmap), facts);
    }
  }
  return bitmap;
}

// A BMP file image drawn into a new 32-bit bitmap (or a compatible one).
HANDLE bitmap_from_file_image(const unsigned char* data, size_t size, uint32_t flags, ImageFacts* facts) {
  if (size && !bitmap_file_is_sound(data, size)) return nullptr;
  auto* info = reinterpret_cast<const BITMAPINFO*>(data + 14);
  LONG width = info->bmiHeader.biWidth, height = info->bmiHeader.biHeight;
  LONG lines = height < 0 ? -height : height;
  uint32_t pixels = dword_at(data, 10);
  if (width <= 0 || lines == 0 || width > 0x7FFF || lines > 0x7FFF || pixels < BMP_HEADERS) return nullptr;
  HDC display = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
  if (!display) return nullptr;
  HBITMAP bitmap;
  if (flags & IMAGE_DEVICE_DEPENDENT) {
    bitmap = CreateCompatibleBitmap(display, width, lines);
  } else {
    BITMAPINFO target = {};
    target.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 32, BI_RGB};
    void* bits = nullptr;
    bitmap = CreateDIBSection(display, &target, DIB_RGB_COLORS, &bits, nullptr, 0);
  }
  DeleteDC(display);
  if (!bitmap) return nullptr;
  HDC memory = CreateCompatibleDC(nullptr);
  int copied = SetDIBits(memory, bitmap, 0, UINT(lines), data + pixels, info, DIB_RGB_COLORS);
  DeleteDC(memory);
  if (copied <= 0 || !facts_of_bitmap(bitmap, facts)) {
    DeleteObject(bitmap);
    return nullptr;
  }
  return bitmap;
}

// The first image of an ICO file image.
HANDLE icon_from_file_image(const unsigned char* data, size_t size, ImageFacts* facts) {
  if (size && !icon_file_is_sound(data, size)) return nullptr;
  if (word_at(data, 0) != 0 || word_at(data, 2) != 1 || word_at(data, 4) == 0) return nullptr;
  uint32_t bytes = dword_at(data, 14), offset = dword_at(data, 18);
  if (bytes < sizeof(BITMAPINFOHEADER)) return nullptr;
  HGLOBAL copy = GlobalAlloc(GMEM_FIXED, bytes);
  if (!copy) return nullptr;
  auto* image = static_cast<BYTE*>(copy);
  memcpy(image, data + offset, bytes);
  auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(image);
  HICON icon = CreateIconFromResourceEx(image, bytes, TRUE, 0x30000, header->biWidth, header->biHeight / 2,
                                        LR_DEFAULTCOLOR);
  if (!icon && header->biBitCount != 16) icon = CreateIconFromResource(image, bytes, TRUE, 0x30000);
  GlobalFree(copy);
  if (icon && !facts_of_icon(icon, facts)) {
    DestroyIcon(icon);
    icon = nullptr;
  }
  return icon;
}

}  // namespace

bool start_images() {
  images = new_object_table(sizeof(ImageRecord), 16, free_image);
  return images != nullptr;
}

void stop_images() {
  free_all_objects(images, free_image);
  images = nullptr;
}

intptr_t load_image(int32_t number, const char* file_name, uint32_t flags) {
  int32_t chosen = 0;
  if (!create_object(images, number, &chosen)) return 0;
  // The path is the call's text: one outside the ANSI code page loads too.
  WideText path(file_name);
  const wchar_t* name = path.get();
  ImageFacts facts = {};
  HANDLE handle = nullptr;
  switch (kind_of_file(name)) {
    case FileKind::Bitmap:
      handle = load_bitmap_file(name, flags, &facts);  // a bitmap that will not load is not tried as an icon
      break;
    case FileKind::Icon:
      handle = LoadImageW(module_instance(), name, IMAGE_ICON, 0, 0, LR_LOADFROMFILE);
      if (handle && !facts_of_icon(static_cast<HICON>(handle), &facts)) {
        DestroyIcon(static_cast<HICON>(handle));
        handle = nullptr;
      }
      break;
    case FileKind::None:
      break;
  }
  if (!handle) {
    free_object(images, chosen);
    return 0;
  }
  return keep_image(number, chosen, handle, facts, flags);
}

intptr_t catch_image(int32_t number, const void* file_image, uint32_t flags, size_t size) {
  int32_t chosen = 0;
  if (!create_object(images, number, &chosen)) return 0;
  auto* data = static_cast<const unsigned char*>(file_image);
  ImageFacts facts = {};
  HANDLE handle = nullptr;
  if (data && (!size || size >= 2) && data[0] == 'B' && data[1] == 'M') handle = bitmap_from_file_image(data, size, flags, &facts);
  else if (data) handle = icon_from_file_image(data, size, &facts);
  if (!handle) {
    free_object(images, chosen);
    return 0;
  }
  return keep_image(number, chosen, handle, facts, flags);
}

void free_image(int32_t number) {
  if (number == -1) return;
  auto* record = find_record<ImageRecord>(images, number);
  if (!record) return;
  HANDLE handle = record->handle;
  record->handle = nullptr;
  delete_handle(handle);
  free_object(images, number);
}

HANDLE image_handle(int32_t number) {
  auto* record = find_record<ImageRecord>(images, number);
  return record ? record->handle : nullptr;
}

int32_t image_width(int32_t number) {
  auto* record = find_record<ImageRecord>(images, number);
  return record ? record->width : 0;
}

int32_t image_height(int32_t number) {
  auto* record = find_record<ImageRecord>(images, number);
  return record ? record->height : 0;
}

int32_t image_depth(int32_t number) {
  auto* record = find_record<ImageRecord>(images, number);
  return record ? record->depth : 0;
}

}  // namespace vantrel
