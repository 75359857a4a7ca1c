#include "sorter/sort_engine.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>

#include "runtime/heaps.h"
#include "runtime/platform_calls.h"
#include "runtime/string_functions.h"
#include "runtime/strings.h"
#include "runtime/text_code_page.h"
#include "sorter/collated_keys.h"
#include "sorter/collation.h"
#include "sorter/key_texts.h"
#include "ui/gadgets/gadgets.h"
#include "ui/gadgets/kinds.h"

namespace vantrel {
namespace {

SortContext context = {nullptr, SORT_TEXT_NOCASE, 1};

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
  wchar_t text[SORT_TEXT_LIMIT + 1];
  for (int32_t row = 0; row < rows; ++row) {
    text[0] = 0;
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = row;
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = SORT_TEXT_LIMIT + 1;
    bool read = SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)) != 0;
    text[whole_units(text, wcsnlen(text, SORT_TEXT_LIMIT))] = 0;
    keys[row].record = reinterpret_cast<int32_t*>(item.lParam);
    int32_t p = buffer_position();
    bool made = read && keys[row].record && make_key(type, append_wide(text, -1, p), &keys[row]);
    set_buffer_position(p);
    if (!made) {
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
bool dated(int8_t type) {
  return type == SORT_DATE_DMY || type == SORT_DATE_MDY || type == SORT_DATETIME_DMY || type == SORT_DATETIME_DMY2;
}

// Whether a text type orders as the platform does (collation.h): case-blind
// text of a wide call.
bool collated(int8_t type) {
  return key_kind(type) == KeyKind::Text && !dated(type) && text_code_page() == CODE_PAGE_UTF8;
}

bool settle_places(HWND list, int32_t column, int32_t rows) {
  RowKey* keys = read_keys(list, column, context.column_type, rows);
  if (!keys) return false;
  KeyKind kind = key_kind(context.column_type);
  int32_t direction = context.direction;
  bool by_platform = collated(context.column_type);
  std::stable_sort(keys, keys + rows, [kind, direction, by_platform](const RowKey& a, const RowKey& b) {
    int order = by_platform ? compare_collated(a.text, b.text) : compare_keys(kind, a, b);
    return order * direction < 0;
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
struct ValueKey {
  double value;
  int32_t row, place;
};
struct IntegerKey {
  int64_t value;
  int32_t row, place;
};


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
void order_places(Key* keys, int32_t rows, int32_t* order, Compare compare, bool in_halves) {
  auto less = [&compare](const Key& a, const Key& b) {
    int order = compare(a, b);
    return order ? order < 0 : a.place < b.place;
  };
  if (in_halves && rows >= 2 * LEAST_SHARE && processor_count() >= 2) {
    // Each half on a processor of its own, then merged into the order:
    // no key is equal to another, so the merge keeps the sort stable.
    struct Half {
      Key* keys;
      int32_t rows;
      decltype(less)* less;
      static unsigned long __stdcall sort(void* half) {
        auto* h = static_cast<Half*>(half);
        std::sort(h->keys, h->keys + h->rows, *h->less);
        return 0;
      }
    } first = {keys, rows / 2, &less};
    HANDLE thread = CreateThread(nullptr, 0, Half::sort, &first, 0, nullptr);
    if (!thread) Half::sort(&first);
    std::sort(keys + first.rows, keys + rows, less);
    if (thread) {
      WaitForSingleObject(thread, INFINITE);
      CloseHandle(thread);
    }
    Key *a = keys, *a_end = keys + first.rows, *b = a_end, *b_end = keys + rows;
    for (int32_t place = 0; place < rows; ++place)
      order[place] = (b == b_end || (a != a_end && !less(*b, *a)) ? a++ : b++)->row;
    return;
  }
  std::sort(keys, keys + rows, less);
  for (int32_t place = 0; place < rows; ++place) order[place] = keys[place].row;
}

// Keys for every row, then the order; false (nothing changed) without memory.
// `remake` may replace the keys once all are made, and set `in_halves` when
// they are long and costly to compare (the platform's): those are ordered
// in halves on two processors.
template <typename Key, typename MakeKey, typename Compare, typename Remake>
bool sort_rows_by(const RowSource* source, MakeKey make, Compare compare, Remake remake,
                  const bool* in_halves = nullptr) {
  int32_t rows = source->rows;
  int32_t* places = places_of_rows(source);
  auto* keys = places ? static_cast<Key*>(general_alloc_array(size_t(rows), sizeof(Key))) : nullptr;
  bool made = keys != nullptr;
  for (int32_t row = 0; made && row < rows; ++row) {
    made = make(row, &keys[row]);
    keys[row].row = row;
    keys[row].place = places[row];
  }
  if (made) made = remake(keys, rows);
  if (made) order_places(keys, rows, source->order, compare, in_halves && *in_halves);
  general_free(keys);
  general_free(places);
  return made;
}

// Sort keys of the platform compare byte by byte, as far as their end: the
// prefix, then the rest (collated_keys.h).
int compare_sort_keys(const TextKey& a, const TextKey& b) {
  for (int half = 0; half < 2; ++half) {
    uint64_t x = a.prefix[half], y = b.prefix[half];
    if (x != y) return x < y ? -1 : 1;
    if ((x & 0xFF) == 0) return 0;
  }
  return strcmp(a.text, b.text);
}

bool sort_text_keys(const RowSource* source, int32_t column, int8_t type, int32_t direction) {
  KeyTexts made;
  bool fold = key_kind(type) == KeyKind::Text;
  bool by_platform = collated(type);
  SeenBytes seen;
  Collation collation = Collation::Folded;
  char scratch[12], limited[SORT_TEXT_LIMIT + 1];
  auto make = [&](int32_t row, TextKey* key) {
    const char* text = source->text(source, row, column, scratch);
    if (dated(type) || text == scratch) {
      lstrcpynA(limited, text, sizeof limited);
      int32_t p = buffer_position();
      text = made.keep(key_text(type, limited, p));
      set_buffer_position(p);
      if (!text) return false;
    }
    if (by_platform) {
      // Text beyond ASCII takes the platform's keys (collation_for): what
      // the rows hold matters no more.
      if (seen.beyond_ascii()) return true;
      seen.note(text);
    }
    set_text_key(key, text, fold);
    return true;
  };
  // Texts that the library's own comparison would not order as the
  // platform does get keys of the collation instead.
  CollatedKeys collated_keys;
  bool platform_keys = false;
  auto remake = [&](TextKey* keys, int32_t rows) {
    if (by_platform) collation = collation_for(seen);
    platform_keys = collation == Collation::SortKeys;
    return collation == Collation::Folded || collated_keys.make(collation, source, column, keys, rows);
  };
  return sort_rows_by<TextKey>(source, make, [&](const TextKey& a, const TextKey& b) {
    int order = collation == Collation::SortKeys ? compare_sort_keys(a, b)
                                                 : compare_text_keys(a, b, fold && collation == Collation::Folded);
    return order * direction;
  }, remake, &platform_keys);
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
  return sort_rows_by<Key>(
      source, make,
      [direction](const Key& a, const Key& b) { return (a.value < b.value ? -1 : a.value > b.value ? 1 : 0) * direction; },
      [](Key*, int32_t) { return true; });
}

bool sort_value_keys(const RowSource* source, int32_t column, int8_t type, int32_t direction) {
  if (key_kind(type) == KeyKind::Integer)
    return sort_by_value<IntegerKey>(source, column, type, direction, &RowKey::integer);
  return sort_by_value<ValueKey>(source, column, type, direction, &RowKey::number);
}

// The rows shown at `places` before a sort, found again after it.
struct Remembered {
  int32_t selected_row = -1, focused_row = -1;
  int32_t selected_place = -1;  // where the selected row stood
  LRESULT selected_count = 0;
};

// The selected row's place. The platform searches row by row for it (12 ms
// at a million rows), so a list with one selected row is asked its
// selection mark first.
int32_t selected_place(HWND list, LRESULT count) {
  if (count == 0) return -1;
  auto mark = int32_t(SendMessageW(list, LVM_GETSELECTIONMARK, 0, 0));
  if (count == 1 && mark >= 0 && SendMessageW(list, LVM_GETITEMSTATE, WPARAM(mark), LVIS_SELECTED)) return mark;
  return int32_t(SendMessageW(list, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED));
}

Remembered remember_rows(HWND list, const RowSource* source) {
  Remembered r;
  r.selected_count = SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0);
  int32_t selected = r.selected_place = selected_place(list, r.selected_count);
  auto focused = int32_t(SendMessageW(list, LVM_GETNEXTITEM, WPARAM(-1), LVNI_FOCUSED));
  if (selected >= 0 && selected < source->rows) r.selected_row = source->order[selected];
  if (focused >= 0 && focused < source->rows) r.focused_row = source->order[focused];
  return r;
}

void set_row_state(HWND list, int32_t place, UINT state, UINT mask) {
  LVITEMW item = {};
  item.state = state;
  item.stateMask = mask;
  SendMessageW(list, LVM_SETITEMSTATE, WPARAM(place), reinterpret_cast<LPARAM>(&item));
}

// The chosen row stays chosen where the sort put it, as rows the control
// holds itself do, focused and in view. With none chosen, the list shows
// the top of the new order, and a focus only offered (to be read, not
// chosen) goes to the new first row.
void restore_rows(HWND list, const RowSource* source, const Remembered& r) {
  if (r.selected_count == 0) {
    if (r.focused_row >= 0) set_row_state(list, 0, LVIS_FOCUSED, LVIS_FOCUSED);
    SendMessageW(list, LVM_ENSUREVISIBLE, 0, FALSE);
    return;
  }
  if (r.selected_row < 0 && r.focused_row < 0) return;
  int32_t selected = -1, focused = -1;
  for (int32_t place = 0; place < source->rows; ++place) {
    if (source->order[place] == r.selected_row) selected = place;
    if (source->order[place] == r.focused_row) focused = place;
  }
  // Only the row that holds the selection loses it: the platform takes a
  // change of every row one row at a time (0.5 s at a million rows under
  // Wine). The focus moves by itself: one row holds it.
  if (r.selected_count == 1) set_row_state(list, r.selected_place, 0, LVIS_SELECTED);
  else if (r.selected_count > 1) set_row_state(list, -1, 0, LVIS_SELECTED);
  if (focused >= 0) set_row_state(list, focused, LVIS_FOCUSED, LVIS_FOCUSED);
  if (selected >= 0) {
    set_row_state(list, selected, LVIS_SELECTED, LVIS_SELECTED);
    SendMessageW(list, LVM_SETSELECTIONMARK, 0, selected);
    SendMessageW(list, LVM_ENSUREVISIBLE, WPARAM(selected), FALSE);
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

int32_t renumber_rows(HWND list) {
  int32_t number = GetDlgCtrlID(list);
  if (number_list_icon_rows(number)) return 0;  // the same, in one pass
  int32_t rows = int32_t(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  for (int32_t row = 0; row < rows; ++row) set_gadget_item_data(number, row, row);
  return 0;
}

int32_t sort_list_column(HWND list, int32_t column) {
  int32_t rows = int32_t(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  if (RowSource* source = list_icon_row_source(list)) {
    sort_row_order(list, source, column);  // the control holds no rows to move
  } else if (rows > 0) {
    bool settled = settle_places(list, column, rows);
    if (!settled) {
      renumber_rows(list);  // gives every row a record, then once more
      settled = settle_places(list, column, rows);
    }
    // The control moves the rows; their records already hold their new indexes.
    if (settled) sort_list_items(list, compare_places);
    else renumber_rows(list);
  }
  SendMessageW(list, MSG_LIST_SORTED, WPARAM(column), 0);
  return 0;
}

}  // namespace vantrel
