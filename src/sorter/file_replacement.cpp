#include "sorter/file_replacement.h"

#include <cwchar>

#include "runtime/heaps.h"

namespace vantrel {
namespace {

// Not ours to replace: what a link or a folder leads to, a device, and files
// that someone marked as kept (read-only) or as the system's own.
constexpr DWORD UNTOUCHABLE = FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE |
                              FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

wchar_t* copy_of(const wchar_t* text, size_t extra) {
  size_t length = wcslen(text);
  auto* copy = static_cast<wchar_t*>(general_alloc_array(length + extra + 1, sizeof(wchar_t)));
  if (copy) wmemcpy(copy, text, length + 1);
  return copy;
}

// The name of the new file: the target's with a suffix no one else makes.
constexpr size_t SUFFIX_ROOM = 32;
wchar_t* append_hex(wchar_t* at, unsigned long value) {
  wchar_t digits[16];
  int count = 0;
  do {
    digits[count++] = L"0123456789abcdef"[value & 15];
    value >>= 4;
  } while (value);
  while (count) *at++ = digits[--count];
  return at;
}
void name_temporary(wchar_t* temporary, size_t target_length) {
  static volatile LONG made = 0;
  wchar_t* at = temporary + target_length;
  *at++ = L'.';
  at = append_hex(at, GetCurrentProcessId());
  *at++ = L'-';
  at = append_hex(at, unsigned(InterlockedIncrement(&made)) ^ (GetTickCount() << 12));
  wmemcpy(at, L".tmp", 5);
}

}  // namespace

bool may_replace(const wchar_t* path) {
  DWORD attributes = GetFileAttributesW(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) return GetLastError() == ERROR_FILE_NOT_FOUND;
  if (attributes & UNTOUCHABLE) return false;
  // The name itself, not what it may lead to, and only a file on a disk.
  HANDLE file = CreateFileW(path, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION information = {};
  bool plain = GetFileType(file) == FILE_TYPE_DISK && GetFileInformationByHandle(file, &information) &&
               !(information.dwFileAttributes & UNTOUCHABLE);
  CloseHandle(file);
  return plain;
}

FileReplacement::~FileReplacement() { abandon(); }

bool FileReplacement::begin(const wchar_t* target) {
  abandon();
  if (!target || !*target || !may_replace(target)) return false;
  size_t length = wcslen(target);
  target_ = copy_of(target, 0);
  temporary_ = copy_of(target, SUFFIX_ROOM);
  if (!target_ || !temporary_) {
    abandon();
    return false;
  }
  // A new name each time, made only if nothing stands there: nothing
  // planted at it can be followed.
  for (unsigned attempt = 0; attempt < 8 && handle_ == INVALID_HANDLE_VALUE; ++attempt) {
    name_temporary(temporary_, length);
    handle_ = CreateFileW(temporary_, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle_ == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) break;
  }
  if (handle_ != INVALID_HANDLE_VALUE) return true;
  abandon();
  return false;
}

bool FileReplacement::commit() {
  if (handle_ == INVALID_HANDLE_VALUE) return false;
  bool written = FlushFileBuffers(handle_) != FALSE;
  CloseHandle(handle_);
  handle_ = INVALID_HANDLE_VALUE;
  // What stands at the name is looked at again: it may have changed while
  // the file was written. A rename replaces the name, never what it leads to.
  bool replaced = written && may_replace(target_) &&
                  MoveFileExW(temporary_, target_, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  if (replaced) temporary_[0] = 0;  // it has taken the old file's place: nothing to remove
  abandon();
  return replaced;
}

void FileReplacement::abandon() {
  if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  handle_ = INVALID_HANDLE_VALUE;
  if (temporary_ && *temporary_) DeleteFileW(temporary_);
  general_free(temporary_);
  general_free(target_);
  temporary_ = target_ = nullptr;
}

}  // namespace vantrel
