#pragma once
// The options form of vantrel.exe, in the style of the Unix dialog tools:
//   vantrel --entry --title T --text TEXT
//   vantrel --list --title T ITEM...       (or items on standard input, one per line)
// Each form becomes one call of an export with text arguments, and says how
// its answer is printed and what the person must have chosen for it to be
// an answer.
#include <functional>
#include <string>
#include <vector>

namespace cli {

enum class AnswerForm {
  Text,   // as the dialog answers it
  Lines,  // "a|b|" printed one name a line
  Cells,  // a whole row "a|b|" printed "a|b"
};

// What must be chosen when OK ends the dialog for its answer to count: the
// list's and the combo box's item (gadget 0) or the table's row (gadget 3).
enum class Choice { None, Item, Row };

struct Request {
  std::string export_name;
  std::vector<std::string> arguments;  // in the export's order
  AnswerForm form = AnswerForm::Text;
  Choice choice = Choice::None;
  bool can_cancel = true;  // the about box has no Cancel
};

struct Parsed {
  bool help = false;
  bool version = false;
  std::string error;  // a usage error, for standard error; empty when none
  Request request;
};

// How far sizes may reach: the screen's width and height in pixels.
struct Screen {
  int width = 32767, height = 32767;
};

// Whether `argument` starts the options form (rather than naming an export).
bool is_options_form(const std::string& argument);

// Standard input's bytes as lines of UTF-8: "\n" or "\r\n" ends a line, a
// last line needs no end, and every other byte (a Ctrl-Z among them) is
// text. A byte-order mark of UTF-8 is dropped, and one of UTF-16 (either
// order) makes the rest UTF-16. False with `error` set when a line holds a
// NUL or is not UTF-8.
bool input_lines(const std::string& bytes, std::vector<std::string>* lines, std::string* error);

// Reads the options (argv without the program). `read_input` gives the
// lines of standard input (false with a message when it cannot), asked for
// only when items or rows are needed and none were given as arguments.
using InputReader = std::function<bool(std::vector<std::string>*, std::string*)>;
Parsed parse_options(const std::vector<std::string>& options, const InputReader& read_input, Screen screen = {});

// The text to print for an answer of the request: every answer ends with
// a line end, an empty one too; a list of files has one per name.
std::string printed_answer(const Request& request, const std::string& answer);

// What --help prints.
const char* options_help();

}  // namespace cli
