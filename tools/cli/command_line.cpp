#include "cli/command_line.h"

#include <map>

namespace cli {
namespace {

enum class Mode { None, Entry, Calendar, List, Combo, Drop, Table, About };

struct ModeName {
  const char* option;
  Mode mode;
};
constexpr ModeName modes[] = {
    {"--entry", Mode::Entry}, {"--calendar", Mode::Calendar}, {"--list", Mode::List}, {"--combo", Mode::Combo},
    {"--drop", Mode::Drop},   {"--table", Mode::Table},       {"--about", Mode::About},
};

// Options that take a value; every mode accepts the common ones.
constexpr const char* valued[] = {"--title", "--width",  "--height", "--host",  "--text",       "--date",
                                  "--format", "--column", "--heading", "--subheading", "--image", "--web",
                                  "--email",  "--print-column"};

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

bool takes_value(const std::string& option) {
  for (const char* name : valued)
    if (option == name) return true;
  return false;
}

struct Options {
  Mode mode = Mode::None;
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
      if (o->mode != Mode::None) {
        *error = "choose one dialog: " + argument + " after another";
        return false;
      }
      o->mode = m.mode;
      mode_found = true;
    }
    if (mode_found) continue;
    if (!takes_value(argument)) {
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
  if (o->mode == Mode::None) *error = "name a dialog: --entry, --calendar, --list, --combo, --drop, --table or --about";
  return error->empty();
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

bool build_table(const Options& o, Request* r, std::string* error) {
  if (o.columns.empty()) {
    *error = "--table needs a --column for each column";
    return false;
  }
  if (char c = separator_in(o.columns, ";|")) {
    *error = std::string("a column title cannot hold '") + c + "'";
    return false;
  }
  // Rows: from arguments, row after row of as many cells as there are
  // columns; from standard input, a line a row with its cells split by tabs.
  std::vector<std::vector<std::string>> rows;
  if (!o.items_from_input) {
    if (o.items.size() % o.columns.size()) {
      *error = std::to_string(o.items.size()) + " cells do not make rows of " + std::to_string(o.columns.size());
      return false;
    }
    for (size_t i = 0; i < o.items.size(); i += o.columns.size())
      rows.emplace_back(o.items.begin() + long(i), o.items.begin() + long(i + o.columns.size()));
  } else {
    for (const std::string& line : o.items) rows.push_back(split(line, '\t'));
  }
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
  if (!whole_row && (column.empty() || column.find_first_not_of("0123456789") != std::string::npos)) {
    *error = "--print-column takes a column number or ALL";
    return false;
  }
  Defaults d = defaults_of(Mode::Table);
  r->export_name = "ShowMultiListBox";
  r->arguments = {value_of(o, "--title", "Vantrel"), table, whole_row ? "-1" : column, value_of(o, "--width", d.width),
                  value_of(o, "--height", d.height), value_of(o, "--host", "0")};
  r->form = whole_row ? AnswerForm::Cells : AnswerForm::Text;
  r->cancel_answer = "";
  return true;
}

}  // namespace

bool is_options_form(const std::string& argument) { return argument.size() > 2 && argument.compare(0, 2, "--") == 0; }

Parsed parse_options(const std::vector<std::string>& options,
                     const std::function<bool(std::vector<std::string>*)>& read_input) {
  Parsed parsed;
  Options o;
  if (!read_options(options, &o, &parsed.error, &parsed.help, &parsed.version) || parsed.help || parsed.version)
    return parsed;
  Request& r = parsed.request;
  r.cancel_answer = "CANCEL";
  Defaults d = defaults_of(o.mode);
  std::string title = value_of(o, "--title", "Vantrel");
  std::string width = value_of(o, "--width", d.width), height = value_of(o, "--height", d.height);
  std::string host = value_of(o, "--host", "0");
  bool lists_items = o.mode == Mode::List || o.mode == Mode::Combo || o.mode == Mode::Table;
  if (!lists_items && !o.items.empty()) {
    parsed.error = "unexpected argument '" + o.items.front() + "'";
    return parsed;
  }
  if (lists_items && o.items.empty() && read_input) {
    if (!read_input(&o.items)) {
      parsed.error = "cannot read the items from standard input";
      return parsed;
    }
    o.items_from_input = true;
  }
  if (o.mode == Mode::List && o.columns.size() > 1) o.mode = Mode::Table;  // several columns make a table
  switch (o.mode) {
    case Mode::Entry:
      r.export_name = "ShowInput";
      r.arguments = {title, value_of(o, "--text", ""), width, height, host};
      break;
    case Mode::Calendar:
      r.export_name = "ShowCal";
      r.arguments = {title, value_of(o, "--date", "TODAY"), value_of(o, "--format", "ISO"), host};
      break;
    case Mode::List:
    case Mode::Combo:
      if (char c = separator_in(o.items, "|")) {
        parsed.error = std::string("an item cannot hold '") + c + "'";
        return parsed;
      }
      if (o.mode == Mode::List && !o.columns.empty() && !o.values.count("--title")) title = o.columns.front();
      r.export_name = o.mode == Mode::List ? "ShowListBox" : "ShowComboBox";
      r.arguments = {title, item_list(o.items), width, height, host};
      break;
    case Mode::Drop:
      r.export_name = "ShowDragnDrop";
      r.arguments = {title, width, height, host};
      r.form = AnswerForm::Lines;
      break;
    case Mode::Table:
      if (!build_table(o, &r, &parsed.error)) return parsed;
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
      return text.empty() ? text : text + "\n";
    case AnswerForm::Lines:
      for (char c : answer) text += c == '|' ? '\n' : c;
      return text;
    case AnswerForm::Cells:
      text = answer;
      if (!text.empty() && text.back() == '|') text.pop_back();
      return text.empty() ? text : text + "\n";
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
         "calendar take --width and --height in pixels at 96 dpi (defaults: entry 300x200,\n"
         "list 250x300, combo 250x100, drop 400x300, table 500x350, about 300x250).\n"
         "Values may also be given as --option=VALUE; \"--\" ends the options.\n"
         "\n"
         "Items and rows: the arguments after the options, or else standard input, one a\n"
         "line (a table's cells split by tabs there; as arguments, row after row of as many\n"
         "cells as there are columns). A list with two or more --column is a table. An item\n"
         "cannot hold '|', a cell or a column title ';' or '|': that is a usage error.\n"
         "\n"
         "The answer goes to standard output: the text, date, item or cell chosen; --drop\n"
         "prints one file a line; --table --print-column ALL prints the row's cells joined\n"
         "by '|'; --about prints OK, Web or Email.\n"
         "Exit code: 0 for an answer, 1 when the person cancelled (for --table also OK with\n"
         "no row), 2 for a usage error (with a message on standard error), 3 when\n"
         "vantrel.dll cannot be loaded.\n";
}

}  // namespace cli
