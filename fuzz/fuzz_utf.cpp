// UTF-8 and UTF-16 each as the other, and cuts where a character ends: the
// counts match what is written, a conversion there and back is the same
// (broken characters replaced once, and only once), and a text converted in
// two parts at a cut is the text converted whole.
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "runtime/text_code_page.h"

using namespace vantrel;
using fuzz::require;

namespace {

std::u16string utf16_of(const std::string& bytes) {
  size_t units = utf16_from_utf8(bytes.data(), bytes.size(), nullptr);
  std::vector<wchar_t> out(units + 1, L'\x5A5A');
  require(utf16_from_utf8(bytes.data(), bytes.size(), out.data()) == units);
  require(out[units] == L'\x5A5A');  // nothing past the count
  return std::u16string(out.begin(), out.begin() + long(units));
}

std::string utf8_of(const std::u16string& text) {
  std::vector<wchar_t> units(text.begin(), text.end());
  size_t bytes = utf8_from_utf16(units.data(), units.size(), nullptr);
  std::vector<char> out(bytes + 1, 'Z');
  require(utf8_from_utf16(units.data(), units.size(), out.data()) == bytes);
  require(out[bytes] == 'Z');
  return std::string(out.begin(), out.begin() + long(bytes));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  size_t limit = data[0] % size;
  std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);

  // Bytes as UTF-8: read once, the text is whole and reads the same again.
  std::u16string once = utf16_of(bytes);
  std::string written = utf8_of(once);
  require(utf16_of(written) == once);
  require(utf8_of(utf16_of(written)) == written);

  // A cut keeps the characters on either side whole.
  size_t cut = utf8_whole_characters(bytes.data(), bytes.size(), limit);
  require(cut <= limit || cut == bytes.size());
  require(utf16_of(bytes.substr(0, cut)) + utf16_of(bytes.substr(cut)) == once);

  // The same bytes as UTF-16 units: surrogates alone become U+FFFD, pairs stay.
  std::u16string units;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) units += char16_t(uint8_t(bytes[i]) | uint8_t(bytes[i + 1]) << 8);
  std::u16string back = utf16_of(utf8_of(units));
  require(back.size() == units.size());
  for (size_t i = 0; i < units.size(); ++i) {
    bool high = units[i] >= 0xD800 && units[i] <= 0xDBFF, low = units[i] >= 0xDC00 && units[i] <= 0xDFFF;
    bool paired = (high && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) ||
                  (low && i > 0 && units[i - 1] >= 0xD800 && units[i - 1] <= 0xDBFF && back[i - 1] == units[i - 1]);
    require(back[i] == ((high || low) && !paired ? u'\xFFFD' : units[i]));
  }
  return 0;
}
