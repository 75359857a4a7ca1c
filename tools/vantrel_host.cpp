// vantrel.exe: calls one export of the vantrel.dll beside it and prints the
// answer. Two forms: the raw one names the export and passes its texts as
// they stand; the options form (cli/command_line.h) is for scripts. Every
// character arrives: the arguments are read as UTF-16 and handed to the
// wide exports, standard input is read as UTF-8, and answers go out as UTF-8
// to a pipe or file and as UTF-16 to a console.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "cli/platform.h"
#include "runtime/text_code_page.h"

namespace {

struct ExportInfo {
  const char* name;
  const char* arguments;
  int count;
};

constexpr ExportInfo exports[] = {
    {"ShowAbout", "title heading subheading image_file body web_address email_address width height host_window", 10},
    {"ShowCal", "title date|TODAY format(ISO|US|EUR) host_window", 4},
    {"ShowComboBox", "title items(a|b|c|) width height host_window", 5},
    {"ShowDragnDrop", "title width height host_window", 4},
    {"ShowInput", "title text width height host_window", 5},
    {"ShowListBox", "title items(a|b|c|) width height host_window", 5},
    {"ShowMultiListBox", "title table result_column width height host_window", 6},
};

using Text = const wchar_t*;
using Call4 = Text(__stdcall*)(Text, Text, Text, Text);
using Call5 = Text(__stdcall*)(Text, Text, Text, Text, Text);
using Call6 = Text(__stdcall*)(Text, Text, Text, Text, Text, Text);
using Call10 = Text(__stdcall*)(Text, Text, Text, Text, Text, Text, Text, Text, Text, Text);

std::wstring utf16(const std::string& text) {
  std::wstring out(vantrel::utf16_from_utf8(text.data(), text.size(), nullptr), L'\0');
  vantrel::utf16_from_utf8(text.data(), text.size(), &out[0]);
  return out;
}

std::string utf8(const std::wstring& text) {
  std::string out(vantrel::utf8_from_utf16(text.data(), text.size(), nullptr), '\0');
  vantrel::utf8_from_utf16(text.data(), text.size(), &out[0]);
  return out;
}

// The program's arguments, read from the UTF-16 command line, as UTF-8.
std::vector<std::string> arguments_of_command_line() {
  int count = 0;
  wchar_t** wide = host::command_line_arguments(&count);
  std::vector<std::string> arguments;
  for (int i = 1; wide && i < count; ++i) arguments.push_back(utf8(wide[i]));
  LocalFree(wide);
  return arguments;
}

// UTF-8 text out: as UTF-16 to a console, which shows every character so,
// and as its bytes to a pipe or file.
void write_text(FILE* stream, const std::string& text) {
  std::fflush(stream);
  HANDLE handle = GetStdHandle(stream == stderr ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
  DWORD mode = 0, written = 0;
  if (GetConsoleMode(handle, &mode)) {
    std::wstring wide = utf16(text);
    WriteConsoleW(handle, wide.data(), DWORD(wide.size()), &written, nullptr);
    return;
  }
  std::fputs(text.c_str(), stream);
  std::fflush(stream);
}

// The help, on standard output when asked for and on standard error after a usage error.
void print_help(FILE* to) {
  std::fprintf(to, "Vantrel %s: native dialogs from the command line.\n\n", VANTREL_VERSION);
  std::fprintf(to, "The raw form calls an export with its texts as they stand:\n");
  std::fprintf(to, "  vantrel <ExportName> <argument>...\n\n");
  for (const ExportInfo& e : exports) std::fprintf(to, "  %-17s %s\n", e.name, e.arguments);
  std::fprintf(to, "\nMissing arguments are passed as null (read as \"\"); numbers are decimal text.\n\n");
  std::fputs(cli::options_help(), to);
}

// How far a dialog may reach: the desktop across every monitor.
cli::Screen screen_size() {
  cli::Screen screen;
  auto metric = host::user().get_system_metrics;
  int width = metric ? metric(SM_CXVIRTUALSCREEN) : 0, height = metric ? metric(SM_CYVIRTUALSCREEN) : 0;
  if (width > 0) screen.width = width;
  if (height > 0) screen.height = height;
  return screen;
}

// Standard input's lines, unless it is the console (nothing was piped in).
// Its bytes are read as they come: the C runtime's text mode would end the
// input at a Ctrl-Z.
bool read_input_lines(std::vector<std::string>* lines, std::string* error) {
  HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  DWORD type = GetFileType(input);
  if (type == FILE_TYPE_CHAR || type == FILE_TYPE_UNKNOWN) return true;
  std::string bytes;
  char chunk[65536];
  DWORD read = 0;
  while (ReadFile(input, chunk, sizeof chunk, &read, nullptr) && read) bytes.append(chunk, read);
  DWORD failure = GetLastError();
  if (failure != ERROR_SUCCESS && failure != ERROR_BROKEN_PIPE && failure != ERROR_HANDLE_EOF) {
    *error = "cannot read standard input";
    return false;
  }
  return cli::input_lines(bytes, lines, error);
}

// Which button ended the dialog, told apart from its answer: an item named
// "CANCEL" or an empty cell is an answer too. The dialog runs on this
// thread, so hooks of this thread see every click on its buttons, sent
// (a click) or posted, and whether something was chosen at that moment.
class EndingWatch {
 public:
  explicit EndingWatch(cli::Choice choice) {
    watch_ = this;
    choice_ = choice;
    DWORD thread = GetCurrentThreadId();
    const host::UserFunctions& user = host::user();
    if (!user.set_windows_hook || !user.unhook_windows_hook || !user.call_next_hook || !user.get_class_name ||
        !user.get_dialog_item || !user.send_message)
      return;
    sent_ = user.set_windows_hook(WH_CALLWNDPROC, on_sent, nullptr, thread);
    posted_ = user.set_windows_hook(WH_GETMESSAGE, on_posted, nullptr, thread);
  }
  ~EndingWatch() {
    if (sent_) host::user().unhook_windows_hook(sent_);
    if (posted_) host::user().unhook_windows_hook(posted_);
    watch_ = nullptr;
  }
  EndingWatch(const EndingWatch&) = delete;
  EndingWatch& operator=(const EndingWatch&) = delete;

  // OK (or any button of the about box, which has no Cancel) with what had
  // to be chosen; not when the dialog ended otherwise (a quit, say).
  bool answered() const { return button_ != 0 && button_ != CANCEL_BUTTON && chosen_; }

 private:
  // OK and Cancel; the about box's buttons are 3 to 5.
  static constexpr int OK_BUTTON = 1, CANCEL_BUTTON = 2, LAST_BUTTON = 5;

  static bool is_dialog(HWND window) {
    char name[16] = {};
    return host::user().get_class_name(window, name, sizeof name) && strcmp(name, "WindowClass_0") == 0;
  }
  static bool something_chosen(HWND dialog) {
    switch (watch_->choice_) {
      case cli::Choice::Item: {
        const host::UserFunctions& user = host::user();
        HWND items = user.get_dialog_item(dialog, 0);
        char name[16] = {};
        user.get_class_name(items, name, sizeof name);
        UINT selected = _stricmp(name, "ComboBox") == 0 ? CB_GETCURSEL : LB_GETCURSEL;
        return user.send_message(items, selected, 0, 0) >= 0;
      }
      case cli::Choice::Row:
        return host::user().send_message(host::user().get_dialog_item(dialog, 3), LVM_GETSELECTEDCOUNT, 0, 0) > 0;
      case cli::Choice::None:
        break;
    }
    return true;
  }
  static void note(HWND window, UINT message, WPARAM wparam) {
    if (!watch_ || message != WM_COMMAND || HIWORD(wparam) != BN_CLICKED || !is_dialog(window)) return;
    int button = LOWORD(wparam);
    if (button < OK_BUTTON || button > LAST_BUTTON) return;  // a picture's click, say
    watch_->button_ = button;
    watch_->chosen_ = button == CANCEL_BUTTON || something_chosen(window);
  }
  static LRESULT CALLBACK on_sent(int code, WPARAM wparam, LPARAM lparam) {
    if (code == HC_ACTION) {
      auto* sent = reinterpret_cast<const CWPSTRUCT*>(lparam);
      note(sent->hwnd, sent->message, sent->wParam);
    }
    return host::user().call_next_hook(nullptr, code, wparam, lparam);
  }
  static LRESULT CALLBACK on_posted(int code, WPARAM wparam, LPARAM lparam) {
    if (code == HC_ACTION && wparam == PM_REMOVE) {
      auto* posted = reinterpret_cast<const MSG*>(lparam);
      note(posted->hwnd, posted->message, posted->wParam);
    }
    return host::user().call_next_hook(nullptr, code, wparam, lparam);
  }

  static inline EndingWatch* watch_ = nullptr;
  cli::Choice choice_ = cli::Choice::None;
  HHOOK sent_ = nullptr, posted_ = nullptr;
  int button_ = 0;
  bool chosen_ = false;
};

// An export by its name, with or without the W of its wide form.
const ExportInfo* find_export(const char* name) {
  std::string plain = name;
  if (plain.size() > 1 && (plain.back() == 'W' || plain.back() == 'w')) {
    plain.pop_back();
    if (const ExportInfo* wide = find_export(plain.c_str())) return wide;
    plain = name;
  }
  for (const ExportInfo& e : exports)
    if (_stricmp(e.name, plain.c_str()) == 0) return &e;
  return nullptr;
}

Text call_export(FARPROC address, int count, Text* a) {
  switch (count) {
    case 4: return reinterpret_cast<Call4>(reinterpret_cast<void*>(address))(a[0], a[1], a[2], a[3]);
    case 5: return reinterpret_cast<Call5>(reinterpret_cast<void*>(address))(a[0], a[1], a[2], a[3], a[4]);
    case 6: return reinterpret_cast<Call6>(reinterpret_cast<void*>(address))(a[0], a[1], a[2], a[3], a[4], a[5]);
    default: return reinterpret_cast<Call10>(reinterpret_cast<void*>(address))(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8], a[9]);
  }
}

HMODULE load_library_beside_program() {
  wchar_t path[MAX_PATH];
  DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  wchar_t* slash = std::wcsrchr(path, L'\\');
  if (!slash || size_t(slash + 1 - path) + sizeof("vantrel.dll") > MAX_PATH) return nullptr;
  std::wcscpy(slash + 1, L"vantrel.dll");
  return LoadLibraryW(path);
}

// The wide form of an export of the table.
FARPROC find_wide_export(HMODULE library, const ExportInfo* info) {
  return library && info ? GetProcAddress(library, (std::string(info->name) + "W").c_str()) : nullptr;
}

// Calls the export with the texts (null beyond them) and gives its answer as UTF-8.
std::string call_with_texts(FARPROC address, const ExportInfo* info, const std::vector<std::string>& texts) {
  std::vector<std::wstring> wide;
  for (const std::string& text : texts) wide.push_back(utf16(text));
  Text arguments[10] = {};
  for (size_t i = 0; i < wide.size() && i < 10; ++i) arguments[i] = wide[i].c_str();
  Text answer = call_export(address, info->count, arguments);
  return answer ? utf8(answer) : "";
}

// The options form: 0 for an answer, 1 for Cancel, 2 for a usage error, 3
// when the library cannot be loaded.
int run_options(const std::vector<std::string>& options) {
  cli::Parsed parsed = cli::parse_options(options, read_input_lines, screen_size());
  if (parsed.help) {
    print_help(stdout);
    return 0;
  }
  if (parsed.version) {
    std::printf("vantrel %s\n", VANTREL_VERSION);
    return 0;
  }
  if (!parsed.error.empty()) {
    write_text(stderr, "vantrel: " + parsed.error + " (see vantrel --help)\n");
    return 2;
  }
  const cli::Request& request = parsed.request;
  const ExportInfo* info = find_export(request.export_name.c_str());
  HMODULE library = load_library_beside_program();
  FARPROC address = find_wide_export(library, info);
  if (!address) {
    std::fprintf(stderr, "vantrel: cannot load vantrel.dll or find %sW\n", request.export_name.c_str());
    return 3;
  }
  bool answered = false;
  std::string text;
  {
    EndingWatch ending(request.choice);
    text = call_with_texts(address, info, request.arguments);
    answered = ending.answered() || !request.can_cancel;
  }
  if (answered) write_text(stdout, cli::printed_answer(request, text));
  FreeLibrary(library);
  return answered ? 0 : 1;
}

}  // namespace

