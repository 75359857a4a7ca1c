// UTF-16 and UTF-8, each as the other; nothing here needs the platform.
#include "runtime/text_code_page.h"

namespace vantrel {
namespace {

constexpr char32_t REPLACEMENT = 0xFFFD;

size_t put_utf8(char32_t c, char* out) {
  char bytes[4];
  size_t n;
  if (c < 0x80) {
    bytes[0] = char(c);
    n = 1;
  } else if (c < 0x800) {
    bytes[0] = char(0xC0 | (c >> 6));
    bytes[1] = char(0x80 | (c & 0x3F));
    n = 2;
  } else if (c < 0x10000) {
    bytes[0] = char(0xE0 | (c >> 12));
    bytes[1] = char(0x80 | ((c >> 6) & 0x3F));
    bytes[2] = char(0x80 | (c & 0x3F));
    n = 3;
  } else {
    bytes[0] = char(0xF0 | (c >> 18));
    bytes[1] = char(0x80 | ((c >> 12) & 0x3F));
    bytes[2] = char(0x80 | ((c >> 6) & 0x3F));
    bytes[3] = char(0x80 | (c & 0x3F));
    n = 4;
  }
  if (out)
    for (size_t i = 0; i < n; ++i) out[i] = bytes[i];
  return n;
}

bool high_surrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool low_surrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// The character whose UTF-8 sequence starts at text[at], and its length;
// a byte that starts no whole, shortest, valid sequence is U+FFFD alone.
char32_t decode_utf8(const unsigned char* text, size_t length, size_t at, size_t* taken) {
  unsigned char lead = text[at];
  *taken = 1;
  if (lead < 0x80) return lead;
  size_t count = lead >= 0xF0 && lead <= 0xF4 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 && lead < 0xE0 ? 2 : 0;
  if (!count || lead > 0xF4 || at + count > length) return REPLACEMENT;
  char32_t c = lead & (0x7F >> count);
  for (size_t i = 1; i < count; ++i) {
    unsigned char next = text[at + i];
    if ((next & 0xC0) != 0x80) return REPLACEMENT;
    c = c << 6 | (next & 0x3F);
  }
  constexpr char32_t SHORTEST[] = {0, 0, 0x80, 0x800, 0x10000};
  if (c < SHORTEST[count] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return REPLACEMENT;
  *taken = count;
  return c;
}

}  // namespace

size_t utf8_from_utf16(const wchar_t* text, size_t length, char* out) {
  size_t bytes = 0;
  for (size_t at = 0; at < length; ++at) {
    char32_t unit = char16_t(text[at]), c = unit;
    if (unit < 0x80) {  // most text: a byte for a unit
      if (out) out[bytes] = char(unit);
      ++bytes;
      continue;
    }
    if (high_surrogate(unit) && at + 1 < length && low_surrogate(char16_t(text[at + 1]))) {
      c = 0x10000 + ((unit - 0xD800) << 10) + (char16_t(text[at + 1]) - 0xDC00);
      ++at;
    } else if (high_surrogate(unit) || low_surrogate(unit)) {
      c = REPLACEMENT;
    }
    bytes += put_utf8(c, out ? out + bytes : nullptr);
  }
  return bytes;
}

size_t utf16_from_utf8(const char* text, size_t length, wchar_t* out) {
  auto* bytes = reinterpret_cast<const unsigned char*>(text);
  size_t units = 0;
  for (size_t at = 0; at < length;) {
    size_t taken;
    char32_t c = decode_utf8(bytes, length, at, &taken);
    at += taken;
    if (c >= 0x10000) {
      if (out) {
        out[units] = wchar_t(0xD800 + ((c - 0x10000) >> 10));
        out[units + 1] = wchar_t(0xDC00 + ((c - 0x10000) & 0x3FF));
      }
      units += 2;
    } else {
      if (out) out[units] = wchar_t(c);
      ++units;
    }
  }
  return units;
}

size_t utf8_whole_characters(const char* text, size_t length, size_t limit) {
  if (limit >= length) return length;
  size_t whole = limit;
  // Back over the continuation bytes of a sequence that the limit cuts: at
  // most three, whatever the bytes are.
  for (int back = 0; back < 3 && whole > 0 && (static_cast<unsigned char>(text[whole]) & 0xC0) == 0x80; ++back) --whole;
  if ((static_cast<unsigned char>(text[whole]) & 0xC0) == 0x80) return limit;  // no sequence: bytes alone
  return whole;
}

}  // namespace vantrel
