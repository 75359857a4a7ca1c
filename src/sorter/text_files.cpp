#include "sorter/text_files.h"

#include <cstring>
#include <new>

#include "runtime/heaps.h"
#include "runtime/object_table.h"
#include "runtime/string_functions.h"
#include "runtime/strings.h"
#include "runtime/text_code_page.h"
#include "sorter/file_replacement.h"
#include "sorter/line_reader.h"
#include "sorter/sorter.h"
#include "ui/gadgets/gadgets.h"

namespace vantrel {
namespace {

ObjectTable* files = nullptr;

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

// Text on its way to a file, cut into lines as the line reader finds them
// (CR LF, LF CR, a lone CR or a lone LF), each written with CR LF. It goes
// out through a small buffer: a large block of fresh memory costs more than
// the write itself.
class LineWriter {
 public:
  explicit LineWriter(FileRecord* file)
      : file_(file), buffer_(static_cast<char*>(general_alloc(CAPACITY))), ok_(file && buffer_) {}
  ~LineWriter() { general_free(buffer_); }
  LineWriter(const LineWriter&) = delete;
  LineWriter& operator=(const LineWriter&) = delete;

  bool append(const char* text, size_t length) {
    size_t at = 0;
    while (at < length && ok_) {
      if (pending_) {
        bool pair = pending_ + text[at] == '\r' + '\n';
        pending_ = 0;
        end_line();
        if (pair) ++at;
        continue;
      }
      size_t run = next_line_break(text, at, length);
      put(text + at, run - at);
      if (run < length) pending_ = text[run++];
      at = run;
    }
    if (length) ended_ = text[length - 1] == '\r' || text[length - 1] == '\n';
    return ok_;
  }
  bool append(const char* text) { return append(text, strlen(text)); }
  bool ok() const { return ok_; }

  // A line its writer puts straight into the buffer, ended here; false when
  // the writer could not (it then goes through append).
  bool write_line(RowWriter write_row, const void* owner, int32_t row, int32_t columns) {
    if (!ok_ || pending_) return false;
    for (int attempt = 0; attempt < 2; ++attempt) {
      if (attempt) flush();
      int32_t room = int32_t(CAPACITY - used_) - 2;
      int32_t written = room > 0 ? write_row(owner, row, columns, buffer_ + used_, room) : -1;
      if (written >= 0) {
        used_ += size_t(written);
        memcpy(buffer_ + used_, "\r\n", 2);
        used_ += 2;
        ended_ = true;
        return true;
      }
      if (used_ == 0) break;  // a fresh buffer is too small or the row has a line break
    }
    return false;
  }

  // The last line ends too; a text without any is one empty line.
  bool finish() {
    if (pending_ || !ended_) end_line();
    pending_ = 0;
    flush();
    return ok_;
  }

 private:
  static constexpr size_t CAPACITY = 65536;
  void end_line() { put("\r\n", 2); }
  void put(const char* text, size_t length) {
    while (length && ok_) {
      if (used_ == CAPACITY) flush();
      size_t piece = CAPACITY - used_ < length ? CAPACITY - used_ : length;
      memcpy(buffer_ + used_, text, piece);
      used_ += piece;
      text += piece;
      length -= piece;
    }
  }
  void flush() {
    if (ok_ && used_) ok_ = file_write(file_, buffer_, int32_t(used_)) == int32_t(used_);
    used_ = 0;
  }

