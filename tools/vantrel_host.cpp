// vantrel.exe: calls one export of the vantrel.dll beside it and prints the
// answer. Two forms: the raw one names the export and passes its texts as
// they stand; the options form (cli/command_line.h) is for scripts.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "cli/command_line.h"

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

using Text = const char*;
using Call4 = Text(__stdcall*)(Text, Text, Text, Text);
using Call5 = Text(__stdcall*)(Text, Text, Text, Text, Text);
using Call6 = Text(__stdcall*)(Text, Text, Text, Text, Text, Text);
using Call10 = Text(__stdcall*)(Text, Text, Text, Text, Text, Text, Text, Text, Text, Text);

void print_help() {
  std::printf("Vantrel %s: native dialogs from the command line.\n\n", VANTREL_VERSION);
  std::printf("The raw form calls an export with its texts as they stand:\n");
  std::printf("  vantrel <ExportName> <argument>...\n\n");
  for (const ExportInfo& e : exports) std::printf("  %-17s %s\n", e.name, e.arguments);
  std::printf("\nMissing arguments are passed as null (read as \"\"); numbers are decimal text.\n\n");
  std::fputs(cli::options_help(), stdout);
}

// Standard input's lines, unless it is the console (nothing was piped in).
bool read_input_lines(std::vector<std::string>* lines) {
  DWORD type = GetFileType(GetStdHandle(STD_INPUT_HANDLE));
  if (type == FILE_TYPE_CHAR || type == FILE_TYPE_UNKNOWN) return true;
  std::string line;
  while (std::getline(std::cin, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines->push_back(line);
  }
  return !std::cin.bad();
}

const ExportInfo* find_export(const char* name) {
  for (const ExportInfo& e : exports)
    if (_stricmp(e.name, name) == 0) return &e;
  return nullptr;
}

HMODULE load_library_beside_program() {
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  char* slash = std::strrchr(path, '\\');
  if (!slash || size_t(slash + 1 - path) + sizeof("vantrel.dll") > MAX_PATH) return nullptr;
  std::strcpy(slash + 1, "vantrel.dll");
  return LoadLibraryA(path);
}

Text call_export(FARPROC address, int count, Text* a) {
  switch (count) {
    case 4: return reinterpret_cast<Call4>(reinterpret_cast<void*>(address))(a[0], a[1], a[2], a[3]);
    case 5: return reinterpret_cast<Call5>(reinterpret_cast<void*>(address))(a[0], a[1], a[2], a[3], a[4]);
    case 6: return reinterpret_cast<Call6>(reinterpret_cast<void*>(address))(a[0], a[1], a[2], a[3], a[4], a[5]);
    default: return reinterpret_cast<Call10>(reinterpret_cast<void*>(address))(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8], a[9]);
  }
}

// The options form: 0 for an answer, 1 for Cancel, 2 for a usage error, 3
// when the library cannot be loaded.
int run_options(int argc, char** argv) {
  cli::Parsed parsed = cli::parse_options(std::vector<std::string>(argv + 1, argv + argc), read_input_lines);
  if (parsed.help) {
    print_help();
    return 0;
  }
  if (parsed.version) {
    std::printf("vantrel %s\n", VANTREL_VERSION);
    return 0;
  }
  if (!parsed.error.empty()) {
    std::fprintf(stderr, "vantrel: %s (see vantrel --help)\n", parsed.error.c_str());
    return 2;
  }
  const cli::Request& request = parsed.request;
  const ExportInfo* info = find_export(request.export_name.c_str());
  HMODULE library = load_library_beside_program();
  FARPROC address = library && info ? GetProcAddress(library, info->name) : nullptr;
  if (!address) {
    std::fprintf(stderr, "vantrel: cannot load vantrel.dll or find %s\n", request.export_name.c_str());
    return 3;
  }
  Text arguments[10] = {};
  for (size_t i = 0; i < request.arguments.size() && i < 10; ++i) arguments[i] = request.arguments[i].c_str();
  Text answer = call_export(address, info->count, arguments);
  std::string text = answer ? answer : "";
  bool cancelled = request.can_cancel && text == request.cancel_answer;
  if (!cancelled) std::fputs(cli::printed_answer(request, text).c_str(), stdout);
  std::fflush(stdout);
  FreeLibrary(library);
  return cancelled ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2 && std::strcmp(argv[1], "--help") && cli::is_options_form(argv[1])) return run_options(argc, argv);
  if (argc < 2 || !std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h")) {
    print_help();
    return argc < 2 ? 2 : 0;
  }
  const ExportInfo* info = find_export(argv[1]);
  if (!info) {
    std::fprintf(stderr, "vantrel: no export named '%s' (see --help)\n", argv[1]);
    return 2;
  }
  if (argc - 2 > info->count) {
    std::fprintf(stderr, "vantrel: %s takes %d arguments: %s\n", info->name, info->count, info->arguments);
    return 2;
  }
  HMODULE library = load_library_beside_program();
  FARPROC address = library ? GetProcAddress(library, info->name) : nullptr;
  if (!address) {
    std::fprintf(stderr, "vantrel: cannot load vantrel.dll or find %s\n", info->name);
    return 1;
  }
  Text arguments[10] = {};
  for (int i = 0; i < argc - 2; ++i) arguments[i] = argv[i + 2];
  Text answer = call_export(address, info->count, arguments);
  std::printf("%s\n", answer ? answer : "");
  std::fflush(stdout);
  FreeLibrary(library);
  return 0;
}
