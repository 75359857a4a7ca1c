// BMP and ICO file images of any bytes: the checks read only within them.
#include <cstdint>
#include <vector>

#include "ui/graphics/picture_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<unsigned char> file(data, data + size);  // exactly its size: a read past it is caught
  vantrel::bitmap_file_is_sound(file.data(), file.size());
  vantrel::icon_file_is_sound(file.data(), file.size());
  return 0;
}
