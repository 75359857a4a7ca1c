#include "ui/graphics/images.h"
#include "ui/graphics/picture_checks.h"

#include <cstdio>
#include <string>
#include <vector>

#include "runtime/object_table.h"
#include "runtime_fixture.h"

using namespace vantrel;

namespace {

using Bytes = std::vector<unsigned char>;

void put16(Bytes& b, int v) {
  b.push_back(uint8_t(v));
  b.push_back(uint8_t(v >> 8));
}
void put32(Bytes& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(uint8_t(v >> (8 * i)));
}

Bytes info_header(int width, int height, int depth, uint32_t colours) {
  Bytes b;
  put32(b, 40);
  put32(b, uint32_t(width));
  put32(b, uint32_t(height));
  put16(b, 1);
  put16(b, depth);
  put32(b, 0);
  put32(b, 0);
  put32(b, 0);
  put32(b, 0);
  put32(b, colours);
  put32(b, 0);
  return b;
}

// A BMP file image: 24 bits per pixel, or 8 with a grey palette.
Bytes bmp(int width, int height, int depth) {
  uint32_t colours = depth == 8 ? 256 : 0;
  int stride = ((width * depth + 31) / 32) * 4;
  Bytes header = info_header(width, height, depth, colours);
  for (uint32_t i = 0; i < colours; ++i) put32(header, i * 0x010101);
  Bytes b = {'B', 'M'};
  put32(b, uint32_t(14 + header.size() + size_t(stride) * height));
  put32(b, 0);
  put32(b, uint32_t(14 + header.size()));
  b.insert(b.end(), header.begin(), header.end());
  for (int i = 0; i < stride * height; ++i) b.push_back(uint8_t(i * 7));
  return b;
}

// One 32-bit icon image: header (height doubled), colour pixels, AND mask.
Bytes icon_image(int size) {
  Bytes b = info_header(size, size * 2, 32, 0);
  for (int i = 0; i < size * size; ++i) put32(b, 0xFF2080C0);
  int mask_stride = ((size + 31) / 32) * 4;
  b.insert(b.end(), size_t(mask_stride) * size, 0);
  return b;
}

// An ICO (type 1) or CUR (type 2) file image with images of these sizes.
Bytes ico(const std::vector<int>& sizes, int type = 1) {
  Bytes b;
  put16(b, 0);
  put16(b, type);
  put16(b, int(sizes.size()));
  std::vector<Bytes> images;
  for (int s : sizes) images.push_back(icon_image(s));
  uint32_t offset = uint32_t(6 + 16 * sizes.size());
  for (size_t i = 0; i < sizes.size(); ++i) {
    b.push_back(uint8_t(sizes[i]));
    b.push_back(uint8_t(sizes[i]));
    b.push_back(0);
    b.push_back(0);
    put16(b, 1);
    put16(b, 32);
    put32(b, uint32_t(images[i].size()));
    put32(b, offset);
    offset += uint32_t(images[i].size());
  }
  for (const Bytes& image : images) b.insert(b.end(), image.begin(), image.end());
  return b;
}

std::string write_file(const std::string& name, const Bytes& bytes) {
  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  std::string path = std::string(folder) + name;
  FILE* file = fopen(path.c_str(), "wb");
  fwrite(bytes.data(), 1, bytes.size(), file);
  fclose(file);
  return path;
}

bool is_dib_section(HANDLE bitmap) {
  DIBSECTION section = {};
  return GetObjectA(bitmap, sizeof section, &section) == sizeof section;
}

}  // namespace

using Images = RuntimeTest;

