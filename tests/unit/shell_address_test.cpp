#include "dialogs/shell_address.h"

#include <string>

#include "runtime/heaps.h"
#include "runtime/lead_bytes.h"
#include "runtime_fixture.h"

using namespace vantrel;

namespace {

std::string address(const char* prefix, const char* text) {
  char* made = shell_address(prefix, text);
  std::string copy = made ? made : "<none>";
  general_free(made);
  return copy;
}

std::string web(const char* text) { return address(nullptr, text); }
std::string mail(const char* text) { return address("mailto:", text); }

}  // namespace

using ShellAddress = RuntimeTest;

// What would end the address on its handler's command line, or start an
// argument there, is percent-encoded; what an address holds stays as it is.
TEST_F(ShellAddress, WhatAnAddressMayNotHoldIsPercentEncoded) {
  EXPECT_EQ(web("https://example.org/vantrel?from=about&v=1#top"), "https://example.org/vantrel?from=about&v=1#top");
  EXPECT_EQ(web("  https://example.org/a&b  "), "https://example.org/a&b");
  EXPECT_EQ(web("\"https://example.org/quoted\""), "http://%22https://example.org/quoted%22");
  EXPECT_EQ(web("https://example.org/a b\tc\r\nd"), "https://example.org/a%20b%09c%0D%0Ad");
  EXPECT_EQ(web("https://x.org/\" --new-window \"file:///C:/"), "https://x.org/%22%20--new-window%20%22file:///C:/");
  EXPECT_EQ(web("https://x.org/<>\\^`{|}\x7F"), "https://x.org/%3C%3E%5C%5E%60%7B%7C%7D%7F");
  EXPECT_EQ(web("https://x.org/100%25/%zz/%4"), "https://x.org/100%25/%25zz/%254") << "an escape stays, a lone % is one";
  EXPECT_EQ(web("https://\xD0\xBF\xD1\x80.\xD1\x80\xD1\x84/"), "https://\xD0\xBF\xD1\x80.\xD1\x80\xD1\x84/")
      << "another script's letters stay whole";
  EXPECT_EQ(web("www.example.com"), "http://www.example.com");
  EXPECT_EQ(web("file:///C:/windows/notepad.exe"), "http://file:///C:/windows/notepad.exe");
  EXPECT_EQ(web(nullptr), "http://");
}

// A mail address goes as "mailto:" and the address, without the query that
// could fill in a subject, a body or files to attach.
TEST_F(ShellAddress, AMailAddressKeepsTheAddressAlone) {
  EXPECT_EQ(mail("help@example.org"), "mailto:help@example.org");
  EXPECT_EQ(mail(" help@example.org?attach=C:\\secret.txt&subject=x "), "mailto:help@example.org");
  EXPECT_EQ(mail("help@example.org#part"), "mailto:help@example.org");
  EXPECT_EQ(mail("a b@example.org"), "mailto:a%20b@example.org");
  EXPECT_EQ(web("MAILTO:help@example.org?body=hi"), "MAILTO:help@example.org") << "a web address that is a mail";
  EXPECT_EQ(web("https://example.org/?a=1"), "https://example.org/?a=1") << "a web page keeps its query";
}

// The shell takes 800 bytes; what escaping makes longer counts as it goes.
TEST_F(ShellAddress, AnAddressLongerThanTheShellTakesIsNotMade) {
  std::string longest = "https://example.org/" + std::string(780, 'a');
  EXPECT_EQ(web(longest.c_str()), longest);
  EXPECT_EQ(web((longest + "a").c_str()), "<none>");
  std::string blanks = "https://example.org/" + std::string(260, ' ') + "x";
  EXPECT_EQ(web(blanks.c_str()), "<none>") << "801 bytes once escaped";
}

// In a code page of double-byte characters, a character whose second byte
// is one an address may not hold ("\", "|" ...) stays whole.
TEST_F(ShellAddress, DoubleByteCharactersStayWhole) {
  LeadBytes code_page_932;
  code_page_932.add(0x81, 0x9F);
  code_page_932.add(0xE0, 0xFC);
  LeadBytes before = swap_text_lead_bytes(code_page_932);
  EXPECT_EQ(web("https://example.jp/\x95\x5C/\x83\x7C"), "https://example.jp/\x95\x5C/\x83\x7C");
  EXPECT_EQ(web("https://example.jp/\x95\x5C \\"), "https://example.jp/\x95\x5C%20%5C");
  EXPECT_EQ(mail("\x83\x7C@example.jp?subject=x"), "mailto:\x83\x7C@example.jp");
  swap_text_lead_bytes(before);
}
