#include "ui/graphics/picture_checks.h"

namespace vantrel {
namespace {

uint32_t word_at(const unsigned char* data, size_t at) { return uint32_t(data[at] | data[at + 1] << 8); }
uint32_t dword_at(const unsigned char* data, size_t at) {
  return uint32_t(data[at]) | uint32_t(data[at + 1]) << 8 | uint32_t(data[at + 2]) << 16 | uint32_t(data[at + 3]) << 24;
}
int64_t signed_at(const unsigned char* data, size_t at) { return int32_t(dword_at(data, at)); }

constexpr size_t FILE_HEADER = 14;
constexpr uint32_t INFO_HEADER = 40;
constexpr int64_t LARGEST_SIDE = 0x7FFF;
enum Compression : uint32_t { RGB = 0, RLE8 = 1, RLE4 = 2, BITFIELDS = 3 };

// What an info header (at the start of `data`) says of the bitmap.
struct InfoHeader {
  uint32_t header_size;
  int64_t width, height;  // height negative: top-down
  uint32_t bits, compression, image_size, colours_used;
};

InfoHeader read_info_header(const unsigned char* data) {
  return {dword_at(data, 0),  signed_at(data, 4),  signed_at(data, 8),  word_at(data, 14),
          dword_at(data, 16), dword_at(data, 20), dword_at(data, 32)};
}

bool known_depth(uint32_t bits) { return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32; }

// Bytes of the header, its masks and its colour table; 0 when the table
// lies (more colours than the depth has).
uint64_t header_and_colours(const InfoHeader& info) {
  uint64_t colours = info.colours_used;
  if (info.bits <= 8) {
    if (colours > (1u << info.bits)) return 0;
    if (!colours) colours = 1u << info.bits;
  }
  uint64_t masks = info.compression == BITFIELDS && info.header_size == INFO_HEADER ? 12 : 0;
  return uint64_t(info.header_size) + masks + 4 * colours;
}

uint64_t row_bytes(int64_t width, uint32_t bits) { return (uint64_t(width) * bits + 31) / 32 * 4; }

// The parts that every decoder reads before the pixels, within `size`.
bool header_is_sound(const InfoHeader& info, uint64_t size) {
  int64_t lines = info.height < 0 ? -info.height : info.height;
  if (info.header_size < INFO_HEADER || info.header_size > size) return false;
  if (info.width <= 0 || info.width > LARGEST_SIDE || lines == 0 || lines > LARGEST_SIDE) return false;
  if (!known_depth(info.bits)) return false;
  uint64_t before_pixels = header_and_colours(info);
  return before_pixels && before_pixels <= size;
}

// The pixels at `pixels` within a file of `size`: whole rows, or for a
// compressed bitmap the compressed size its header names, which must be
// there (the decoder reads as far as that size says).
bool pixels_are_sound(const InfoHeader& info, uint64_t pixels, uint64_t size) {
  if (pixels >= size) return false;
  uint64_t room = size - pixels;
  int64_t lines = info.height < 0 ? -info.height : info.height;
  switch (info.compression) {
    case RGB:
      return row_bytes(info.width, info.bits) * uint64_t(lines) <= room;
    case BITFIELDS:
      return (info.bits == 16 || info.bits == 32) && row_bytes(info.width, info.bits) * uint64_t(lines) <= room;
    case RLE8:
    case RLE4:
      // A compressed bitmap is bottom-up and of the depth its code names.
      return info.bits == (info.compression == RLE8 ? 8u : 4u) && info.height > 0 && info.image_size > 0 &&
             info.image_size <= room;
    default:
      return false;  // no decoder of ours takes other codes
  }
}

constexpr unsigned char PNG_SIGNATURE[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

bool starts_as_png(const unsigned char* data, size_t size) {
  if (size < sizeof PNG_SIGNATURE) return false;
  for (size_t i = 0; i < sizeof PNG_SIGNATURE; ++i)
    if (data[i] != PNG_SIGNATURE[i]) return false;
  return true;
}

// One image of an icon: an info header of twice the image's height, the
// colour pixels and the one-bit mask; or a PNG, which its decoder bounds.
bool icon_image_is_sound(const unsigned char* data, size_t size) {
  if (starts_as_png(data, size)) return true;
  if (size < INFO_HEADER) return false;
  InfoHeader info = read_info_header(data);
  if (info.compression != RGB || info.height <= 0 || !header_is_sound(info, size)) return false;
  uint64_t lines = uint64_t(info.height) / 2;
  uint64_t needed = header_and_colours(info) + (row_bytes(info.width, info.bits) + row_bytes(info.width, 1)) * lines;
  return lines > 0 && needed <= size;
}

}  // namespace

bool bitmap_file_is_sound(const unsigned char* data, size_t size) {
  if (!data || size < FILE_HEADER + INFO_HEADER || data[0] != 'B' || data[1] != 'M') return false;
  InfoHeader info = read_info_header(data + FILE_HEADER);
  uint64_t pixels = dword_at(data, 10);
  if (!header_is_sound(info, size - FILE_HEADER)) return false;
  return pixels >= FILE_HEADER + INFO_HEADER && pixels_are_sound(info, pixels, size);
}

bool icon_file_is_sound(const unsigned char* data, size_t size) {
  constexpr size_t DIRECTORY = 6, ENTRY = 16;
  if (!data || size < DIRECTORY + ENTRY || word_at(data, 0) != 0 || word_at(data, 2) != 1) return false;
  size_t count = word_at(data, 4);
  if (count == 0 || DIRECTORY + ENTRY * count > size) return false;
  for (size_t i = 0; i < count; ++i) {
    uint32_t bytes = dword_at(data, DIRECTORY + ENTRY * i + 8), offset = dword_at(data, DIRECTORY + ENTRY * i + 12);
    if (offset >= size || bytes > size - offset || !icon_image_is_sound(data + offset, bytes)) return false;
  }
  return true;
}

}  // namespace vantrel
