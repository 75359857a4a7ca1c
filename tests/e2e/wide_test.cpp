// The wide exports through real input: Greek, Cyrillic, CJK, Hebrew and an
// emoji given, typed, chosen, sorted, exported and dropped come back whole,
// where the ANSI code page of this prefix (1252) holds none of them.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "harness.h"

using namespace harness;

namespace {

constexpr int OK = 1, CANCEL = 2, TABLE = 3, ABOUT_OK = 4;
using Wide = const wchar_t*;
using Wide4 = Wide(__stdcall*)(Wide, Wide, Wide, Wide);
using Wide5 = Wide(__stdcall*)(Wide, Wide, Wide, Wide, Wide);
using Wide6 = Wide(__stdcall*)(Wide, Wide, Wide, Wide, Wide, Wide);
using Wide10 = Wide(__stdcall*)(Wide, Wide, Wide, Wide, Wide, Wide, Wide, Wide, Wide, Wide);

// Greek, Cyrillic, CJK, Hebrew and a grinning face (a surrogate pair).
const std::wstring greek = L"\x0395\x03BB\x03BB\x03B7\x03BD\x03B9\x03BA\x03AC", cyrillic = L"\x041F\x0440\x0438\x0432\x0435\x0442",
                   cjk = L"\x6771\x4EAC", hebrew = L"\x05E9\x05DC\x05D5\x05DD", emoji = L"\xD83D\xDE00";
const std::wstring every = greek + L" " + cyrillic + L" " + cjk + L" " + hebrew + L" " + emoji;

template <typename Function>
Function wide_export(const char* name) {
  return shared_library().get<Function>(name);
}

// A wide call run as run_dialog runs a call; its own answer.
std::wstring run_wide(const std::function<Wide()>& call, const std::function<void(Dialog&)>& drive) {
  std::wstring answer = L"<null>";
  run_dialog(
      [&]() -> Text {
        Wide text = call();
        if (text) answer = text;
        return "";
      },
      drive, nullptr, current_dialog());
  return answer;
}

std::wstring window_text(HWND window) {
  wchar_t text[512] = {};
  GetWindowTextW(window, text, 512);
  return text;
}

std::wstring cell(const Dialog& d, int row, int column) {
  wchar_t text[512] = {};
  LVITEMW item = {};
  item.iSubItem = column;
  item.pszText = text;
  item.cchTextMax = 512;
  SendMessageW(d.gadget(TABLE), LVM_GETITEMTEXTW, WPARAM(row), reinterpret_cast<LPARAM>(&item));
  return text;
}

std::string utf8(const std::wstring& text) {
  int bytes = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(size_t(bytes), 0);
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), &out[0], bytes, nullptr, nullptr);
  return out;
}

}  // namespace

TEST(Wide, InputKeepsEveryCharacterGivenAndTyped) {
  auto input = wide_export<Wide5>("ShowInputW");
  ASSERT_NE(input, nullptr);
  std::wstring answer = run_wide([&] { return input(greek.c_str(), every.c_str(), L"420", L"200", L"0"); },
                                 [](Dialog& d) {
                                   EXPECT_EQ(window_text(d.window), greek);
                                   save_screenshot(d.window, "wide_input");
                                   click_gadget(d, OK);
                                 });
  EXPECT_EQ(answer, every);
  // Typed with Unicode key input: characters outside the ANSI code page, a pair among them.
  std::wstring typed = cyrillic + emoji + hebrew;
  answer = run_wide([&] { return input(L"Typed", L"", L"300", L"200", L"0"); }, [&](Dialog& d) {
    SetForegroundWindow(d.window);
    settle(d);
    type_unicode(typed);
    settle(d);
    save_screenshot(d.window, "wide_input_typed");
    click_gadget(d, OK);
  });
  EXPECT_EQ(answer, typed);
  answer = run_wide([&] { return input(L"Cancel", every.c_str(), L"300", L"200", L"0"); },
                    [](Dialog& d) { click_gadget(d, CANCEL); });
  EXPECT_EQ(answer, L"CANCEL");
}

