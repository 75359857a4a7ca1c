#pragma once
// Checks of BMP and ICO file images before the platform decodes them. The
// platform's decoders trust the headers: a size or offset that lies makes
// them read past the file. Platform-free, so that they can be fuzzed.
#include <cstddef>
#include <cstdint>

namespace vantrel {

// Whether a BMP file image of `size` bytes holds every part its headers
// announce: the info header, the colour table and masks, and the pixels
// (for a compressed bitmap, the compressed size it names).
bool bitmap_file_is_sound(const unsigned char* data, size_t size);

// Whether an ICO file image (type 1, not a cursor) holds every image its
// directory names, each with the header, colours and masks it announces.
bool icon_file_is_sound(const unsigned char* data, size_t size);

}  // namespace vantrel
