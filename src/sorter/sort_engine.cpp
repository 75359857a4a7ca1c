#include "sorter/sort_engine.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "runtime/heaps.h"
#include "runtime/string_functions.h"
#include "runtime/strings.h"
#include "ui/gadgets/gadgets.h"
#include "ui/gadgets/kinds.h"

namespace vantrel {
namespace {

SortContext context = {nullptr, SORT_TEXT_NOCASE, 1};

enum class KeyKind { Text, TextCase, Integer, Number, Equal };

KeyKind key_kind(int8_t type) {
  switch (type) {
    case SORT_TEXT_CASE: return KeyKind::TextCase;
    case SORT_INTEGER:
    case SORT_INTEGER64: return KeyKind::Integer;
    case SORT_FLOAT:
    case SORT_DOUBLE:
    case SORT_FILE_SIZE: return KeyKind::Number;
    case SORT_NONE:
    case SORT_CHAR_TABLE:
    case SORT_CALLBACK: return KeyKind::Equal;
    default: return KeyKind::Text;  // the date keys compare as text, letter case ignored
  }
}

// One row's sort key, built once from its text.
struct RowKey {
  int32_t* record;  // the row's item record: its data value is the row's index
  int64_t integer;
  double number;
  char* text;
};

// A number that is no number would break the order: it sorts first.
double ordered(double value) { return std::isnan(value) ? -HUGE_VAL : value; }

// The key's text: the cell itself, or the date key made from it.
const char* key_text(int8_t type, const char* text, int32_t p) {
  switch (type) {
    case SORT_DATE_DMY: return date_key_dmy(text, p);
    case SORT_DATE_MDY: return date_key_mdy(text, p);
    case SORT_DATETIME_DMY: return date_key_dmy_time(text, p);
    case SORT_DATETIME_DMY2: return date_key_dmy2_time(text, p);
    default: return text;
  }
}

bool make_key(int8_t type, const char* text, RowKey* key) {
  switch (type) {
    case SORT_INTEGER: key->integer = parse_integer(text); return true;
    case SORT_INTEGER64: key->integer = parse_integer64(text); return true;
    case SORT_FLOAT: key->number = ordered(parse_float_single(text)); return true;
    case SORT_DOUBLE: key->number = ordered(parse_float(text)); return true;
    case SORT_FILE_SIZE: key->number = ordered(size_value(text)); return true;
    default: break;
  }
  if (key_kind(type) == KeyKind::Equal) return true;
  int32_t p = buffer_position();
  const char* made = key_text(type, text, p);
  size_t size = strlen(made) + 1;
  key->text = static_cast<char*>(general_alloc(size));
  if (key->text) memcpy(key->text, made, size);
  set_buffer_position(p);
  return key->text != nullptr;
}

int compare_keys(KeyKind kind, const RowKey& a, const RowKey& b) {
  switch (kind) {
    case KeyKind::Text: return compare_text(a.text, b.text, 1);
    case KeyKind::TextCase: return compare_text(a.text, b.text, 0);
    case KeyKind::Integer: return a.integer < b.integer ? -1 : a.integer > b.integer ? 1 : 0;
    case KeyKind::Number: return a.number < b.number ? -1 : a.number > b.number ? 1 : 0;
    case KeyKind::Equal: return 0;
  }
  return 0;
}

void free_keys(RowKey* keys, int32_t count) {
  for (int32_t i = 0; i < count; ++i) general_free(keys[i].text);
  general_free(keys);
}

// Reads every row's text in the column (its first 254 characters) and its
// item record in one message per row, and makes its key; null when memory
// runs out or a row has no record yet.
RowKey* read_keys(HWND list, int32_t column, int8_t type, int32_t rows) {
  auto* keys = static_cast<RowKey*>(general_alloc_array(size_t(rows), sizeof(RowKey)));
  if (!keys) return nullptr;
  char text[SORT_TEXT_LIMIT + 1];
  for (int32_t row = 0; row < rows; ++row) {
    text[0] = 0;
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = row;
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    bool read = SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)) != 0;
    text[SORT_TEXT_LIMIT] = 0;
    keys[row].record = reinterpret_cast<int32_t*>(item.lParam);
    if (!read || !keys[row].record || !make_key(type, text, &keys[row])) {
      free_keys(keys, row + 1);
      return nullptr;
    }
  }
  return keys;
}

