#include "cli/command_line.h"

#include <map>

#include "runtime/text_code_page.h"

namespace cli {
namespace {

enum class Mode { None, Entry, Calendar, List, Combo, Drop, Table, About };

constexpr unsigned bit(Mode mode) { return 1u << unsigned(mode); }

struct ModeName {
  const char* option;
  Mode mode;
};
constexpr ModeName modes[] = {
    {"--entry", Mode::Entry}, {"--calendar", Mode::Calendar}, {"--list", Mode::List}, {"--combo", Mode::Combo},
    {"--drop", Mode::Drop},   {"--table", Mode::Table},       {"--about", Mode::About},
};

// The options that take a value, and the dialogs each one serves.
struct ValuedOption {
  const char* name;
  unsigned modes;
};
constexpr unsigned EVERY = ~0u;
constexpr unsigned SIZED = EVERY & ~bit(Mode::Calendar);
constexpr unsigned ABOUT = bit(Mode::About);
constexpr ValuedOption valued[] = {
    {"--title", EVERY},
    {"--host", EVERY},
    {"--width", SIZED},
    {"--height", SIZED},
    {"--text", bit(Mode::Entry) | ABOUT},
    {"--date", bit(Mode::Calendar)},
    {"--format", bit(Mode::Calendar)},
    {"--column", bit(Mode::List) | bit(Mode::Table)},
    {"--print-column", bit(Mode::List) | bit(Mode::Table)},
    {"--heading", ABOUT},
    {"--subheading", ABOUT},
    {"--image", ABOUT},
    {"--web", ABOUT},
    {"--email", ABOUT},
};

const ValuedOption* valued_option(const std::string& name) {
  for (const ValuedOption& option : valued)
    if (name == option.name) return &option;
  return nullptr;
}

// A dialog smaller than this has no room for its OK and Cancel buttons.
constexpr int SMALLEST_WIDTH = 120, SMALLEST_HEIGHT = 60;

struct Defaults {
  const char* width;
  const char* height;
};

Defaults defaults_of(Mode mode) {
  switch (mode) {
    case Mode::Entry: return {"300", "200"};
    case Mode::List: return {"250", "300"};
    case Mode::Combo: return {"250", "100"};
    case Mode::Drop: return {"400", "300"};
    case Mode::Table: return {"500", "350"};
    case Mode::About: return {"300", "250"};
    default: return {"", ""};
  }
}

struct Options {
  Mode mode = Mode::None;
  const char* mode_option = "";
  std::map<std::string, std::string> values;
  std::vector<std::string> columns;  // --column, in order
  std::vector<std::string> items;    // the arguments that are no option, or the input's lines
  bool items_from_input = false;
};

std::string value_of(const Options& o, const char* name, const char* otherwise) {
  auto found = o.values.find(name);
  return found == o.values.end() ? otherwise : found->second;
}

// Splits the options; false with `error` set on a usage error.
bool read_options(const std::vector<std::string>& arguments, Options* o, std::string* error, bool* help,
                  bool* version) {
  bool only_items = false;
  for (size_t i = 0; i < arguments.size(); ++i) {
    std::string argument = arguments[i];
    if (only_items || argument.size() < 2 || argument.compare(0, 2, "--") != 0) {
      o->items.push_back(argument);
      continue;
    }
    if (argument == "--") {
      if (o->mode == Mode::None) {
        *error = "\"--\" ends the options: name a dialog before it";
        return false;
      }
      only_items = true;
      continue;
    }
    if (argument == "--help") {
      *help = true;
      return true;
    }
    if (argument == "--version") {
      *version = true;
      return true;
    }
    std::string value;
    bool has_value = false;
    size_t equals = argument.find('=');
    if (equals != std::string::npos) {
      value = argument.substr(equals + 1);
      argument.resize(equals);
      has_value = true;
    }
    bool mode_found = false;
    for (const ModeName& m : modes) {
      if (argument != m.option) continue;
      if (has_value) {
        *error = argument + " takes no value";
        return false;
      }
      if (o->mode != Mode::None) {
        *error = "choose one dialog: " + argument + " after " + o->mode_option;
        return false;
      }
      o->mode = m.mode;
      o->mode_option = m.option;
      mode_found = true;
    }
    if (mode_found) continue;
    if (!valued_option(argument)) {
      *error = "unknown option " + argument;
      return false;
    }
    if (!has_value) {
      if (i + 1 >= arguments.size()) {
        *error = argument + " needs a value";
        return false;
      }
      value = arguments[++i];
    }
    if (argument == "--column") o->columns.push_back(value);
    else o->values[argument] = value;
  }
  if (o->mode == Mode::None) {
    *error = "name a dialog: --entry, --calendar, --list, --combo, --drop, --table or --about";
    return false;
  }
  return true;
}

// Every option given serves the dialog chosen.
bool options_apply(const Options& o, std::string* error) {
  auto refuse = [&](const std::string& option) {
    *error = option + " does not apply to " + o.mode_option;
    return false;
  };
  for (const auto& [name, value] : o.values)
    if (!(valued_option(name)->modes & bit(o.mode))) return refuse(name);
  if (!o.columns.empty() && !(valued_option("--column")->modes & bit(o.mode))) return refuse("--column");
  return true;
}

// A size: a whole number of pixels from the smallest a dialog can be to the screen's size.
bool read_size(const Options& o, const char* name, const char* otherwise, int smallest, int largest,
               std::string* size, std::string* error) {
  *size = value_of(o, name, otherwise);
  bool digits = !size->empty() && size->size() <= 9 && size->find_first_not_of("0123456789") == std::string::npos;
  int value = digits ? std::stoi(*size) : 0;
  if (digits && value >= smallest && value <= largest) return true;
  *error = std::string(name) + " takes a whole number of pixels from " + std::to_string(smallest) + " to " +
           std::to_string(largest) + ", not '" + *size + "'";
  return false;
}

// The first character of `separators` in any text, or 0.
char separator_in(const std::vector<std::string>& texts, const char* separators) {
  for (const std::string& text : texts)
    for (const char* s = separators; *s; ++s)
      if (text.find(*s) != std::string::npos) return *s;
  return 0;
}

std::vector<std::string> split(const std::string& line, char at) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    size_t end = line.find(at, start);
    parts.push_back(line.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) return parts;
    start = end + 1;
  }
}

