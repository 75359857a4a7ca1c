// ShowAbout: layout, fonts, the picture, buttons that reach the shell for
// real, and no way out but the buttons.
#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "harness.h"

using namespace harness;

namespace {

constexpr int HEADING = 0, SUBHEADING = 1, BODY = 2, WEB = 3, OK = 4, EMAIL = 5, PICTURE = 8, FRAME = 10;

std::string temp_path(const char* name) {
  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  return std::string(folder) + name;
}

void write_file(const std::string& path, const std::vector<unsigned char>& bytes) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

void put16(std::vector<unsigned char>& b, unsigned v) {
  b.push_back(v & 0xFF);
  b.push_back((v >> 8) & 0xFF);
}
void put32(std::vector<unsigned char>& b, unsigned v) {
  put16(b, v & 0xFFFF);
  put16(b, v >> 16);
}

void put_info_header(std::vector<unsigned char>& b, int width, int height, int bits) {
  put32(b, 40);
  put32(b, unsigned(width));
  put32(b, unsigned(height));
  put16(b, 1);
  put16(b, unsigned(bits));
  for (int i = 0; i < 6; ++i) put32(b, 0);
}

// An icon file of one 32-bit image, size x size, in a warm orange.
std::vector<unsigned char> icon_file(int size) {
  std::vector<unsigned char> image;
  put_info_header(image, size, size * 2, 32);
  for (int i = 0; i < size * size; ++i) put32(image, 0xFFE07020);
  int mask_row = (size + 31) / 32 * 4;
  image.insert(image.end(), size_t(mask_row * size), 0);
  std::vector<unsigned char> file;
  put16(file, 0);
  put16(file, 1);
  put16(file, 1);
  file.push_back(static_cast<unsigned char>(size));
  file.push_back(static_cast<unsigned char>(size));
  file.push_back(0);
  file.push_back(0);
  put16(file, 1);
  put16(file, 32);
  put32(file, unsigned(image.size()));
  put32(file, 22);
  file.insert(file.end(), image.begin(), image.end());
  return file;
}

// A 24-bit bitmap file; `claimed` sizes the header may lie about.
std::vector<unsigned char> bitmap_file(int width, int height, int claimed_width = 0, int claimed_height = 0) {
  int row = (width * 3 + 3) / 4 * 4;
  std::vector<unsigned char> file = {'B', 'M'};
  put32(file, unsigned(54 + row * height));
  put32(file, 0);
  put32(file, 54);
  put_info_header(file, claimed_width ? claimed_width : width, claimed_height ? claimed_height : height, 24);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < row; ++x) file.push_back(static_cast<unsigned char>(x % 3 == 0 ? 0x30 : 0xA0));
  return file;
}

// A 1 x 1 RLE8 bitmap file whose header names `compressed` bytes of runs
// (6 are there: one pixel, end of line, end of bitmap).
std::vector<unsigned char> rle8_file(unsigned compressed) {
  std::vector<unsigned char> file = {'B', 'M'};
  put32(file, 14 + 40 + 8 + 6);
  put32(file, 0);
  put32(file, 14 + 40 + 8);
  put_info_header(file, 1, 1, 8);
  file[14 + 16] = 1;  // BI_RLE8
  for (int i = 0; i < 4; ++i) file[14 + 20 + i] = static_cast<unsigned char>(compressed >> (8 * i));
  file[14 + 32] = 2;  // two colours
  put32(file, 0x000000);
  put32(file, 0xFFFFFF);
  for (unsigned char b : {1, 1, 0, 0, 0, 1}) file.push_back(b);
  return file;
}

LOGFONTA font_of(const Dialog& d, int gadget) {
  LOGFONTA font = {};
  HFONT handle = reinterpret_cast<HFONT>(SendMessageA(d.gadget(gadget), WM_GETFONT, 0, 0));
  GetObjectA(handle, sizeof font, &font);
  return font;
}

