#pragma once
// Numbered text files written through a 4096-byte buffer, and the export of
// a list icon gadget (titles and rows, tab-separated) to such a file.
#include <windows.h>

#include <cstdint>

namespace vantrel {

constexpr int32_t FILE_BUFFER_SIZE = 4096;

class FileReplacement;

// The file is written beside the one of its name and takes that one's place
// when it is closed whole (sorter/file_replacement.h).
struct FileRecord {
  HANDLE handle;
  char* buffer;
  int32_t buffer_size;
  int32_t free;
  int32_t untouched;  // 1 until the first buffered write
  int32_t failed;     // 1 once the platform took fewer bytes than given
  FileReplacement* replacement;
};

bool file_library_start();
void file_library_stop();

// For OBJECT_ANY the number chosen, else the platform handle; 0 when the
// file cannot be opened, or when the name holds something other than a
// plain file (a link, a folder, a read-only, hidden or system file).
intptr_t file_create(int32_t number, const char* name);
int32_t file_write(FileRecord* file, const void* data, int32_t length);
int32_t file_write_line(int32_t number, const char* text);
// False when the platform did not take every buffered byte.
bool file_flush(FileRecord* file);
// Flushes and closes the file, which then takes the place of the old one if
// every byte was written; else the old one stays as it was.
void file_close(int32_t number);
// Closes the file and leaves the old one as it was.
void file_discard(int32_t number);
FileRecord* find_file(int32_t number);

// The list's titles and rows as lines ended by CR LF in one zeroed global
// block, or null for a list without rows.
HGLOBAL list_to_text(int32_t gadget);
// 1 when the file was written, else 0.
int32_t sorter_export_to_file(int32_t gadget, const char* file_name);

// A row (in the list's present order) as its owner keeps it: each of its
// first `columns` cells followed by a tab, at p.
using RowReader = const char* (*)(const void* owner, int32_t row, int32_t columns, int32_t p);
// A row written straight into the export's buffer: its line without the
// line end, at most `room` bytes at `at`. The count written, or -1 when the
// row needs more room or holds a line break: it is then read with the reader.
using RowWriter = int32_t (*)(const void* owner, int32_t row, int32_t columns, char* at, int32_t room);
// The export with the rows read from their owner's copy instead of the
// list: the same file, without a message per cell. The writer may be null.
int32_t export_rows_to_file(int32_t gadget, const char* file_name, RowReader read_row, const void* owner,
                            RowWriter write_row = nullptr);
// The text as lines each ended by CR LF, as reading it line by line finds
// them (CR LF, LF CR, a lone CR or LF end a line). False when a write fell short.
bool write_text_lines(FileRecord* file, const char* text, size_t length);

}  // namespace vantrel
