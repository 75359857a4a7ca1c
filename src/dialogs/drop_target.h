#pragma once
// File drops through OLE: many programs offer their files only through an
// OLE drag, which a window that merely accepts the file-drop message never
// receives. The target takes each drop's file block (CF_HDROP) and hands it
// to the dialog.
#include <windows.h>

namespace vantrel {

// OLE on the calling thread for as long as it lives: the host's own
// initialisation is counted, not changed. A thread that is in another COM
// mode already gets none (`ready` false), and the dialog does without.
class OleSession {
 public:
  OleSession();
  ~OleSession();
  OleSession(const OleSession&) = delete;
  OleSession& operator=(const OleSession&) = delete;
  bool ready() const { return ready_; }

 private:
  bool ready_;
};

using TakeFileBlock = void (*)(HGLOBAL block);

// Registers a drop target on `window` that accepts file lists with the copy
// cursor and hands each dropped block to `take`. The window's gadget revokes
// it when the window goes; `revoke_file_drop_target` does so earlier.
bool register_file_drop_target(HWND window, TakeFileBlock take);
void revoke_file_drop_target(HWND window);

}  // namespace vantrel