void expect_font(const Dialog& d, int gadget, int points, bool bold, bool underlined) {
  HDC screen = GetDC(nullptr);
  int height = -MulDiv(points, GetDeviceCaps(screen, LOGPIXELSY), 72);
  ReleaseDC(nullptr, screen);
  LOGFONTA font = font_of(d, gadget);
  EXPECT_STREQ(font.lfFaceName, "Arial") << "gadget " << gadget;
  EXPECT_EQ(font.lfHeight, height) << "gadget " << gadget;
  EXPECT_EQ(font.lfWeight, bold ? FW_BOLD : FW_NORMAL) << "gadget " << gadget;
  EXPECT_EQ(font.lfUnderline != 0, underlined) << "gadget " << gadget;
}

class About : public ::testing::Test {
 protected:
  void SetUp() override {
    show = shared_library().get<Show10>("ShowAbout");
    ASSERT_NE(show, nullptr);
  }
  std::string run(Text picture, Text web, Text email, const std::function<void(Dialog&)>& drive, Text width = "300",
                  Text height = "250", Text body = "Native dialogs for programs that speak only text.") {
    return run_dialog(
        [&] {
          return show("About Vantrel", "Vantrel", "Dialogs for every host", picture, body, web, email, width, height,
                      "0");
        },
        drive, nullptr, current_dialog());
  }
  Show10 show = nullptr;
};

}  // namespace

TEST_F(About, LayoutAndFontsWithBothAddresses) {
  std::string icon = temp_path("vantrel_about_32.ico");
  write_file(icon, icon_file(32));
  std::string answer = run(icon.c_str(), "https://example.org/vantrel", "help@example.org", [](Dialog& d) {
    expect_rect(d.client(), 0, 0, 300, 250, "client");
    expect_rect(d.gadget_rect(HEADING), 0, 4, 300, 30, "heading");
    expect_rect(d.gadget_rect(FRAME), 6, 42, 288, 178, "frame");
    expect_rect(d.gadget_rect(SUBHEADING), 0, 37, 300, 20, "subheading");
    expect_rect(d.gadget_rect(BODY), 15, 65, 270, 130, "body ends above the link buttons");
    expect_rect(d.gadget_rect(WEB), 55, 197, 90, 20, "web button");
    expect_rect(d.gadget_rect(EMAIL), 155, 197, 90, 20, "email button");
    expect_rect(d.gadget_rect(OK), 125, 223, 50, 23, "OK");
    expect_rect(d.gadget_rect(PICTURE), 4, 4, 32, 32, "picture");
    expect_font(d, HEADING, 16, true, true);
    expect_font(d, SUBHEADING, 9, true, false);
    expect_font(d, BODY, 9, false, false);
    expect_font(d, WEB, 8, false, false);
    expect_font(d, EMAIL, 8, false, false);
    expect_font(d, OK, 9, false, false);
    char text[32] = {};
    GetWindowTextA(d.gadget(WEB), text, sizeof text);
    EXPECT_STREQ(text, "Visit Web Site");
    GetWindowTextA(d.gadget(EMAIL), text, sizeof text);
    EXPECT_STREQ(text, "Email Us");
    save_screenshot(d.window, "about");
    click_gadget(d, OK);
  });
  EXPECT_EQ(answer, "OK");
  DeleteFileA(icon.c_str());
}

