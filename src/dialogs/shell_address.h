#pragma once
// The text an about box hands the shell for its web or mail address. The
// shell writes it into the handler's command line (a browser's, a mail
// program's): quotes, blanks and control characters there would end the
// address and start arguments of the caller's choosing, and a mail
// address's query (?attach=...) would have the mail program attach files.

namespace vantrel {

// `prefix` (null: "http://" unless the address has a web scheme) and the
// address without the blanks around it, with every byte that an address
// may not hold as it stands percent-encoded; a "mailto:" address keeps the
// address alone, without its query. Null when the text would be longer
// than the shell takes (800 bytes), or memory runs out; freed with general_free.
char* shell_address(const char* prefix, const char* address);

}  // namespace vantrel