// "a|b|c|": each item followed by "|".
std::string item_list(const std::vector<std::string>& items) {
  std::string text;
  for (const std::string& item : items) text += item + "|";
  return text;
}

// The calendar's date formats, the shape of a date in each (9 a digit), and
// where its year, month and day stand.
struct DateFormat {
  const char* name;
  const char* shape;
  const char* written;
  int year_at, month_at, day_at;
};
constexpr DateFormat date_formats[] = {
    {"ISO", "9999-99-99", "YYYY-MM-DD", 0, 5, 8},
    {"US", "99/99/9999", "MM/DD/YYYY", 6, 0, 3},
    {"EUR", "99/99/9999", "DD/MM/YYYY", 6, 3, 0},
};

bool leap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

// A day the calendar can show on every platform: from 1753-01-01, the first
// year of its calendar, to 9999-12-31.
bool calendar_day(const std::string& text, const DateFormat& format) {
  std::string shape = format.shape;
  if (text.size() != shape.size()) return false;
  for (size_t i = 0; i < shape.size(); ++i)
    if (shape[i] == '9' ? (text[i] < '0' || text[i] > '9') : text[i] != shape[i]) return false;
  int year = std::stoi(text.substr(size_t(format.year_at), 4));
  int month = std::stoi(text.substr(size_t(format.month_at), 2));
  int day = std::stoi(text.substr(size_t(format.day_at), 2));
  static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12 || day < 1 || day > days[month - 1] + (month == 2 && leap(year))) return false;
  return year >= 1753 && year <= 9999;
}

