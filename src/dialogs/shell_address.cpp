#include "dialogs/shell_address.h"

#include <cstring>

#include "runtime/heaps.h"
#include "runtime/lead_bytes.h"

namespace vantrel {
namespace {

// A web address with a scheme that names a web page goes to the shell with
// that scheme; anything else (a bare "www.example.com", a program's path, a
// "file:" address) becomes a web address, so that the shell never takes it
// for a file or a program to run.
constexpr const char* WEB_SCHEMES[] = {"http://", "https://", "ftp://", "mailto:"};
constexpr const char* MAIL_SCHEME = "mailto:";

// The schemes are ASCII: compared byte by byte, letter case aside, whatever
// the code page of the address.
bool starts_with(const char* text, const char* scheme) {
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
  size_t at = 0;
  while (scheme[at] && lower(text[at]) == scheme[at]) ++at;
  return !scheme[at];
}

bool starts_with_web_scheme(const char* address) {
  for (const char* scheme : WEB_SCHEMES)
    if (starts_with(address, scheme)) return true;
  return false;
}

bool is_hex(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

// What no address holds as it stands (RFC 3986): controls, the blank and
// the characters outside its set, and a "%" that starts no escape. Bytes of
// other scripts stay: the shell hands them on whole, as an address of the
// caller's own language.
bool needs_escape(const char* at) {
  auto byte = static_cast<unsigned char>(*at);
  if (byte <= 0x20 || byte == 0x7F) return true;
  if (*at == '%') return !(is_hex(at[1]) && is_hex(at[2]));
  return byte < 0x80 && strchr("\"<>\\^`{|}", *at) != nullptr;
}

}  // namespace

char* shell_address(const char* prefix, const char* address) {
  constexpr size_t LONGEST_ADDRESS = 800;  // the shell's room for it, with the handler's own text
  if (!address) address = "";
  while (*address == ' ' || *address == '\t') ++address;
  size_t length = strlen(address);
  while (length && (address[length - 1] == ' ' || address[length - 1] == '\t')) --length;
  if (!prefix) prefix = starts_with_web_scheme(address) ? "" : "http://";
  size_t prefix_length = strlen(prefix);
  bool mail = starts_with(prefix, MAIL_SCHEME) || (!*prefix && starts_with(address, MAIL_SCHEME));
  if (mail) {
    // The address alone: whatever follows a "?" (a subject, a body, files to
    // attach) or a "#" is the caller's, not the person's, to send.
    // (Neither byte is ever the second half of a double-byte character.)
    for (size_t at = 0; at < length; ++at)
      if (address[at] == '?' || address[at] == '#') length = at;
  }
  // A double-byte character stays whole, whatever its second byte.
  const LeadBytes& lead_bytes = text_lead_bytes();
  auto whole_character = [&](size_t at) { return lead_bytes.lead(address[at]) && at + 1 < length ? 2 : 0; };
  size_t escaped = 0;
  for (size_t at = 0; at < length; ++at) {
    if (size_t pair = whole_character(at)) {
      escaped += pair;
      ++at;
      continue;
    }
    escaped += needs_escape(address + at) ? 3 : 1;
  }
  if (prefix_length + escaped > LONGEST_ADDRESS) return nullptr;
  auto* text = static_cast<char*>(general_alloc(prefix_length + escaped + 1));
  if (!text) return nullptr;
  memcpy(text, prefix, prefix_length);
  char* out = text + prefix_length;
  for (size_t at = 0; at < length; ++at) {
    if (whole_character(at)) {
      *out++ = address[at++];
      *out++ = address[at];
      continue;
    }
    if (!needs_escape(address + at)) {
      *out++ = address[at];
      continue;
    }
    auto byte = static_cast<unsigned char>(address[at]);
    *out++ = '%';
    *out++ = "0123456789ABCDEF"[byte >> 4];
    *out++ = "0123456789ABCDEF"[byte & 15];
  }
  *out = 0;
  return text;
}

}  // namespace vantrel