// The control's comparison: only the places settled beforehand, which each
// row's record holds as its data value.
int CALLBACK compare_places(LPARAM first, LPARAM second, LPARAM) {
  auto* a = reinterpret_cast<const int32_t*>(first);
  auto* b = reinterpret_cast<const int32_t*>(second);
  int32_t pa = a ? a[0] : 0, pb = b ? b[0] : 0;
  return pa < pb ? -1 : pa > pb ? 1 : 0;
}

// Orders the rows stably by key and gives each record its place to come,
// which is also its index once the control has sorted. False when the keys
// could not be read.
bool settle_places(HWND list, int32_t column, int32_t rows) {
  RowKey* keys = read_keys(list, column, context.column_type, rows);
  if (!keys) return false;
  KeyKind kind = key_kind(context.column_type);
  int32_t direction = context.direction;
  std::stable_sort(keys, keys + rows, [kind, direction](const RowKey& a, const RowKey& b) {
    return compare_keys(kind, a, b) * direction < 0;
  });
  for (int32_t place = 0; place < rows; ++place) keys[place].record[0] = place;
  free_keys(keys, rows);
  return true;
}

// Rows that live in their owner's memory: each row's key read once from the
// source, the rows ordered with equal keys keeping their places, and the
// source's order rewritten. The comparisons are today's: text keys as
// _stricmp and strcmp compare them (letter case folded for A to Z only,
// bytes unsigned), of the first 254 characters; the other types by value.
// Keys are read row by row, as the rows lie in their owner's memory: read in
// the list's order after a sort, they would be fetched from all over it.
struct TextKey {
  uint64_t prefix[2];  // the first 16 bytes (folded for the case-blind type), big-endian
  const char* text;    // the whole key, as far as the text limit
  int32_t row, place;
};
struct ValueKey {
  double value;
  int32_t row, place;
};
struct IntegerKey {
  int64_t value;
  int32_t row, place;
};

unsigned char folded(unsigned char c, bool fold) { return fold && c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; }

// Up to eight bytes of a text from its start, at most `limit`, zeros after its end.
uint64_t prefix_of(const char* text, bool fold, int limit = 8) {
  uint64_t prefix = 0;
  int i = 0;
  for (; i < 8 && i < limit && text[i]; ++i) prefix = prefix << 8 | folded(static_cast<unsigned char>(text[i]), fold);
  return prefix << (8 * (8 - i));
}

// Runs of ASCII bytes order as the library's comparisons do; anything else
// is left to those comparisons themselves.
bool ascii(uint64_t prefix) { return (prefix & 0x8080808080808080ull) == 0; }

// Eight folded bytes at a time while both texts are ASCII: equal dates and
// names that share their first bytes would otherwise each cost a call.
int compare_text_keys(const TextKey& a, const TextKey& b, bool fold) {
  uint64_t x = a.prefix[0], y = b.prefix[0];
  for (int at = 0; ascii(x) && ascii(y);) {
    if (x != y) return x < y ? -1 : 1;
    at += 8;
    if ((x & 0xFF) == 0 || at >= SORT_TEXT_LIMIT) return 0;  // both ended alike, or the limit came
    x = at == 8 ? a.prefix[1] : prefix_of(a.text + at, fold, SORT_TEXT_LIMIT - at);
    y = at == 8 ? b.prefix[1] : prefix_of(b.text + at, fold, SORT_TEXT_LIMIT - at);
  }
  return fold ? _strnicmp(a.text, b.text, SORT_TEXT_LIMIT) : strncmp(a.text, b.text, SORT_TEXT_LIMIT);
}

