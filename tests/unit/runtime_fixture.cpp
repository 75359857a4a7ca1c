#include "runtime_fixture.h"

#include <commctrl.h>

void RuntimeTest::SetUp() { ASSERT_TRUE(vantrel::start_library(GetModuleHandleA(nullptr))); }

void RuntimeTest::TearDown() {
  vantrel::fail_allocations_after(-1);
  vantrel::stop_library();
}

std::string RuntimeTest::take(int32_t start) {
  std::string text(vantrel::buffer_address_at(start));
  vantrel::set_buffer_position(start);
  return text;
}

void click_list_header(HWND window, HWND list, int32_t column) {
  NMLISTVIEW click = {};
  click.hdr.hwndFrom = list;
  click.hdr.code = LVN_COLUMNCLICK;
  click.iSubItem = column;
  SendMessageA(window, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&click));
}

std::string temp_path(const char* name) {
  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  return std::string(folder) + name;
}