// A lone surrogate becomes U+FFFD, and nothing around it is lost.
TEST(Wide, ALoneSurrogateBecomesTheReplacementCharacter) {
  auto input = wide_export<Wide5>("ShowInputW");
  ASSERT_NE(input, nullptr);
  std::wstring broken = L"a" + std::wstring(1, wchar_t(0xD83D)) + L"b" + std::wstring(1, wchar_t(0xDE00)) + cjk;
  std::wstring answer =
      run_wide([&] { return input(L"Broken", broken.c_str(), L"300", L"200", L"0"); }, [](Dialog& d) { click_gadget(d, OK); });
  EXPECT_EQ(answer, L"a\xFFFD" L"b\xFFFD" + cjk);
}

TEST(Wide, ListAndComboAnswerTheChosenItemWhole) {
  auto list = wide_export<Wide5>("ShowListBoxW");
  auto combo = wide_export<Wide5>("ShowComboBoxW");
  ASSERT_TRUE(list && combo);
  std::wstring items = greek + L"|" + cyrillic + L"|" + cjk + L"|" + hebrew + L" " + emoji + L"|";
  std::wstring answer = run_wide([&] { return list(cyrillic.c_str(), items.c_str(), L"240", L"200", L"0"); },
                                 [](Dialog& d) {
                                   EXPECT_EQ(SendMessageW(d.gadget(0), LB_GETCOUNT, 0, 0), 4);
                                   SendMessageW(d.gadget(0), LB_SETCURSEL, 3, 0);
                                   save_screenshot(d.window, "wide_list_box");
                                   click_gadget(d, OK);
                                 });
  EXPECT_EQ(answer, hebrew + L" " + emoji);
  answer = run_wide([&] { return combo(cjk.c_str(), items.c_str(), L"240", L"80", L"0"); }, [](Dialog& d) {
    SendMessageW(d.gadget(0), CB_SETCURSEL, 2, 0);
    click_gadget(d, OK);
  });
  EXPECT_EQ(answer, cjk);
}

TEST(Wide, CalendarAnswersInItsFormat) {
  auto calendar = wide_export<Wide4>("ShowCalW");
  ASSERT_NE(calendar, nullptr);
  std::wstring answer = run_wide([&] { return calendar(hebrew.c_str(), L"29/02/2024", L"EUR", L"0"); }, [](Dialog& d) {
    EXPECT_EQ(window_text(d.window), hebrew);
    click_gadget(d, OK);
  });
  EXPECT_EQ(answer, L"29/02/2024");
}

// The platform's order for the user's locale, letter case aside: what a
// wide table's text columns are sorted by.
bool before(const std::wstring& a, const std::wstring& b) {
  return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) == CSTR_LESS_THAN;
}