TEST_F(About, OneAddressNoneAndAnOddWidth) {
  EXPECT_EQ(run("", "https://example.org", "", [](Dialog& d) {
              expect_rect(d.gadget_rect(WEB), 105, 197, 90, 20, "web alone");
              EXPECT_EQ(d.gadget(EMAIL), nullptr);
              EXPECT_EQ(d.gadget(PICTURE), nullptr) << "a picture without a file";
              click_gadget(d, OK);
            }),
            "OK");
  EXPECT_EQ(run("", "", "help@example.org", [](Dialog& d) {
              expect_rect(d.gadget_rect(EMAIL), 105, 197, 90, 20, "e-mail alone");
              EXPECT_EQ(d.gadget(WEB), nullptr);
              click_gadget(d, OK);
            }),
            "OK");
  EXPECT_EQ(run("", "", "", [](Dialog& d) {
              EXPECT_EQ(d.gadget(WEB), nullptr);
              EXPECT_EQ(d.gadget(EMAIL), nullptr);
              expect_rect(d.gadget_rect(OK), 125, 223, 50, 23, "OK");
              expect_rect(d.gadget_rect(BODY), 15, 65, 270, 152, "body ends inside the frame");
              click_gadget(d, OK);
            }),
            "OK");
  // 301 / 2 is 150: the buttons stand where they stand at 300.
  EXPECT_EQ(run("", "https://example.org", "help@example.org", [](Dialog& d) {
              expect_rect(d.gadget_rect(HEADING), 0, 4, 301, 30, "heading");
              expect_rect(d.gadget_rect(WEB), 55, 197, 90, 20, "web");
              expect_rect(d.gadget_rect(EMAIL), 155, 197, 90, 20, "e-mail");
              expect_rect(d.gadget_rect(OK), 125, 223, 50, 23, "OK");
              click_gadget(d, OK);
            }, "301"),
            "OK");
}

// The picture takes its image's size; a file that is no picture shows none
// and changes nothing else.
TEST_F(About, PicturesGoodAndBad) {
  struct Case {
    const char* name;
    std::vector<unsigned char> bytes;
    int size;  // 0: no picture
  };
  std::vector<unsigned char> truncated = bitmap_file(32, 32);
  truncated.resize(truncated.size() / 2);
  const Case cases[] = {
      {"vantrel_48.ico", icon_file(48), 48},
      {"vantrel_24.bmp", bitmap_file(32, 32), 32},
      {"vantrel_empty.bmp", {}, 0},
      {"vantrel_truncated.bmp", truncated, 0},
      {"vantrel_lying.bmp", bitmap_file(4, 4, 30000, 30000), 0},
      {"vantrel_rle8.bmp", rle8_file(6), 1},
      {"vantrel_rle8_lying.bmp", rle8_file(0x10000000), 0},
      {"vantrel_text.ico", {'n', 'o', ' ', 'p', 'i', 'c', 't', 'u', 'r', 'e'}, 0},
      // An icon directory whose one image lies far outside the file, and one that claims 65,535 images.
      {"vantrel_lying.ico", {0, 0, 1, 0, 1, 0, 48, 48, 0, 0, 1, 0, 32, 0, 0xFF, 0xFF, 0xFF, 0x7F, 0, 0xFF, 0xFF, 0xFF}, 0},
      {"vantrel_many.ico", {0, 0, 1, 0, 0xFF, 0xFF}, 0},
  };
  for (const Case& c : cases) {
    std::string path = temp_path(c.name);
    write_file(path, c.bytes);
    EXPECT_EQ(run(path.c_str(), "", "", [&](Dialog& d) {
                if (c.size) {
                  expect_rect(d.gadget_rect(PICTURE), 4, 4, c.size, c.size, c.name);
                  if (c.size == 48) save_screenshot(d.window, "about_picture_48");
                } else {
                  EXPECT_EQ(d.gadget(PICTURE), nullptr) << c.name;
                }
                expect_rect(d.gadget_rect(OK), 125, 223, 50, 23, "OK");
                EXPECT_NE(d.gadget(BODY), nullptr);
                click_gadget(d, OK);
              }),
              "OK")
        << c.name;
    DeleteFileA(path.c_str());
  }
  EXPECT_EQ(run("C:\\no\\such\\picture.ico", "", "", [](Dialog& d) {
              EXPECT_EQ(d.gadget(PICTURE), nullptr);
              click_gadget(d, OK);
            }),
            "OK");
}

