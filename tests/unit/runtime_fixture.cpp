#include "runtime_fixture.h"

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

std::string temp_path(const char* name) {
  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  return std::string(folder) + name;
}