int main() {
  host::restrict_library_search();
  std::vector<std::string> arguments = arguments_of_command_line();
  if (!arguments.empty() && arguments[0] != "--help" && cli::is_options_form(arguments[0])) return run_options(arguments);
  if (arguments.empty()) {
    print_help(stderr);
    return 2;
  }
  if (arguments[0] == "--help" || arguments[0] == "-h") {
    print_help(stdout);
    return 0;
  }
  const ExportInfo* info = find_export(arguments[0].c_str());
  if (!info) {
    write_text(stderr, "vantrel: no export named '" + arguments[0] + "' (see --help)\n");
    return 2;
  }
  if (int(arguments.size()) - 1 > info->count) {
    std::fprintf(stderr, "vantrel: %s takes %d arguments: %s\n", info->name, info->count, info->arguments);
    return 2;
  }
  HMODULE library = load_library_beside_program();
  FARPROC address = find_wide_export(library, info);
  if (!address) {
    std::fprintf(stderr, "vantrel: cannot load vantrel.dll or find %sW\n", info->name);
    return 3;
  }
  std::string answer = call_with_texts(address, info, std::vector<std::string>(arguments.begin() + 1, arguments.end()));
  write_text(stdout, answer + "\n");
  FreeLibrary(library);
  return 0;
}