bool build_calendar(const Options& o, Request* r, std::string* error) {
  std::string format_name = value_of(o, "--format", "ISO"), date = value_of(o, "--date", "TODAY");
  const DateFormat* format = nullptr;
  for (const DateFormat& f : date_formats)
    if (format_name == f.name) format = &f;
  if (!format) {
    *error = "--format takes ISO, US or EUR, not '" + format_name + "'";
    return false;
  }
  if (date != "TODAY" && !calendar_day(date, *format)) {
    *error = "--date '" + date + "' is no day in the " + format_name + " format (" + format->written +
             ") from 1970-01-01 to 2038-01-19";
    return false;
  }
  r->export_name = "ShowCal";
  r->arguments = {value_of(o, "--title", "Vantrel"), date, format_name, value_of(o, "--host", "0")};
  return true;
}

// Rows: from arguments, row after row of as many cells as there are
// columns; from standard input, a line a row with its cells split by tabs,
// and a row with fewer cells than columns ends with empty ones.
bool table_rows(const Options& o, std::vector<std::vector<std::string>>* rows, std::string* error) {
  size_t columns = o.columns.size();
  if (!o.items_from_input) {
    if (o.items.size() % columns) {
      *error = std::to_string(o.items.size()) + " cells do not make rows of " + std::to_string(columns);
      return false;
    }
    for (size_t i = 0; i < o.items.size(); i += columns)
      rows->emplace_back(o.items.begin() + long(i), o.items.begin() + long(i + columns));
    return true;
  }
  for (size_t line = 0; line < o.items.size(); ++line) {
    std::vector<std::string> cells = split(o.items[line], '\t');
    if (cells.size() > columns) {
      *error = "line " + std::to_string(line + 1) + " has " + std::to_string(cells.size()) + " cells for " +
               std::to_string(columns) + " columns";
      return false;
    }
    cells.resize(columns);
    rows->push_back(std::move(cells));
  }
  return true;
}

bool build_table(const Options& o, const std::string& width, const std::string& height, Request* r,
                 std::string* error) {
  if (o.columns.empty()) {
    *error = "--table needs a --column for each column";
    return false;
  }
  if (char c = separator_in(o.columns, ";|")) {
    *error = std::string("a column title cannot hold '") + c + "'";
    return false;
  }
  std::vector<std::vector<std::string>> rows;
  if (!table_rows(o, &rows, error)) return false;
  std::string table;
  for (const std::string& column : o.columns) table += column + ";";
  table += "|";
  for (const std::vector<std::string>& row : rows) {
    if (char c = separator_in(row, ";|")) {
      *error = std::string("a cell cannot hold '") + c + "'";
      return false;
    }
    for (const std::string& cell : row) table += cell + ";";
    table += "|";
  }
  std::string column = value_of(o, "--print-column", "1");
  bool whole_row = column == "ALL" || column == "all";
  bool number = !column.empty() && column.size() <= 9 && column.find_first_not_of("0123456789") == std::string::npos;
  if (!whole_row && (!number || std::stoi(column) < 1 || size_t(std::stoi(column)) > o.columns.size())) {
    *error = "--print-column takes a column from 1 to " + std::to_string(o.columns.size()) + ", or ALL";
    return false;
  }
  r->export_name = "ShowMultiListBox";
  r->arguments = {value_of(o, "--title", "Vantrel"), table, whole_row ? "-1" : column, width, height,
                  value_of(o, "--host", "0")};
  r->form = whole_row ? AnswerForm::Cells : AnswerForm::Text;
  r->choice = Choice::Row;
  return true;
}

}  // namespace

bool is_options_form(const std::string& argument) { return argument.size() >= 2 && argument.compare(0, 2, "--") == 0; }

namespace {

// UTF-16 bytes of either order as UTF-8.
std::string utf8_of_utf16(const std::string& bytes, bool big_endian) {
  std::wstring units(bytes.size() / 2, L'\0');
  for (size_t i = 0; i < units.size(); ++i) {
    auto first = static_cast<unsigned char>(bytes[2 * i]), second = static_cast<unsigned char>(bytes[2 * i + 1]);
    units[i] = wchar_t(big_endian ? first << 8 | second : second << 8 | first);
  }
  std::string text(vantrel::utf8_from_utf16(units.data(), units.size(), nullptr), '\0');
  vantrel::utf8_from_utf16(units.data(), units.size(), &text[0]);
  return text;
}

// Whether the bytes are UTF-8 throughout: read as UTF-16 and written back,
// they come back the same.
bool valid_utf8(const std::string& text) {
  std::wstring units(vantrel::utf16_from_utf8(text.data(), text.size(), nullptr), L'\0');
  vantrel::utf16_from_utf8(text.data(), text.size(), &units[0]);
  std::string again(vantrel::utf8_from_utf16(units.data(), units.size(), nullptr), '\0');
  vantrel::utf8_from_utf16(units.data(), units.size(), &again[0]);
  return again == text;
}

}  // namespace

