// Reads into room of a fixed size, with texts exactly at the limit and one
// past it: the text comes back whole (or cut at the limit), and not one
// byte past the room is written. The bytes after the room in the shared
// buffer are filled with a canary before each read and checked after it.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "runtime_fixture.h"
#include "ui/gadgets/gadgets.h"
#include "ui/gadgets/kinds.h"
#include "ui/windows/windows.h"

using namespace vantrel;

namespace {

constexpr unsigned char CANARY = 0xCD;
constexpr int32_t CANARY_SPAN = 64;

// The shared buffer from `at`: `room` bytes the read may use, then a canary.
class GuardedRoom {
 public:
  GuardedRoom(int32_t at, int32_t room) : at_(at), room_(room) {
    char* block = buffer_reserve(room + CANARY_SPAN, at);
    memset(block, CANARY, size_t(room + CANARY_SPAN));
    set_buffer_position(at);
  }
  // The canary after the room is whole (the buffer may have moved: it is looked up again).
  bool intact() const {
    const unsigned char* after = reinterpret_cast<const unsigned char*>(buffer_address_at(at_ + room_));
    for (int32_t i = 0; i < CANARY_SPAN; ++i)
      if (after[i] != CANARY) return false;
    return true;
  }

 private:
  int32_t at_, room_;
};

class Limits : public RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    window = reinterpret_cast<HWND>(open_window(0, 0, 0, 500, 400, "limits", WINDOW_CENTRE_SCREEN));
    begin_gadget_list(window);
  }
  // The text read by `read` at the buffer's position, with its room guarded.
  template <typename Read>
  std::string guarded_read(int32_t room, Read read, bool* intact) {
    int32_t p = buffer_position();
    GuardedRoom guard(p, room);
    read(p);
    *intact = guard.intact();
    return take(p);
  }
  HWND window = nullptr;
};

}  // namespace

// Header titles are read into 4,096 bytes: 4,095 characters and the zero.
TEST_F(Limits, HeaderTitlesAtTheirRoom) {
  constexpr int32_t LIST = 3, ROOM = 4096;
  ASSERT_NE(create_list_icon_gadget(LIST, 5, 5, 490, 300, "First", 100), 0);
  for (int32_t length : {ROOM - 1, ROOM, ROOM + 1}) {
    SCOPED_TRACE(length);
    std::string title(size_t(length), 'T');
    add_gadget_column(LIST, 1, title.c_str(), 50);
    bool intact = false;
    std::string read = guarded_read(ROOM, [&](int32_t p) { get_gadget_item_text(LIST, -1, 1, p); }, &intact);
    EXPECT_TRUE(intact) << "written past the header's room";
    EXPECT_EQ(read, title.substr(0, ROOM - 1));
  }
}

// A cell is read into room for the longest text the list was given and its
// zero: a cell that long comes back whole, in no more room.
TEST_F(Limits, CellsAtTheLongestLength) {
  constexpr int32_t LIST = 3;
  ASSERT_NE(create_list_icon_gadget(LIST, 5, 5, 490, 300, "Name", 200), 0);
  for (int32_t length : {1, 254, 255, 4096, 10000}) {
    SCOPED_TRACE(length);
    std::string text(size_t(length), 'c');
    add_gadget_item(LIST, -1, text.c_str());
    int32_t row = int32_t(SendMessageA(gadget_handle(LIST), LVM_GETITEMCOUNT, 0, 0)) - 1;
    bool intact = false;
    std::string read = guarded_read(length + 1, [&](int32_t p) { get_gadget_item_text(LIST, row, 0, p); }, &intact);
    EXPECT_TRUE(intact) << "written past the longest text's room";
    EXPECT_EQ(read, text);
  }
}

// A line of the editor is read by EM_GETLINE into room for its own length
// (in ANSI bytes), the size word and the zero; a line ended by its break
// comes back without it.
TEST_F(Limits, EditorLinesOfEveryLength) {
  constexpr int32_t EDITOR = 1;
  ASSERT_NE(create_editor_gadget(EDITOR, 5, 5, 490, 300), 0);
  for (int32_t length : {0, 1, 2, 3, 254, 255, 1024, 65534, 65535, 70000}) {
    SCOPED_TRACE(length);
    std::string line(size_t(length), 'e');
    set_gadget_text(EDITOR, (line + "\r" + "next").c_str());
    bool intact = false;
    // Room for a line of double-byte characters: the most the read may take.
    std::string read = guarded_read(length * 2 + 4, [&](int32_t p) { get_gadget_item_text(EDITOR, 0, 0, p); }, &intact);
    EXPECT_TRUE(intact) << "written past the line's room";
    EXPECT_EQ(read, line);
    read = guarded_read(4 * 2 + 4, [&](int32_t p) { get_gadget_item_text(EDITOR, 1, 0, p); }, &intact);
    EXPECT_TRUE(intact);
    EXPECT_EQ(read, "next");
  }
}
