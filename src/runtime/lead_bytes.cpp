#include "runtime/lead_bytes.h"

#include <cstring>

namespace vantrel {
namespace {

LeadBytes current;

}  // namespace

const char* LeadBytes::find(const char* text, size_t length, char byte) const {
  if (!text) return nullptr;
  if (!any_) return static_cast<const char*>(memchr(text, byte, length));
  for (size_t at = 0; at < length; at += lead(text[at]) && at + 1 < length ? 2 : 1)
    if (text[at] == byte) return text + at;
  return nullptr;
}

const char* LeadBytes::find(const char* text, char byte) const {
  if (!text) return nullptr;
  if (!any_) return strchr(text, byte);
  for (const char* at = text; *at; at += length_at(at))
    if (*at == byte) return at;
  return nullptr;
}

const LeadBytes& text_lead_bytes() { return current; }

LeadBytes swap_text_lead_bytes(const LeadBytes& lead_bytes) {
  LeadBytes before = current;
  current = lead_bytes;
  return before;
}

}  // namespace vantrel