TEST_F(Images, BitmapFilesLoadAsTheirDepthAsks) {
  std::string path24 = write_file("vantrel_24.bmp", bmp(30, 20, 24));
  HANDLE bitmap = reinterpret_cast<HANDLE>(load_image(1, path24.c_str()));
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(image_handle(1), bitmap);
  EXPECT_EQ(image_width(1), 30);
  EXPECT_EQ(image_height(1), 20);
  EXPECT_EQ(image_depth(1), 24);
  EXPECT_TRUE(is_dib_section(bitmap)) << "a 24-bit file gives a DIB section";

  std::string path8 = write_file("vantrel_8.bmp", bmp(16, 16, 8));
  HANDLE palette = reinterpret_cast<HANDLE>(load_image(2, path8.c_str()));
  ASSERT_NE(palette, nullptr);
  EXPECT_FALSE(is_dib_section(palette)) << "a 256-colour file is loaded again, device-dependent";
  EXPECT_EQ(image_width(2), 16);

  // Replacing a number deletes the image it held; freeing -1 does nothing.
  ASSERT_NE(load_image(1, path8.c_str()), 0);
  EXPECT_EQ(GetObjectType(bitmap), 0u) << "the replaced bitmap is still alive";
  free_image(-1);
  free_image(2);
  EXPECT_EQ(GetObjectType(palette), 0u);
  EXPECT_EQ(image_handle(2), nullptr);
  EXPECT_EQ(image_width(2), 0);
}

TEST_F(Images, IconFilesGiveTheirFirstImageAtItsOwnSize) {
  std::string path = write_file("vantrel_two.ico", ico({48, 16}));
  HANDLE icon = reinterpret_cast<HANDLE>(load_image(3, path.c_str()));
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(image_width(3), 48);
  EXPECT_EQ(image_height(3), 48);
  EXPECT_EQ(image_depth(3), 32);
  int32_t chosen = int32_t(load_image(OBJECT_ANY, path.c_str()));
  EXPECT_NE(chosen, 0);
  EXPECT_NE(image_handle(chosen), nullptr);
  stop_images();  // frees every image, the icons included
  EXPECT_FALSE(DestroyIcon(static_cast<HICON>(icon))) << "the icon outlived the stop";
  ASSERT_TRUE(start_images());
}

TEST_F(Images, FilesThatAreNoImageGiveZero) {
  Bytes not_bitmap = {'B', 'M', 'x', 'y', 'z'};
  std::string fake = write_file("vantrel_fake.bmp", not_bitmap);
  Bytes cursor = ico({32}, 2);
  std::string cursor_file = write_file("vantrel_cursor.cur", cursor);
  Bytes cut = bmp(40, 40, 24);
  cut.resize(60);
  std::string truncated = write_file("vantrel_cut.bmp", cut);
  for (const std::string& path : {fake, cursor_file, truncated, std::string("C:\\no\\such\\file.bmp"), std::string("")}) {
    EXPECT_EQ(load_image(4, path.c_str()), 0) << path;
    EXPECT_EQ(image_handle(4), nullptr) << path;
  }
  EXPECT_EQ(load_image(4, nullptr), 0);
}

TEST_F(Images, FileImagesInMemory) {
  Bytes small = bmp(12, 12, 8);
  HANDLE bitmap = reinterpret_cast<HANDLE>(catch_image(5, small.data()));
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(image_width(5), 12);
  EXPECT_EQ(image_height(5), 12);
  EXPECT_EQ(image_depth(5), 32) << "a BMP in memory becomes a 32-bit bitmap";
  EXPECT_NE(catch_image(5, small.data(), 0, small.size()), 0);

  Bytes icons = ico({32, 16});
  ASSERT_NE(catch_image(6, icons.data(), 0, icons.size()), 0);
  EXPECT_EQ(image_width(6), 32);

  Bytes cursor = ico({32}, 2);
  EXPECT_EQ(catch_image(7, cursor.data(), 0, cursor.size()), 0);
  Bytes reserved = icons;
  reserved[0] = 1;
  EXPECT_EQ(catch_image(7, reserved.data(), 0, reserved.size()), 0);
  EXPECT_EQ(catch_image(7, nullptr), 0);
  // Sizes that announce more than the image holds are refused, not read.
  Bytes cut_bitmap = bmp(40, 40, 24);
  EXPECT_EQ(catch_image(7, cut_bitmap.data(), 0, 100), 0);
  Bytes cut_icon = icons;
  EXPECT_EQ(catch_image(7, cut_icon.data(), 0, 40), 0);
  EXPECT_EQ(image_handle(7), nullptr);
}