// Per row, where the list shows it now; null when the order is no
// arrangement of the rows.
int32_t* places_of_rows(const RowSource* source) {
  int32_t rows = source->rows;
  auto* places = static_cast<int32_t*>(general_alloc_array(size_t(rows), sizeof(int32_t)));
  if (!places) return nullptr;
  for (int32_t row = 0; row < rows; ++row) places[row] = -1;
  for (int32_t place = 0; place < rows; ++place) {
    int32_t row = source->order[place];
    if (row < 0 || row >= rows || places[row] >= 0) {
      general_free(places);
      return nullptr;
    }
    places[row] = place;
  }
  return places;
}

// Keys by `compare` (direction applied), equal keys by their places before.
template <typename Key, typename Compare>
void order_places(Key* keys, int32_t rows, int32_t* order, Compare compare) {
  std::sort(keys, keys + rows, [&compare](const Key& a, const Key& b) {
    int order = compare(a, b);
    return order ? order < 0 : a.place < b.place;
  });
  for (int32_t place = 0; place < rows; ++place) order[place] = keys[place].row;
}

// The text keys' own storage: the cells themselves, or the date keys made
// from them, kept in one block.
class KeyTexts {
 public:
  ~KeyTexts() {
    for (Block* b = blocks_; b;) {
      Block* next = b->next;
      general_free(b);
      b = next;
    }
  }
  const char* keep(const char* text) {
    size_t size = strlen(text) + 1;
    if (!blocks_ || blocks_->used + size > BLOCK) {
      size_t room = size > BLOCK ? size : BLOCK;
      auto* block = static_cast<Block*>(general_alloc(sizeof(Block) + room));
      if (!block) return nullptr;
      block->next = blocks_;
      block->used = 0;
      blocks_ = block;
    }
    char* at = reinterpret_cast<char*>(blocks_ + 1) + blocks_->used;
    memcpy(at, text, size);
    blocks_->used += size;
    return at;
  }

 private:
  static constexpr size_t BLOCK = 1 << 20;
  struct Block {
    Block* next;
    size_t used;
  };
  Block* blocks_ = nullptr;
};

// Keys for every row, then the order; false (nothing changed) without memory.
template <typename Key, typename MakeKey, typename Compare>
bool sort_rows_by(const RowSource* source, MakeKey make, Compare compare) {
  int32_t rows = source->rows;
  int32_t* places = places_of_rows(source);
  auto* keys = places ? static_cast<Key*>(general_alloc_array(size_t(rows), sizeof(Key))) : nullptr;
  bool made = keys != nullptr;
  for (int32_t row = 0; made && row < rows; ++row) {
    made = make(row, &keys[row]);
    keys[row].row = row;
    keys[row].place = places[row];
  }
  if (made) order_places(keys, rows, source->order, compare);
  general_free(keys);
  general_free(places);
  return made;
}

bool sort_text_keys(const RowSource* source, int32_t column, int8_t type, int32_t direction) {
  KeyTexts made;
  bool fold = key_kind(type) == KeyKind::Text;
  bool dated = type == SORT_DATE_DMY || type == SORT_DATE_MDY || type == SORT_DATETIME_DMY || type == SORT_DATETIME_DMY2;
  char scratch[12], limited[SORT_TEXT_LIMIT + 1];
  auto make = [&](int32_t row, TextKey* key) {
    const char* text = source->text(source, row, column, scratch);
    if (dated || text == scratch) {
      lstrcpynA(limited, text, sizeof limited);
      int32_t p = buffer_position();
      text = made.keep(key_text(type, limited, p));
      set_buffer_position(p);
      if (!text) return false;
    }
    key->text = text;
    key->prefix[0] = prefix_of(text, fold);
    key->prefix[1] = key->prefix[0] & 0xFF ? prefix_of(text + 8, fold) : 0;
    return true;
  };
  return sort_rows_by<TextKey>(source, make, [fold, direction](const TextKey& a, const TextKey& b) {
    return compare_text_keys(a, b, fold) * direction;
  });
}