TEST_F(About, OnlyItsButtonsEndIt) {
  EXPECT_EQ(run("", "", "", [](Dialog& d) {
              PostMessageA(d.window, WM_CLOSE, 0, 0);
              settle(d);
              SetForegroundWindow(d.window);
              press_key(VK_F4, false, true);
              press_key(VK_ESCAPE);
              settle(d);
              EXPECT_TRUE(IsWindowVisible(d.window)) << "closed without its buttons";
              EXPECT_EQ(current_dialog(), d.window);
              click_gadget(d, OK);
            }),
            "OK");
}

namespace {

std::string record_path() { return temp_path("vantrel_shell_record.txt"); }

std::string recorded() {
  std::ifstream in(record_path(), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The test prefix sends http, https and mailto to the recording program.
void register_recorder() {
  std::string command = "\"";
  command.append(beside_program("console_tool.exe")).append("\" record \"%1\"");
  for (const char* scheme : {"http", "https", "mailto"}) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, scheme, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, "URL Protocol", 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 1);
    RegCloseKey(key);
    std::string open = std::string(scheme) + "\\shell\\open\\command";
    ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, open.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()), DWORD(command.size() + 1));
    RegCloseKey(key);
  }
}

}  // namespace

// The buttons hand their addresses to the shell, which starts the program
// registered for them: the web address as given, the mail as "mailto:" and
// the address.
TEST_F(About, TheButtonsReachTheShell) {
  register_recorder();
  DeleteFileA(record_path().c_str());
  const char* web = "https://example.org/vantrel?from=about&v=1";
  EXPECT_EQ(run("", web, "help@example.org", [](Dialog& d) { click_gadget(d, WEB); }), "Web");
  ASSERT_TRUE(wait_until([] { return recorded().find('\n') != std::string::npos; }, 15000)) << "nothing reached the shell";
  EXPECT_EQ(recorded().substr(0, recorded().find("|dir=")), web);

  DeleteFileA(record_path().c_str());
  EXPECT_EQ(run("", web, "help@example.org", [](Dialog& d) { click_gadget(d, EMAIL); }), "Email");
  ASSERT_TRUE(wait_until([] { return recorded().find('\n') != std::string::npos; }, 15000)) << "nothing reached the shell";
  EXPECT_EQ(recorded().substr(0, recorded().find("|dir=")), "mailto:help@example.org");
  DeleteFileA(record_path().c_str());
}

// Through the wide export, addresses outside the ANSI code page reach the
// shell whole.
TEST_F(About, UnicodeAddressesReachTheShellWhole) {
  using ShowW10 = const wchar_t*(__stdcall*)(const wchar_t*, const wchar_t*, const wchar_t*, const wchar_t*,
                                             const wchar_t*, const wchar_t*, const wchar_t*, const wchar_t*,
                                             const wchar_t*, const wchar_t*);
  auto show_wide = shared_library().get<ShowW10>("ShowAboutW");
  ASSERT_NE(show_wide, nullptr);
  register_recorder();
  const wchar_t* web = L"https://\x043F\x0440\x0438\x043C\x0435\x0440.\x0440\x0444/\x6771\x4EAC?q=\x03A9";
  const wchar_t* mail = L"\x0438\x043C\x044F@\x043F\x0440\x0438\x043C\x0435\x0440.\x0440\x0444";
  const std::string web_utf8 = "https://\xD0\xBF\xD1\x80\xD0\xB8\xD0\xBC\xD0\xB5\xD1\x80.\xD1\x80\xD1\x84/"
                               "\xE6\x9D\xB1\xE4\xBA\xAC?q=\xCE\xA9";
  const std::string mail_utf8 = "mailto:\xD0\xB8\xD0\xBC\xD1\x8F@\xD0\xBF\xD1\x80\xD0\xB8\xD0\xBC\xD0\xB5"
                                "\xD1\x80.\xD1\x80\xD1\x84";
  for (int button : {WEB, EMAIL}) {
    DeleteFileA(record_path().c_str());
    std::wstring answer;
    run_dialog(
        [&] {
          answer = show_wide(L"About", L"Vantrel", L"", L"", L"", web, mail, L"300", L"250", L"0");
          return "";
        },
        [&](Dialog& d) { click_gadget(d, button); }, nullptr, current_dialog());
    EXPECT_EQ(answer, button == WEB ? L"Web" : L"Email");
    ASSERT_TRUE(wait_until([] { return recorded().find('\n') != std::string::npos; }, 15000)) << "nothing reached the shell";
    EXPECT_EQ(recorded().substr(0, recorded().find("|dir=")), button == WEB ? web_utf8 : mail_utf8);
  }
  DeleteFileA(record_path().c_str());
}

