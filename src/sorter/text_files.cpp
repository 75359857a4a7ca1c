#include "sorter/text_files.h"

#include <cstring>

#include "runtime/heaps.h"
#include "runtime/object_table.h"
#include "runtime/string_functions.h"
#include "runtime/strings.h"
#include "sorter/sorter.h"
#include "ui/gadgets/gadgets.h"

namespace vantrel {
namespace {

ObjectTable* files = nullptr;
size_t reader_position = 0;

// A growable block of text on the general heap.
class TextBlock {
 public:
  TextBlock() = default;
  TextBlock(const TextBlock&) = delete;
  TextBlock& operator=(const TextBlock&) = delete;
  ~TextBlock() { general_free(text_); }
  bool append(const char* text, size_t length) {
    if (!ok_) return false;
    if (length_ + length + 1 > capacity_) {
      size_t capacity = (length_ + length + 1) * 2;
      auto* grown = static_cast<char*>(general_realloc(text_, capacity));
      if (!grown) return ok_ = false;
      text_ = grown;
      capacity_ = capacity;
    }
    memcpy(text_ + length_, text, length);
    length_ += length;
    text_[length_] = 0;
    return true;
  }
  bool append(const char* text) { return append(text, strlen(text)); }
  bool ok() const { return ok_ && text_; }
  const char* text() const { return text_; }
  size_t length() const { return length_; }

 private:
  char* text_ = nullptr;
  size_t length_ = 0, capacity_ = 0;
  bool ok_ = true;
};

bool append_cell(TextBlock* block, int32_t gadget, int32_t row, int32_t column) {
  int32_t p = buffer_position();
  const char* cell = get_gadget_item_text(gadget, row, column, p);
  bool appended = block->append(cell);
  set_buffer_position(p);
  return appended;
}

}  // namespace

bool file_library_start() {
  files = new_object_table(sizeof(FileRecord), 8, file_close);
  return files != nullptr;
}

void file_library_stop() {
  free_all_objects(files, file_close);
  files = nullptr;
}

FileRecord* find_file(int32_t number) { return find_record<FileRecord>(files, number); }

intptr_t file_create(int32_t number, const char* name) {
  HANDLE handle = CreateFileA(text_or_empty(name), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE)
    handle = CreateFileA(text_or_empty(name), GENERIC_WRITE, FILE_SHARE_READ, nullptr, TRUNCATE_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return 0;
  auto* buffer = static_cast<char*>(general_alloc(FILE_BUFFER_SIZE));
  int32_t chosen = 0;
  auto* record = buffer ? static_cast<FileRecord*>(create_object(files, number, &chosen)) : nullptr;
  if (!record) {
    general_free(buffer);
    CloseHandle(handle);
    return 0;
  }
  *record = {handle, buffer, FILE_BUFFER_SIZE, FILE_BUFFER_SIZE, 1};
  return number == OBJECT_ANY ? intptr_t(chosen) : reinterpret_cast<intptr_t>(handle);
}

bool file_flush(FileRecord* file) {
  if (!file || file->untouched) return true;
  DWORD count = DWORD(file->buffer_size - file->free), written = 0;
  bool whole = count == 0 || (WriteFile(file->handle, file->buffer, count, &written, nullptr) && written == count);
  file->free = file->buffer_size;
  return whole;
}

int32_t file_write(FileRecord* file, const void* data, int32_t length) {
  if (!file || length <= 0) return 0;
  if (file->untouched) {
    file->untouched = 0;
    file->free = file->buffer_size;
  }
  if (length < file->free) {
    memcpy(file->buffer + (file->buffer_size - file->free), data, size_t(length));
    file->free -= length;
    return length;
  }
  file_flush(file);
  if (length >= file->buffer_size) {
    DWORD written = 0;
    WriteFile(file->handle, data, DWORD(length), &written, nullptr);
    return int32_t(written);
  }
  memcpy(file->buffer, data, size_t(length));
  file->free -= length;
  return length;
}

int32_t file_write_line(int32_t number, const char* text) {
  FileRecord* file = find_file(number);
  if (!file) return 0;
  int32_t written = file_write(file, text_or_empty(text), text_length(text));
  return written + file_write(file, "\r\n", 2);
}

void file_close(int32_t number) {
  FileRecord* file = find_file(number);
  if (!file) return;
  file_flush(file);
  general_free(file->buffer);
  CloseHandle(file->handle);
  free_object(files, number);
}

HGLOBAL list_to_text(int32_t gadget) {
  int32_t rows = count_gadget_items(gadget);
  if (rows <= 0) return nullptr;
  int32_t columns = sorter_column_count(gadget);
  HWND list = gadget_handle(gadget);
  TextBlock block;
  for (int32_t column = 0; column < columns; ++column) {
    if (column) block.append("\t", 1);
    int32_t p = buffer_position();
    block.append(get_column_title(list, column, p));
    set_buffer_position(p);
  }
  block.append("\r\n", 2);
  for (int32_t row = 0; row < rows && block.ok(); ++row) {
    for (int32_t column = 0; column < columns; ++column) {
      append_cell(&block, gadget, row, column);
      block.append("\t", 1);
    }
    block.append("\r\n", 2);  // the column after the last reads as "": nothing more to write
  }
  if (!block.ok()) return nullptr;
  HGLOBAL text = GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, block.length() + 1);
  if (text) memcpy(text, block.text(), block.length());
  return text;
}

const char* read_text_line(const char* text, int restart, int32_t p) {
  const char* c = text_or_empty(text);
  if (restart) reader_position = 0;
  size_t start = reader_position, end = start;
  while (c[end] && c[end] != '\r' && c[end] != '\n') ++end;
  size_t next = end;
  if (c[next]) {
    char first = c[next++];
    if (c[next] && first + c[next] == 23) ++next;  // CR LF or LF CR
  }
  reader_position = next;
  // Copied by its own length: measuring the rest of a large text for every
  // line would make reading it quadratic.
  int32_t length = int32_t(end - start);
  char* at = buffer_reserve(length, p);
  if (!at) {
    buffer_terminate();
    return buffer_address_at(buffer_position());
  }
  memcpy(at, c + start, size_t(length));
  at[length] = 0;
  return at;
}

int32_t sorter_export_to_file(int32_t gadget, const char* file_name) {
  if (!is_gadget(gadget)) return 0;
  int32_t file = int32_t(file_create(OBJECT_ANY, file_name));
  if (!file) return 0;
  HGLOBAL block = list_to_text(gadget);
  if (!block) {
    file_close(file);  // an empty list leaves an empty file
    return 0;
  }
  // Every rendered line is written: a cell that holds line breaks makes
  // empty lines inside the block, and the rows after them must not be lost.
  auto* text = static_cast<const char*>(block);
  size_t length = strlen(text);
  bool first = true;
  while (reader_position < length || first) {
    int32_t p = buffer_position();
    file_write_line(file, read_text_line(text, first, p));
    set_buffer_position(p);
    first = false;
  }
  GlobalFree(block);
  bool written = file_flush(find_file(file));
  file_close(file);
  return written ? 1 : 0;
}

}  // namespace vantrel
