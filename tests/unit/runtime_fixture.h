#pragma once
#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "dialogs/library.h"
#include "runtime/heaps.h"
#include "runtime/strings.h"

// A file of that name in the temporary folder.
std::string temp_path(const char* name);

// A click on column `column`'s header of `list`, as the list tells `window`.
void click_list_header(HWND window, HWND list, int32_t column);

// Every test gets a freshly started runtime, stopped again afterwards.
class RuntimeTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Takes the text produced since `start` into a std::string and rewinds.
  static std::string take(int32_t start);
};