bool input_lines(const std::string& input, std::vector<std::string>* lines, std::string* error) {
  // UTF-8, unless a byte-order mark says UTF-16; a UTF-8 one is dropped.
  std::string bytes = input;
  if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
    bytes.erase(0, 3);
  } else if (bytes.compare(0, 2, "\xFF\xFE") == 0 || bytes.compare(0, 2, "\xFE\xFF") == 0) {
    if (bytes.size() % 2) {
      *error = "standard input is UTF-16 with an odd number of bytes";
      return false;
    }
    bytes = utf8_of_utf16(bytes.substr(2), bytes[0] == '\xFE');
  }
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find('\n', start);
    std::string line = bytes.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.find('\0') != std::string::npos) {
      *error = "line " + std::to_string(lines->size() + 1) + " of standard input holds a NUL byte";
      return false;
    }
    if (!valid_utf8(line)) {
      *error = "line " + std::to_string(lines->size() + 1) + " of standard input is not UTF-8";
      return false;
    }
    lines->push_back(line);
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return true;
}

Parsed parse_options(const std::vector<std::string>& options, const InputReader& read_input, Screen screen) {
  Parsed parsed;
  Options o;
  std::string& error = parsed.error;
  if (!read_options(options, &o, &error, &parsed.help, &parsed.version) || parsed.help || parsed.version)
    return parsed;
  if (o.mode == Mode::List && o.columns.size() > 1) o.mode = Mode::Table;  // several columns make a table
  if (!options_apply(o, &error)) return parsed;
  if (o.mode == Mode::List && o.values.count("--print-column")) {
    error = "--print-column needs a table: --table, or --list with two or more --column";
    return parsed;
  }
  Request& r = parsed.request;
  Defaults d = defaults_of(o.mode);
  std::string title = value_of(o, "--title", "Vantrel"), width, height;
  std::string host = value_of(o, "--host", "0");
  if (o.mode != Mode::Calendar &&
      (!read_size(o, "--width", d.width, SMALLEST_WIDTH, screen.width, &width, &error) ||
       !read_size(o, "--height", d.height, SMALLEST_HEIGHT, screen.height, &height, &error)))
    return parsed;
  bool lists_items = o.mode == Mode::List || o.mode == Mode::Combo || o.mode == Mode::Table;
  if (!lists_items && !o.items.empty()) {
    error = "unexpected argument '" + o.items.front() + "'";
    return parsed;
  }
  if (lists_items && o.items.empty()) {
    if (read_input && !read_input(&o.items, &error)) return parsed;
    o.items_from_input = true;
    if (o.items.empty()) {
      error = std::string(o.mode == Mode::Table ? "no rows" : "no items") +
              ": give them after the options or one a line on standard input";
      return parsed;
    }
  }
  switch (o.mode) {
    case Mode::Entry:
      r.export_name = "ShowInput";
      r.arguments = {title, value_of(o, "--text", ""), width, height, host};
      break;
    case Mode::Calendar:
      if (!build_calendar(o, &r, &error)) return parsed;
      break;
    case Mode::List:
    case Mode::Combo:
      if (char c = separator_in(o.items, "|")) {
        error = std::string("an item cannot hold '") + c + "'";
        return parsed;
      }
      if (o.mode == Mode::List && !o.columns.empty() && !o.values.count("--title")) title = o.columns.front();
      r.export_name = o.mode == Mode::List ? "ShowListBox" : "ShowComboBox";
      r.arguments = {title, item_list(o.items), width, height, host};
      r.choice = Choice::Item;
      break;
    case Mode::Drop:
      r.export_name = "ShowDragnDrop";
      r.arguments = {title, width, height, host};
      r.form = AnswerForm::Lines;
      break;
    case Mode::Table:
      if (!build_table(o, width, height, &r, &error)) return parsed;
      break;
    case Mode::About:
      r.export_name = "ShowAbout";
      r.arguments = {title, value_of(o, "--heading", ""), value_of(o, "--subheading", ""), value_of(o, "--image", ""),
                     value_of(o, "--text", ""), value_of(o, "--web", ""), value_of(o, "--email", ""), width, height,
                     host};
      r.can_cancel = false;
      break;
    case Mode::None:
      break;
  }
  return parsed;
}

