#pragma once
// A file written in full beside the one it replaces, then put in its place
// in one step: a reader never sees it half-written, a failure leaves the old
// file as it was, and nothing is ever written through a link planted at the
// name. What stands at the name must be a plain file (or nothing): a link,
// a folder, a device, or a read-only, hidden or system file is left alone.
#include <windows.h>

namespace vantrel {

class FileReplacement {
 public:
  FileReplacement() = default;
  ~FileReplacement();  // an unfinished replacement is abandoned
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;

  // Opens the new file beside `target` for writing; false (and nothing
  // made) when the name holds something that is not to be replaced, or the
  // folder takes no new file.
  bool begin(const wchar_t* target);
  HANDLE handle() const { return handle_; }
  // Puts the new file in the old one's place; false, with the old file as
  // it was and the new one gone, when that cannot be done.
  bool commit();
  // Removes the new file; the old one stays.
  void abandon();

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
  wchar_t* target_ = nullptr;
  wchar_t* temporary_ = nullptr;
};

// True when nothing stands at `path` or a plain file that may be replaced.
bool may_replace(const wchar_t* path);

}  // namespace vantrel
