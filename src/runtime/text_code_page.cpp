#include "runtime/text_code_page.h"

#include <windows.h>

#include <cstring>

#include "runtime/heaps.h"
#include "runtime/strings.h"

namespace vantrel {
namespace {

unsigned code_page = CODE_PAGE_ANSI;

bool utf8() { return code_page == CODE_PAGE_UTF8 || (code_page == CODE_PAGE_ANSI && GetACP() == CP_UTF8); }

}  // namespace

unsigned text_code_page() { return code_page; }

TextCodePageScope::TextCodePageScope(unsigned page)
    : before_(code_page), lead_bytes_before_(swap_text_lead_bytes(lead_bytes_of(page))) {
  code_page = page;
}

TextCodePageScope::~TextCodePageScope() {
  code_page = before_;
  swap_text_lead_bytes(lead_bytes_before_);
}

LeadBytes lead_bytes_of(unsigned page) {
  LeadBytes lead_bytes;
  if (page == CODE_PAGE_UTF8 || (page == CODE_PAGE_ANSI && GetACP() == CP_UTF8)) return lead_bytes;
  CPINFO info;
  if (!GetCPInfo(page == CODE_PAGE_ANSI ? CP_ACP : page, &info) || info.MaxCharSize < 2) return lead_bytes;
  for (int i = 0; i + 1 < MAX_LEADBYTES && info.LeadByte[i]; i += 2) lead_bytes.add(info.LeadByte[i], info.LeadByte[i + 1]);
  return lead_bytes;
}

size_t whole_characters(const char* text, size_t length, size_t limit, unsigned page) {
  if (limit >= length) return length;
  if (page == CODE_PAGE_UTF8 || (page == CODE_PAGE_ANSI && GetACP() == CP_UTF8))
    return utf8_whole_characters(text, length, limit);
  CPINFO info;
  UINT system_page = page == CODE_PAGE_ANSI ? CP_ACP : page;
  if (!GetCPInfo(system_page, &info) || info.MaxCharSize < 2) return limit;
  size_t whole = 0;
  for (size_t at = 0; at < limit;) {
    at += IsDBCSLeadByteEx(system_page, BYTE(text[at])) && at + 1 < length ? 2 : 1;
    if (at <= limit) whole = at;
  }
  return whole;
}

WideText::WideText(const char* text, ptrdiff_t length) {
  text = text_or_empty(text);
  size_t bytes = length < 0 ? strlen(text) : size_t(length);
  if (bytes > 0x3FFFFFFF) return;
  // No text takes more UTF-16 units than it has bytes: a short one is
  // converted in one pass into the object's own room.
  if (bytes < SHORT_TEXT) {
    size_t units = utf8() ? utf16_from_utf8(text, bytes, short_)
                          : size_t(bytes ? MultiByteToWideChar(CP_ACP, 0, text, int(bytes), short_, SHORT_TEXT) : 0);
    text_ = short_;
    text_[units] = 0;
    length_ = int32_t(units);
    return;
  }
  size_t units = utf8() ? utf16_from_utf8(text, bytes, nullptr)
                        : size_t(bytes ? MultiByteToWideChar(CP_ACP, 0, text, int(bytes), nullptr, 0) : 0);
  text_ = static_cast<wchar_t*>(general_alloc_array(units + 1, sizeof(wchar_t)));
  if (!text_) return;
  if (utf8()) utf16_from_utf8(text, bytes, text_);
  else if (units) MultiByteToWideChar(CP_ACP, 0, text, int(bytes), text_, int(units));
  text_[units] = 0;
  length_ = int32_t(units);
}

WideText::~WideText() {
  if (text_ != short_) general_free(text_);
}

const wchar_t* creation_text(WideText& text) {
  if (text.length_ > LONGEST_CREATION_TEXT) {
    text.length_ = int32_t(whole_units(text.text_, LONGEST_CREATION_TEXT));
    text.text_[text.length_] = 0;
  }
  return text.get();
}

size_t wide_prefix(const char* text, size_t units, wchar_t* out) {
  text = text_or_empty(text);
  // A character takes at most four bytes of UTF-8 and two of the ANSI code
  // pages: that many bytes hold the first `units` characters whole.
  size_t bytes = strnlen(text, units * 4);
  if (!utf8()) {
    if (bytes > units * 2) bytes = units * 2;
    int made = bytes ? MultiByteToWideChar(CP_ACP, 0, text, int(bytes), nullptr, 0) : 0;
    if (made <= 0) return 0;
    WideBuffer all(made);
    if (!all.get()) return 0;
    MultiByteToWideChar(CP_ACP, 0, text, int(bytes), all.get(), made);
    size_t written = size_t(made) < units ? size_t(made) : units;
    memcpy(out, all.get(), written * sizeof(wchar_t));
    return written;
  }
  size_t made = utf16_from_utf8(text, bytes, nullptr);
  if (made <= units) return utf16_from_utf8(text, bytes, out);
  WideBuffer all{ptrdiff_t(made)};
  if (!all.get()) return 0;
  utf16_from_utf8(text, bytes, all.get());
  memcpy(out, all.get(), units * sizeof(wchar_t));
  return units;
}

void narrow_text(const wchar_t* text, ptrdiff_t length, char* out, size_t room) {
  if (!room) return;
  int32_t p = buffer_position();
  const char* made = append_wide(text, length, p);
  size_t bytes = strlen(made), kept = whole_characters(made, bytes, room - 1, code_page);
  memcpy(out, made, kept);
  out[kept] = 0;
  set_buffer_position(p);
}

WideBuffer::WideBuffer(ptrdiff_t units) {
  if (units >= 0 && units < 0x3FFFFFF0) text_ = static_cast<wchar_t*>(general_alloc_array(size_t(units) + 2, sizeof(wchar_t)));
}

WideBuffer::~WideBuffer() { general_free(text_); }

const char* append_wide(const wchar_t* text, ptrdiff_t length, int32_t p) {
  if (!text) text = L"";
  size_t units = length < 0 ? wcslen(text) : size_t(length);
  size_t bytes = utf8() ? utf8_from_utf16(text, units, nullptr)
                        : size_t(units ? WideCharToMultiByte(CP_ACP, 0, text, int(units), nullptr, 0, nullptr, nullptr)
                                       : 0);
  char* at = bytes < 0x7FFF0000 ? buffer_reserve(int32_t(bytes), p) : nullptr;
  if (!at) {
    buffer_terminate();
    return buffer_address_at(buffer_position());
  }
  if (utf8()) utf8_from_utf16(text, units, at);
  else if (units) WideCharToMultiByte(CP_ACP, 0, text, int(units), at, int(bytes), nullptr, nullptr);
  at[bytes] = 0;
  return buffer_address_at(p);
}

}  // namespace vantrel