namespace {

std::string class_of(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

}  // namespace

// A body longer than the box can show stays inside the frame, above the
// buttons, and scrolls; a short one is plain text as before.
TEST_F(About, ALongBodyScrollsAboveTheButtons) {
  std::string body;
  for (int i = 1; i <= 40; ++i) body += "Line " + std::to_string(i) + " of a body that is far too long.\n";
  EXPECT_EQ(run("", "https://example.org", "help@example.org", [&](Dialog& d) {
              RECT r = d.gadget_rect(BODY);
              EXPECT_LE(r.bottom, d.gadget_rect(WEB).top) << "the body runs under the link buttons";
              EXPECT_LE(r.bottom, d.gadget_rect(FRAME).bottom) << "the body runs out of the frame";
              EXPECT_EQ(r.left, 15);
              EXPECT_EQ(r.top, 65);
              EXPECT_EQ(r.right - r.left, 270);
              EXPECT_TRUE(GetWindowLongA(d.gadget(BODY), GWL_STYLE) & WS_VSCROLL) << "a long body that cannot scroll";
              EXPECT_EQ(class_of(d.gadget(BODY)), "Edit");
              char first[7] = {};
              GetWindowTextA(d.gadget(BODY), first, sizeof first);
              EXPECT_STREQ(first, "Line 1");
              save_screenshot(d.window, "about_long_body");
              click_gadget(d, OK);
            }, "300", "250", body.c_str()),
            "OK");
  EXPECT_EQ(run("", "", "", [&](Dialog& d) {
              EXPECT_EQ(class_of(d.gadget(BODY)), "Static") << "a short body changed its look";
              EXPECT_LE(d.gadget_rect(BODY).bottom, d.gadget_rect(FRAME).bottom);
              click_gadget(d, OK);
            }),
            "OK");
}

// A web address reaches the shell's handler for web addresses, never the
// program starter: neither an address that names a program nor a bare
// "www.example.com" beside a program of that name runs anything.
TEST_F(About, AWebAddressNeverRunsAProgram) {
  register_recorder();
  std::string lookalike = beside_program("www.example.com");
  ASSERT_TRUE(CopyFileA(beside_program("console_tool.exe").c_str(), lookalike.c_str(), FALSE));
  struct Case {
    std::string address;
    std::string reaches;  // what the web handler gets
  };
  std::string program = beside_program("console_tool.exe"), escaped_program;
  for (char c : program) escaped_program += c == '\\' ? std::string("%5C") : std::string(1, c);
  const Case cases[] = {
      {"www.example.com", "http://www.example.com"},
      {program, "http://" + escaped_program},
      {"  https://example.org/a&b  ", "https://example.org/a&b"},
      {"file:///C:/windows/notepad.exe", "http://file:///C:/windows/notepad.exe"},
  };
  for (const Case& c : cases) {
    DeleteFileA(record_path().c_str());
    EXPECT_EQ(run("", c.address.c_str(), "", [](Dialog& d) { click_gadget(d, WEB); }), "Web");
    ASSERT_TRUE(wait_until([] { return recorded().find('\n') != std::string::npos; }, 15000)) << c.address;
    Sleep(500);  // anything that ran beside the handler has recorded too
    std::string lines = recorded();
    EXPECT_EQ(lines.substr(0, lines.find("|dir=")), c.reaches) << c.address;
    EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 1) << lines;
    EXPECT_EQ(lines.find("started|"), std::string::npos) << "the program named by the address ran";
  }
  DeleteFileA(lookalike.c_str());
  DeleteFileA(record_path().c_str());
}

