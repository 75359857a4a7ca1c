#pragma once
// The options form of vantrel.exe, in the style of the Unix dialog tools:
//   vantrel --entry --title T --text TEXT
//   vantrel --list --title T ITEM...       (or items on standard input, one per line)
// Each form becomes one call of an export with text arguments, and says how
// its answer is printed and which answer means the person cancelled.
#include <functional>
#include <string>
#include <vector>

namespace cli {

enum class AnswerForm {
  Text,       // as the dialog answers it
  Lines,      // "a|b|" printed one name a line
  Cells,      // a whole row "a|b|" printed "a|b"
};

struct Request {
  std::string export_name;
  std::vector<std::string> arguments;  // in the export's order
  AnswerForm form = AnswerForm::Text;
  std::string cancel_answer;  // the answer that means Cancel
  bool can_cancel = true;     // the about box has no Cancel
};

struct Parsed {
  bool help = false;
  bool version = false;
  std::string error;  // a usage error, for standard error; empty when none
  Request request;
};

// Whether `argument` starts the options form (rather than naming an export).
bool is_options_form(const std::string& argument);

// Reads the options (argv without the program). `read_input` gives the
// lines of standard input, asked for only when items or rows are needed and
// none were given as arguments; null when there is no input to read.
Parsed parse_options(const std::vector<std::string>& options,
                     const std::function<bool(std::vector<std::string>*)>& read_input);

// The text to print for an answer of the request.
std::string printed_answer(const Request& request, const std::string& answer);

// What --help prints.
const char* options_help();

}  // namespace cli
