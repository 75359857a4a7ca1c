#pragma once
// The code page of a call's texts. The runtime's strings are 8-bit: in the
// ANSI code page during a call of the fixed exports, in UTF-8 during a call
// of the wide ones. Text changes its form only where it meets the platform,
// whose wide functions take every character.
#include <cstddef>
#include <cstdint>

#include "runtime/lead_bytes.h"

namespace vantrel {

constexpr unsigned CODE_PAGE_ANSI = 0;     // the system's ANSI code page (CP_ACP)
constexpr unsigned CODE_PAGE_UTF8 = 65001;  // CP_UTF8

unsigned text_code_page();

// The code page of the texts while the scope lives (calls nest), and with
// it the lead bytes that text is split by (runtime/lead_bytes.h).
class TextCodePageScope {
 public:
  explicit TextCodePageScope(unsigned code_page);
  ~TextCodePageScope();
  TextCodePageScope(const TextCodePageScope&) = delete;
  TextCodePageScope& operator=(const TextCodePageScope&) = delete;

 private:
  unsigned before_;
  LeadBytes lead_bytes_before_;
};

// The lead bytes of a code page (CODE_PAGE_ANSI: the system's).
LeadBytes lead_bytes_of(unsigned code_page);

// UTF-16 as UTF-8, a lone surrogate as U+FFFD: how many bytes it takes, and
// the bytes written at `out` when it is not null (no zero added).
size_t utf8_from_utf16(const wchar_t* text, size_t length, char* out);
// UTF-8 as UTF-16, each byte of a broken sequence as U+FFFD: how many units
// it takes, and the units written at `out` when it is not null.
size_t utf16_from_utf8(const char* text, size_t length, wchar_t* out);

// How many of the text's first `limit` bytes (of `length`) end on a
// character of the code page: a cut there splits no sequence.
size_t whole_characters(const char* text, size_t length, size_t limit, unsigned code_page);
size_t utf8_whole_characters(const char* text, size_t length, size_t limit);
// How many of a UTF-16 text's first `length` units hold whole characters:
// a read cut to a room may end on the first half of a surrogate pair.
inline size_t whole_units(const wchar_t* text, size_t length) {
  return length > 0 && text[length - 1] >= 0xD800 && text[length - 1] <= 0xDBFF ? length - 1 : length;
}

// A text of the call's code page as UTF-16, for the platform's wide
// functions; "" when memory runs out. It owns its copy.
class WideText;
const wchar_t* creation_text(WideText& text);

class WideText {
 public:
  explicit WideText(const char* text, ptrdiff_t length = -1);
  ~WideText();
  WideText(const WideText&) = delete;
  WideText& operator=(const WideText&) = delete;
  const wchar_t* get() const { return text_ ? text_ : L""; }
  int32_t length() const { return length_; }

 private:
  friend const wchar_t* creation_text(WideText& text);
  static constexpr int SHORT_TEXT = 128;
  wchar_t short_[SHORT_TEXT];
  wchar_t* text_ = nullptr;
  int32_t length_ = 0;
};

// The platform hands a new window's text on with a 16-bit count of bytes:
// a window is made with at most this many units of its text (a caption, a
// label, a read-only box), cut where a whole character ends.
constexpr int32_t LONGEST_CREATION_TEXT = 32767;

// Room for `units` UTF-16 units and a zero, for the platform to write
// into; null when memory runs out or the count is negative or absurd.
class WideBuffer {
 public:
  explicit WideBuffer(ptrdiff_t units);
  ~WideBuffer();
  WideBuffer(const WideBuffer&) = delete;
  WideBuffer& operator=(const WideBuffer&) = delete;
  wchar_t* get() const { return text_; }

 private:
  wchar_t* text_ = nullptr;
};

// The first characters of a text of the call's code page as UTF-16, at
// most `units` of them (a pair counts two), at `out`: how many it wrote.
size_t wide_prefix(const char* text, size_t units, wchar_t* out);

// UTF-16 written as text of the call's code page into `room` bytes at
// `out`, cut where a whole character ends, and ended with a zero.
void narrow_text(const wchar_t* text, ptrdiff_t length, char* out, size_t room);


// UTF-16 from the platform written as text of the call's code page at the
// shared buffer's position `p` (a producer); `length` -1 reads to its zero.
const char* append_wide(const wchar_t* text, ptrdiff_t length, int32_t p);

}  // namespace vantrel