// Integers and numbers: each row's value taken from its key, ordered by value.
template <typename Key, typename Value>
bool sort_by_value(const RowSource* source, int32_t column, int8_t type, int32_t direction, Value RowKey::*value) {
  char scratch[12], limited[SORT_TEXT_LIMIT + 1];
  auto make = [&](int32_t row, Key* key) {
    lstrcpynA(limited, source->text(source, row, column, scratch), sizeof limited);
    RowKey made = {};
    make_key(type, limited, &made);
    key->value = made.*value;
    return true;
  };
  return sort_rows_by<Key>(source, make, [direction](const Key& a, const Key& b) {
    return (a.value < b.value ? -1 : a.value > b.value ? 1 : 0) * direction;
  });
}

bool sort_value_keys(const RowSource* source, int32_t column, int8_t type, int32_t direction) {
  if (key_kind(type) == KeyKind::Integer)
    return sort_by_value<IntegerKey>(source, column, type, direction, &RowKey::integer);
  return sort_by_value<ValueKey>(source, column, type, direction, &RowKey::number);
}

// The rows shown at `places` before a sort, found again after it.
struct Remembered {
  int32_t selected_row = -1, focused_row = -1;
};

Remembered remember_rows(HWND list, const RowSource* source) {
  Remembered r;
  auto selected = int32_t(SendMessageA(list, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED));
  auto focused = int32_t(SendMessageA(list, LVM_GETNEXTITEM, WPARAM(-1), LVNI_FOCUSED));
  if (selected >= 0 && selected < source->rows) r.selected_row = source->order[selected];
  if (focused >= 0 && focused < source->rows) r.focused_row = source->order[focused];
  return r;
}

void set_row_state(HWND list, int32_t place, UINT state, UINT mask) {
  LVITEMA item = {};
  item.state = state;
  item.stateMask = mask;
  SendMessageA(list, LVM_SETITEMSTATE, WPARAM(place), reinterpret_cast<LPARAM>(&item));
}

// The chosen row stays chosen where the sort put it, as rows the control
// holds itself do.
void restore_rows(HWND list, const RowSource* source, const Remembered& r) {
  if (r.selected_row < 0 && r.focused_row < 0) return;
  int32_t selected = -1, focused = -1;
  for (int32_t place = 0; place < source->rows; ++place) {
    if (source->order[place] == r.selected_row) selected = place;
    if (source->order[place] == r.focused_row) focused = place;
  }
  set_row_state(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  if (focused >= 0) set_row_state(list, focused, LVIS_FOCUSED, LVIS_FOCUSED);
  if (selected >= 0) {
    set_row_state(list, selected, LVIS_SELECTED, LVIS_SELECTED);
    SendMessageA(list, LVM_SETSELECTIONMARK, 0, selected);
  }
}

void sort_row_order(HWND list, RowSource* source, int32_t column) {
  if (source->rows <= 1 || key_kind(context.column_type) == KeyKind::Equal) return;
  Remembered chosen = remember_rows(list, source);
  KeyKind kind = key_kind(context.column_type);
  if (kind == KeyKind::Text || kind == KeyKind::TextCase)
    sort_text_keys(source, column, context.column_type, context.direction);
  else
    sort_value_keys(source, column, context.column_type, context.direction);
  restore_rows(list, source, chosen);
  InvalidateRect(list, nullptr, FALSE);
}

}  // namespace

SortContext& sort_context() { return context; }

int compare_cell_texts(int8_t type, const char* a, const char* b) {
  RowKey first = {}, second = {};
  make_key(type, text_or_empty(a), &first);
  make_key(type, text_or_empty(b), &second);
  int result = compare_keys(key_kind(type), first, second);
  general_free(first.text);
  general_free(second.text);
  return result;
}