// Addresses no one should pass still reach the shell's handler for their
// kind, each once, and never run a program: quotes, blanks, "&", a program
// line, and the longest address the library hands on (800 characters).
// Longer ones go nowhere, and the button still answers.
TEST_F(About, OddAddressesReachTheShellOnce) {
  register_recorder();
  const std::string longest = "https://example.org/" + std::string(800 - 20 - 7, 'a');  // "mailto:" too
  const std::string cases[] = {
      "\"https://example.org/quoted\"", "https://example.org/a b c", "https://example.org/?a=1&b=2&&c",
      "cmd.exe /c echo hello", "\"C:\\windows\\notepad.exe\" & calc.exe", longest,
  };
  for (const std::string& address : cases) {
    for (int button : {WEB, EMAIL}) {
      SCOPED_TRACE(address.substr(0, 60) + (button == WEB ? " (web)" : " (mail)"));
      DeleteFileA(record_path().c_str());
      const char* web = button == WEB ? address.c_str() : "";
      const char* mail = button == EMAIL ? address.c_str() : "";
      EXPECT_EQ(run("", web, mail, [&](Dialog& d) { click_gadget(d, button); }), button == WEB ? "Web" : "Email");
      ASSERT_TRUE(wait_until([] { return recorded().find('\n') != std::string::npos; }, 15000)) << "nothing reached the shell";
      Sleep(300);
      std::string lines = recorded();
      EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 1) << lines.substr(0, 200);
      EXPECT_EQ(lines.find("started|"), std::string::npos) << "a program named by the address ran";
    }
  }
  DeleteFileA(record_path().c_str());
}

// An address reaches its handler as one argument: quotes, blanks and
// control characters are percent-encoded, and a mail address goes without
// its query (no subject, body or attachment of the caller's making).
TEST_F(About, AddressesReachTheirHandlerAsOneArgumentAndMailWithoutItsQuery) {
  register_recorder();
  struct Case {
    const char* web;
    const char* mail;
    const char* reaches;
  };
  const Case cases[] = {
      {"https://example.org/a b\" --new-window \"file:///C:/", "", "https://example.org/a%20b%22%20--new-window%20%22file:///C:/"},
      {"https://example.org/tab\there", "", "https://example.org/tab%09here"},
      {"", "help@example.org?attach=C:\\secret.txt&subject=x", "mailto:help@example.org"},
      {"", "\"help@example.org\" --compose", "mailto:%22help@example.org%22%20--compose"},
  };
  for (const Case& c : cases) {
    DeleteFileA(record_path().c_str());
    int button = *c.web ? WEB : EMAIL;
    EXPECT_EQ(run("", c.web, c.mail, [&](Dialog& d) { click_gadget(d, button); }), *c.web ? "Web" : "Email");
    ASSERT_TRUE(wait_until([] { return recorded().find('\n') != std::string::npos; }, 15000)) << c.reaches;
    std::string lines = recorded();
    EXPECT_EQ(lines.substr(0, lines.find("|dir=")), c.reaches);
  }
  DeleteFileA(record_path().c_str());
}

TEST_F(About, AnAddressTooLongForTheShellGoesNowhere) {
  register_recorder();
  for (size_t length : {801, 10000}) {
  const std::string too_long = "https://example.org/" + std::string(length - 20, 'a');
  for (int button : {WEB, EMAIL}) {
    DeleteFileA(record_path().c_str());
    const char* web = button == WEB ? too_long.c_str() : "";
    const char* mail = button == EMAIL ? too_long.c_str() : "";
    EXPECT_EQ(run("", web, mail, [&](Dialog& d) { click_gadget(d, button); }), button == WEB ? "Web" : "Email");
    Sleep(1000);
    EXPECT_EQ(recorded(), "");
  }
  }
}