std::string printed_answer(const Request& request, const std::string& answer) {
  std::string text;
  switch (request.form) {
    case AnswerForm::Text:
      // Line breaks as a console shows them: standard output adds the CR.
      for (size_t i = 0; i < answer.size(); ++i)
        if (!(answer[i] == '\r' && i + 1 < answer.size() && answer[i + 1] == '\n')) text += answer[i];
      return text + "\n";
    case AnswerForm::Lines:
      for (char c : answer) text += c == '|' ? '\n' : c;
      return text;
    case AnswerForm::Cells:
      text = answer;
      if (!text.empty() && text.back() == '|') text.pop_back();
      return text + "\n";
  }
  return text;
}

const char* options_help() {
  return "The options form, for scripts:\n"
         "  vantrel --entry    [--text TEXT]                        a line or more of text\n"
         "  vantrel --calendar [--date DATE|TODAY] [--format ISO|US|EUR]\n"
         "  vantrel --list     [--column TITLE] ITEM...             one item from a list\n"
         "  vantrel --combo    ITEM...                              one entry from a drop-down list\n"
         "  vantrel --drop                                          files dropped from the shell\n"
         "  vantrel --table    --column [WIDTH~]TITLE... [--print-column N|ALL] CELL...\n"
         "  vantrel --about    [--heading H] [--subheading S] [--image FILE] [--text BODY]\n"
         "                     [--web ADDRESS] [--email ADDRESS]\n"
         "Every dialog takes --title TEXT and --host WINDOW (a decimal handle); all but the\n"
         "calendar take --width and --height in pixels at 96 dpi, from 120 x 60 to the\n"
         "screen's size (defaults: entry 300x200, list 250x300, combo 250x100, drop\n"
         "400x300, table 500x350, about 300x250). An option that the dialog has no use\n"
         "for is a usage error. Values may also be given as --option=VALUE; \"--\" ends\n"
         "the options. A --date is a day from 1753-01-01 to 9999-12-31 written in its\n"
         "--format: ISO YYYY-MM-DD (the default), US MM/DD/YYYY, EUR DD/MM/YYYY.\n"
         "\n"
         "Items and rows: the arguments after the options, or else standard input, one a\n"
         "line, in UTF-8 (or UTF-16 after its byte-order mark; a Ctrl-Z is text; a NUL\n"
         "byte or bytes that are not UTF-8 are a usage error naming the line). A table's\n"
         "cells are split by tabs there, and a row with fewer cells than columns ends\n"
         "with empty ones; as arguments, a table takes row after row of as many cells as\n"
         "there are columns. A list with two or more --column is a table. An item cannot\n"
         "hold '|', a cell or a column title ';' or '|'; no items at all is a usage error.\n"
         "--print-column takes a column from 1 to the number of columns, or ALL.\n"
         "\n"
         "The answer goes to standard output, a line in UTF-8 (to a console, its own\n"
         "characters): the text, date, item or cell chosen\n"
         "(an empty one too); --drop prints one file a line; --table --print-column ALL\n"
         "prints the row's cells joined by '|'; --about prints OK, Web or Email.\n"
         "Exit code: 0 for an answer, 1 when the person cancelled or pressed OK with\n"
         "nothing chosen in a list, combo box or table, 2 for a usage error (with a\n"
         "message on standard error), 3 when vantrel.dll cannot be loaded.\n";
}

}  // namespace cli