  FileRecord* file_;
  char* buffer_;
  size_t used_ = 0;
  char pending_ = 0;  // a CR or LF whose partner may come next
  bool ended_ = false;
  bool ok_;
};

const char* read_gadget_row(const void* owner, int32_t row, int32_t columns, int32_t p) {
  int32_t gadget = *static_cast<const int32_t*>(owner);
  set_buffer_position(p);
  buffer_terminate();
  for (int32_t column = 0; column < columns; ++column) {
    get_gadget_item_text(gadget, row, column, buffer_position());
    append_string("\t", buffer_position());
  }
  return buffer_address_at(p);
}

// A row written by its owner straight into the file's lines; a block of
// text always takes rows through the reader.
bool write_straight(TextBlock*, RowWriter, const void*, int32_t, int32_t) { return false; }
bool write_straight(LineWriter* lines, RowWriter write_row, const void* owner, int32_t row, int32_t columns) {
  return write_row && lines->write_line(write_row, owner, row, columns);
}

// The titles joined by tabs, then per row each cell followed by a tab; CR LF
// after every line. False for a list without rows.
template <typename Sink>
bool render_rows(int32_t gadget, RowReader read_row, const void* owner, Sink* sink, RowWriter write_row = nullptr) {
  int32_t rows = count_gadget_items(gadget);
  if (rows <= 0) return false;
  int32_t columns = sorter_column_count(gadget);
  HWND list = gadget_handle(gadget);
  for (int32_t column = 0; column < columns; ++column) {
    if (column) sink->append("\t", 1);
    int32_t p = buffer_position();
    sink->append(get_column_title(list, column, p));
    set_buffer_position(p);
  }
  sink->append("\r\n", 2);
  for (int32_t row = 0; row < rows && sink->ok(); ++row) {
    if (write_straight(sink, write_row, owner, row, columns)) continue;
    int32_t p = buffer_position();
    sink->append(read_row(owner, row, columns, p));
    set_buffer_position(p);
    sink->append("\r\n", 2);  // the column after the last reads as "": nothing more to write
  }
  return sink->ok();
}

}  // namespace

bool write_text_lines(FileRecord* file, const char* text, size_t length) {
  LineWriter lines(file);
  lines.append(text, length);
  return lines.finish();
}

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
  WideText path(name);
  auto* replacement = new (std::nothrow) FileReplacement;
  if (!replacement || !replacement->begin(path.get())) {
    delete replacement;
    return 0;
  }
  auto* buffer = static_cast<char*>(general_alloc(FILE_BUFFER_SIZE));
  int32_t chosen = 0;
  auto* record = buffer ? static_cast<FileRecord*>(create_object(files, number, &chosen)) : nullptr;
  if (!record) {
    general_free(buffer);
    delete replacement;
    return 0;
  }
  *record = {replacement->handle(), buffer, FILE_BUFFER_SIZE, FILE_BUFFER_SIZE, 1, 0, replacement};
  return number == OBJECT_ANY ? intptr_t(chosen) : reinterpret_cast<intptr_t>(record->handle);
}

bool file_flush(FileRecord* file) {
  if (!file || file->untouched) return true;
  DWORD count = DWORD(file->buffer_size - file->free), written = 0;
  bool whole = count == 0 || (WriteFile(file->handle, file->buffer, count, &written, nullptr) && written == count);
  file->free = file->buffer_size;
  if (!whole) file->failed = 1;
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
    if (!WriteFile(file->handle, data, DWORD(length), &written, nullptr) || written != DWORD(length)) file->failed = 1;
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

namespace {

// Closes the file; with `keep`, it takes the old one's place if it is whole.
// True when it did.
bool finish_file(int32_t number, bool keep) {
  FileRecord* file = find_file(number);
  if (!file) return false;
  keep = file_flush(file) && keep && !file->failed;
  general_free(file->buffer);
  FileReplacement* replacement = file->replacement;
  bool replaced = keep ? replacement->commit() : (replacement->abandon(), false);
  delete replacement;
  free_object(files, number);
  return replaced;
}

}  // namespace

void file_close(int32_t number) { finish_file(number, true); }

void file_discard(int32_t number) { finish_file(number, false); }

HGLOBAL list_to_text(int32_t gadget) {
  TextBlock block;
  if (!render_rows(gadget, read_gadget_row, &gadget, &block)) return nullptr;
  HGLOBAL text = GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, block.length() + 1);
  if (text) memcpy(text, block.text(), block.length());
  return text;
}

int32_t export_rows_to_file(int32_t gadget, const char* file_name, RowReader read_row, const void* owner,
                            RowWriter write_row) {
  if (!is_gadget(gadget)) return 0;
  int32_t file = int32_t(file_create(OBJECT_ANY, file_name));
  if (!file) return 0;
  // Every line is written: a cell that holds line breaks makes empty lines,
  // and the rows after them must not be lost. An empty list leaves an empty
  // file. UTF-8 lines say so with a byte-order mark first.
  bool has_rows = count_gadget_items(gadget) > 0;
  if (text_code_page() == CODE_PAGE_UTF8 && has_rows) file_write(find_file(file), "\xEF\xBB\xBF", 3);
  bool written = false;
  uint32_t failures_before = allocation_failures();
  {
    LineWriter lines(find_file(file));
    written = render_rows(gadget, read_row, owner, &lines, write_row) && lines.finish();
  }
  // A cell read while memory ran out reads as "": the rows are not whole.
  written = written && allocation_failures() == failures_before;
  // A file cut short must not take the old one's place; an empty list
  // leaves an empty one.
  if (has_rows && !written) {
    file_discard(file);
    return 0;
  }
  return finish_file(file, true) && written ? 1 : 0;
}

int32_t sorter_export_to_file(int32_t gadget, const char* file_name) {
  return export_rows_to_file(gadget, file_name, read_gadget_row, &gadget);
}

}  // namespace vantrel