namespace {

// A 1 x 1 RLE8 bitmap: one run of one pixel, end of line, end of bitmap.
Bytes rle8(uint32_t claimed_compressed_size) {
  Bytes header = info_header(1, 1, 8, 2);
  header[16] = 1;  // BI_RLE8
  for (int i = 0; i < 4; ++i) header[20 + i] = uint8_t(claimed_compressed_size >> (8 * i));
  put32(header, 0x000000);
  put32(header, 0xFFFFFF);
  const Bytes runs = {1, 1, 0, 0, 0, 1};
  Bytes b = {'B', 'M'};
  put32(b, uint32_t(14 + header.size() + runs.size()));
  put32(b, 0);
  put32(b, uint32_t(14 + header.size()));
  b.insert(b.end(), header.begin(), header.end());
  b.insert(b.end(), runs.begin(), runs.end());
  return b;
}

void set32(Bytes& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (8 * i));
}

}  // namespace

// Headers that lie about what follows them are refused before the
// platform's decoder reads past the file.
TEST_F(Images, LyingHeadersAreRefusedBeforeDecoding) {
  Bytes good_rle = rle8(6);
  EXPECT_TRUE(bitmap_file_is_sound(good_rle.data(), good_rle.size()));
  std::string good_path = write_file("vantrel_rle8.bmp", good_rle);
  EXPECT_NE(load_image(8, good_path.c_str()), 0) << "a small well-formed RLE8 file";
  EXPECT_EQ(image_width(8), 1);

  struct Case {
    const char* what;
    Bytes bytes;
  };
  std::vector<Case> cases;
  cases.push_back({"compressed size past the file", rle8(0x10000000)});
  cases.push_back({"compressed size 0", rle8(0)});
  Bytes big_header = bmp(4, 4, 24);
  set32(big_header, 14, uint32_t(big_header.size()));
  cases.push_back({"info header larger than the file", big_header});
  Bytes colours = bmp(4, 4, 8);
  set32(colours, 14 + 32, 257);
  cases.push_back({"more colours than 8 bits have", colours});
  Bytes rle_depth = rle8(6);
  rle_depth[14 + 14] = 24;
  cases.push_back({"RLE8 of 24 bits", rle_depth});
  Bytes top_down = rle8(6);
  set32(top_down, 14 + 8, uint32_t(-1));
  cases.push_back({"top-down RLE8", top_down});
  Bytes jpeg = bmp(4, 4, 24);
  set32(jpeg, 14 + 16, 4);
  cases.push_back({"JPEG code", jpeg});
  Bytes tall = bmp(4, 4, 24);
  set32(tall, 14 + 8, 0x80000000u);
  cases.push_back({"height of -2^31", tall});
  for (const Case& c : cases) {
    EXPECT_FALSE(bitmap_file_is_sound(c.bytes.data(), c.bytes.size())) << c.what;
    std::string path = write_file("vantrel_lying.bmp", c.bytes);
    EXPECT_EQ(load_image(9, path.c_str()), 0) << c.what;
    EXPECT_EQ(catch_image(9, c.bytes.data(), 0, c.bytes.size()), 0) << c.what;
  }

  // An icon whose image header names more pixels than its entry holds.
  Bytes icon = ico({32});
  EXPECT_TRUE(icon_file_is_sound(icon.data(), icon.size()));
  Bytes tall_icon = icon;
  set32(tall_icon, 22 + 8, 32 * 2 * 64);
  EXPECT_FALSE(icon_file_is_sound(tall_icon.data(), tall_icon.size()));
  Bytes no_mask = icon;
  set32(no_mask, 6 + 8, 40 + 32 * 32 * 4);  // the entry ends before the mask
  EXPECT_FALSE(icon_file_is_sound(no_mask.data(), no_mask.size()));
  std::string path = write_file("vantrel_lying.ico", tall_icon);
  EXPECT_EQ(load_image(9, path.c_str()), 0);
  EXPECT_FALSE(bitmap_file_is_sound(nullptr, 100));
  EXPECT_FALSE(icon_file_is_sound(nullptr, 100));
}