int32_t renumber_rows(HWND list) {
  int32_t number = GetDlgCtrlID(list);
  if (number_list_icon_rows(number)) return 0;  // the same, in one pass
  int32_t rows = int32_t(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  for (int32_t row = 0; row < rows; ++row) set_gadget_item_data(number, row, row);
  return 0;
}

int32_t sort_list_column(HWND list, int32_t column) {
  int32_t rows = int32_t(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  if (RowSource* source = list_icon_row_source(list)) {
    sort_row_order(list, source, column);  // the control holds no rows to move
  } else if (rows > 0) {
    bool settled = settle_places(list, column, rows);
    if (!settled) {
      renumber_rows(list);  // gives every row a record, then once more
      settled = settle_places(list, column, rows);
    }
    // The control moves the rows; their records already hold their new indexes.
    if (settled) SendMessageA(list, LVM_SORTITEMS, 0, reinterpret_cast<LPARAM>(compare_places));
    else renumber_rows(list);
  }
  SendMessageA(list, MSG_LIST_SORTED, WPARAM(column), 0);
  return 0;
}

int32_t last_position(const char* text, const char* pattern, int32_t start) {
  int32_t last = 0;
  for (int32_t at = find_string(text, pattern, start); at > 0; at = find_string(text, pattern, at + 1)) last = at;
  return last;
}

float size_value(const char* text) {
  struct Unit {
    const char* name;
    float multiplier;
  };
  static constexpr Unit units[] = {{"b", 1.0f},          {"kb", 1024.0f}, {"mb", 1048576.0f}, {"gb", 1073741824.0f},
                                   {"o", 1.0f},          {"ko", 1024.0f}, {"mo", 1048576.0f}, {"go", 1073741824.0f}};
  int32_t p = buffer_position();
  trim_string(text, p);  // the text without surrounding blanks, at p
  float value = parse_float_single(buffer_address_at(p));
  int32_t space = last_position(buffer_address_at(p), " ", 1);
  if (space > 0) {
    int32_t unit_at = buffer_position();
    mid_string(buffer_address_at(p), space + 1, text_length(buffer_address_at(p)) - space, unit_at);
    int32_t lower_at = buffer_position();
    lower_case(buffer_address_at(unit_at), lower_at);
    for (const Unit& unit : units) {
      if (strings_equal(buffer_address_at(lower_at), unit.name)) {
        value *= unit.multiplier;
        break;
      }
    }
  }
  set_buffer_position(p);
  return value;
}

namespace {
// A key built from pieces of the text, by the Part's positions.
struct KeyBuilder {
  BufferArgument text;
  int32_t start;
  explicit KeyBuilder(const char* t, int32_t p) : text(t), start(p) { buffer_terminate_at(p); }
  void mid(int32_t from, int32_t length) { mid_string(text.get(), from, length, buffer_position()); }
  void left(int32_t length) { left_string(text.get(), length, buffer_position()); }
  void right(int32_t length) { right_string(text.get(), length, buffer_position()); }
  void literal(const char* piece) { append_string(piece, buffer_position()); }
  const char* done() const { return buffer_address_at(start); }
  static void buffer_terminate_at(int32_t p) {
    set_buffer_position(p);
    buffer_terminate();
  }
};
}  // namespace

const char* date_key_dmy(const char* text, int32_t p) {
  KeyBuilder key(text, p);
  key.right(4);
  key.mid(4, 2);
  key.left(2);
  return key.done();
}

const char* date_key_mdy(const char* text, int32_t p) {
  KeyBuilder key(text, p);
  key.right(4);
  key.left(2);
  key.mid(4, 2);
  return key.done();
}

const char* date_key_dmy_time(const char* text, int32_t p) {
  KeyBuilder key(text, p);
  key.mid(7, 4);
  key.mid(4, 2);
  key.left(2);
  key.right(8);
  return key.done();
}

const char* date_key_dmy2_time(const char* text, int32_t p) {
  KeyBuilder key(text, p);
  // Two-digit years 00 to 29 are 2000 to 2029 and sort after 30 to 99.
  int32_t year_at = buffer_position();
  key.mid(7, 2);
  char year[3] = {};
  strncpy(year, buffer_address_at(year_at), 2);
  KeyBuilder::buffer_terminate_at(year_at);
  key.literal(string_less(year, "30") ? "1" : "0");
  key.literal(year);
  key.mid(4, 2);
  key.left(2);
  key.right(5);
  return key.done();
}

}  // namespace vantrel
