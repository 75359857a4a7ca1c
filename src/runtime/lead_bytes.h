#pragma once
// The lead bytes of the call's code page. In the double-byte ANSI code pages
// (932, 936, 949, 950) the byte after a lead byte is the second half of its
// character, whatever its value: in code page 932 ポ is 83 7C and 表 is 95 5C,
// a "|" and a "\" as their second bytes. Text is split and searched by
// character there, never by byte. UTF-8 and the single-byte pages have none.
#include <cstddef>

namespace vantrel {

class LeadBytes {
 public:
  LeadBytes() = default;  // none: every byte is a character
  void add(unsigned char first, unsigned char last) {
    for (unsigned byte = first; byte <= last; ++byte) lead_[byte] = any_ = true;
  }
  bool any() const { return any_; }
  bool lead(char byte) const { return lead_[static_cast<unsigned char>(byte)]; }
  // How many bytes the character at `at` takes (a lead byte at the text's end is one).
  size_t length_at(const char* at) const { return lead(*at) && at[1] ? 2 : 1; }
  // The first `byte` (an ASCII one) that stands as a character of its own in
  // the first `length` bytes of `text`, or null (also for a null text).
  const char* find(const char* text, size_t length, char byte) const;
  const char* find(const char* text, char byte) const;  // up to its zero

 private:
  bool lead_[256] = {};
  bool any_ = false;
};

// The lead bytes of the code page of the call that runs (none outside one).
const LeadBytes& text_lead_bytes();
// Sets them while the call's code page holds; the lead bytes that held before.
LeadBytes swap_text_lead_bytes(const LeadBytes& lead_bytes);

}  // namespace vantrel
