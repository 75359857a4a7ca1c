#pragma once
// Numbered images: bitmaps and icons made from picture files (BMP, ICO) or
// from a file image held in memory.
#include <windows.h>

#include <cstddef>
#include <cstdint>

namespace vantrel {

constexpr uint32_t IMAGE_DEVICE_DEPENDENT = 0x80;  // a compatible bitmap instead of a DIB section

struct ImageRecord {
  HANDLE handle;  // HBITMAP or HICON; 0: number free
  int16_t width;
  int16_t height;
  uint8_t depth;
  uint8_t flags;
};

bool start_images();
void stop_images();

// For a named number the platform handle, for OBJECT_ANY the new number; 0
// on failure. The number's previous image is freed even when this one fails.
intptr_t load_image(int32_t number, const char* file_name, uint32_t flags = 0);
// From a BMP or ICO file image of `size` bytes in memory (0: size not known,
// as for an image the library holds itself): a BMP becomes a 32-bit bitmap,
// an ICO gives its first image.
intptr_t catch_image(int32_t number, const void* file_image, uint32_t flags = 0, size_t size = 0);
void free_image(int32_t number);

HANDLE image_handle(int32_t number);
int32_t image_width(int32_t number);
int32_t image_height(int32_t number);
int32_t image_depth(int32_t number);

}  // namespace vantrel