TEST(Wide, TableSortsAsThePlatformAndExportsUtf8) {
  auto table = wide_export<Wide6>("ShowMultiListBoxW");
  ASSERT_NE(table, nullptr);
  struct Row {
    std::wstring name, city;
  };
  const std::vector<Row> rows = {
      {L"\x03A9\x03BC\x03AD\x03B3\x03B1", L"\x0391\x03B8\x03AE\x03BD\x03B1"},  // Greek
      {L"\x00E1" L"baco", L"Z\x00FCrich"},
      {L"\x042F\x0431\x043B\x043E\x043A\x043E", L"\x041C\x043E\x0441\x043A\x0432\x0430"},  // Cyrillic, capital
      {L"\x044F\x043C\x0430", L"\x043C\x0438\x043D\x0441\x043A"},                        // small
      {cjk, cjk + L"\x90FD"},
      {hebrew, L"\x05D9\x05E8\x05D5\x05E9\x05DC\x05D9\x05DD"},
      {L"smile " + emoji, L"Berlin"},
      {L"Apple", L"berlin"},
      {L"zebra", L"\x00C1" L"bdera"},
  };
  std::wstring text = L"\x0418\x043C\x044F;\x0413\x043E\x0440\x043E\x0434;|";
  for (const Row& r : rows) text += r.name + L";" + r.city + L";|";
  // Sorted by the second column when ready, stably; then by the first.
  std::vector<int> by_city(rows.size()), by_name(rows.size());
  for (size_t i = 0; i < rows.size(); ++i) by_city[i] = by_name[i] = int(i);
  std::stable_sort(by_city.begin(), by_city.end(), [&](int a, int b) { return before(rows[size_t(a)].city, rows[size_t(b)].city); });
  by_name = by_city;
  std::stable_sort(by_name.begin(), by_name.end(), [&](int a, int b) { return before(rows[size_t(a)].name, rows[size_t(b)].name); });
  DeleteFileA("C:\\Items.txt");
  std::wstring answer = run_wide([&] { return table(greek.c_str(), text.c_str(), L"-1", L"420", L"300", L"0"); },
                                 [&](Dialog& d) {
                                   for (size_t place = 0; place < rows.size(); ++place)
                                     EXPECT_EQ(cell(d, int(place), 2), rows[size_t(by_city[place])].city) << place;
                                   save_screenshot(d.window, "wide_table");
                                   ASSERT_TRUE(click_list_header_to_sort(d, TABLE, 1));
                                   for (size_t place = 0; place < rows.size(); ++place)
                                     EXPECT_EQ(cell(d, int(place), 1), rows[size_t(by_name[place])].name) << place;
                                   click_list_row(d, TABLE, 0);
                                   settle(d);
                                   click_gadget(d, OK);
                                 });
  const Row& first = rows[size_t(by_name[0])];
  EXPECT_EQ(answer, first.name + L"|" + first.city + L"|");
  // UTF-8 with a byte-order mark, in the order shown, the lines as ever:
  // the titles joined by tabs, then each row's cells each followed by one.
  std::string expected = "\xEF\xBB\xBFRow\t" + utf8(L"\x0418\x043C\x044F") + "\t" + utf8(L"\x0413\x043E\x0440\x043E\x0434") + "\r\n";
  for (int row : by_name)
    expected += std::to_string(row + 1) + "\t" + utf8(rows[size_t(row)].name) + "\t" + utf8(rows[size_t(row)].city) + "\t\r\n";
  std::ifstream in("C:\\Items.txt", std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), expected);
}

// Type-to-find on Unicode text, letter case aside.
TEST(Wide, TypingFindsAUnicodeRow) {
  auto table = wide_export<Wide6>("ShowMultiListBoxW");
  ASSERT_NE(table, nullptr);
  std::wstring text = L"Name;N;|\x0391\x03B8\x03AE\x03BD\x03B1;1;|\x0411\x0435\x0440\x043B\x0438\x043D;2;|"
                      L"\x041C\x043E\x0441\x043A\x0432\x0430;3;|";
  std::wstring answer = run_wide([&] { return table(L"Find", text.c_str(), L"1", L"300", L"200", L"0"); },
                                 [](Dialog& d) {
                                   SetForegroundWindow(d.window);
                                   settle(d);
                                   type_unicode(L"\x043C\x043E");  // small letters of "Москва"
                                   settle(d);
                                   click_gadget(d, OK);
                                 });
  EXPECT_EQ(answer, L"\x041C\x043E\x0441\x043A\x0432\x0430");
}

namespace {

// What the shell hands a drop target for 16-bit names.
HDROP make_wide_drop(const std::vector<std::wstring>& names) {
  size_t size = sizeof(DROPFILES) + sizeof(wchar_t);
  for (const std::wstring& n : names) size += (n.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = TRUE;
  auto* at = reinterpret_cast<wchar_t*>(drop + 1);
  for (const std::wstring& n : names) {
    memcpy(at, n.c_str(), (n.size() + 1) * sizeof(wchar_t));
    at += n.size() + 1;
  }
  GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}

}  // namespace

TEST(Wide, DroppedNamesComeBackWhole) {
  auto drop = wide_export<Wide4>("ShowDragnDropW");
  ASSERT_NE(drop, nullptr);
  std::wstring first = L"C:\\" + greek + L".txt", second = L"C:\\" + cjk + L"\\" + emoji + L".png";
  std::wstring answer = run_wide([&] { return drop(cyrillic.c_str(), L"400", L"300", L"0"); }, [&](Dialog& d) {
    PostMessageW(d.gadget(3), WM_DROPFILES, reinterpret_cast<WPARAM>(make_wide_drop({first, second})), 0);
    settle(d);
    EXPECT_EQ(SendMessageW(d.gadget(3), LVM_GETITEMCOUNT, 0, 0), 2);
    save_screenshot(d.window, "wide_drop");
    click_gadget(d, OK);
  });
  EXPECT_EQ(answer, first + L"|" + second + L"|");
  // A real OLE drag from another program, with 16-bit names.
  answer = run_wide([&] { return drop(L"OLE", L"400", L"300", L"0"); }, [&](Dialog& d) {
    RECT list = d.gadget_rect(3);
    POINT target = d.client_to_screen((list.left + list.right) / 2, (list.top + list.bottom) / 2);
    std::string source_program = beside_program("drag_source.exe");  // an ASCII path
    std::wstring command = L"\"" + std::wstring(source_program.begin(), source_program.end()) + L"\" " + std::to_wstring(target.x) + L" " + std::to_wstring(target.y) + L" --wide \"" + first +
                           L"\" \"" + second + L"\"";
    STARTUPINFOW startup = {sizeof startup};
    PROCESS_INFORMATION source = {};
    ASSERT_TRUE(CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &source));
    EXPECT_EQ(WaitForSingleObject(source.hProcess, 30000), WAIT_OBJECT_0);
    CloseHandle(source.hThread);
    CloseHandle(source.hProcess);
    settle(d);
    click_gadget(d, OK);
  });
  EXPECT_EQ(answer, first + L"|" + second + L"|");
}

TEST(Wide, AboutShowsItsTextsAndAPictureAtAUnicodePath) {
  auto about = wide_export<Wide10>("ShowAboutW");
  ASSERT_NE(about, nullptr);
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  std::wstring picture = std::wstring(temp) + cyrillic + cjk + L".bmp";
  ASSERT_TRUE(write_picture(picture));
  std::wstring body = hebrew + L"\n" + every;
  std::wstring answer = run_wide(
      [&] {
        return about(L"About", greek.c_str(), cyrillic.c_str(), picture.c_str(), body.c_str(), L"", L"", L"320", L"260",
                     L"0");
      },
      [&](Dialog& d) {
        EXPECT_EQ(window_text(d.gadget(0)), greek);
        EXPECT_EQ(window_text(d.gadget(1)), cyrillic);
        EXPECT_NE(d.gadget(8), nullptr) << "the picture at a path outside the ANSI code page did not load";
        save_screenshot(d.window, "wide_about");
        click_gadget(d, ABOUT_OK);
      });
  EXPECT_EQ(answer, L"OK");
  DeleteFileW(picture.c_str());
}

// Each wide export keeps a result of its own, apart from its fixed twin's.
TEST(Wide, EachExportKeepsItsOwnResult) {
  auto wide = wide_export<Wide5>("ShowInputW");
  auto fixed = shared_library().get<Show5>("ShowInput");
  ASSERT_TRUE(wide && fixed);
  run_wide([&] { return wide(L"W", cjk.c_str(), L"300", L"200", L"0"); }, [](Dialog& d) { click_gadget(d, OK); });
  run_dialog([&] { return fixed("A", "ansi", "300", "200", "0"); }, [](Dialog& d) { click_gadget(d, OK); }, nullptr,
             current_dialog());
  // A call from another thread while a dialog waits answers the export's last result at once.
  std::wstring from_other;
  std::string fixed_from_other;
  run_wide([&] { return wide(L"W", L"x", L"300", L"200", L"0"); }, [&](Dialog& d) {
    std::thread other([&] {
      from_other = wide(L"ignored", L"", L"1", L"1", L"0");
      fixed_from_other = fixed("ignored", "", "1", "1", "0");
    });
    other.join();
    click_gadget(d, CANCEL);
  });
  EXPECT_EQ(from_other, cjk);
  EXPECT_EQ(fixed_from_other, "ansi");
}
