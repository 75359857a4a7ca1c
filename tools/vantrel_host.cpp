// vantrel.exe: calls one export of the vantrel.dll beside it with the texts
// given on the command line and prints the answer.
#include <windows.h>

#include <cstdio>
#include <cstring>

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
  std::printf("usage: vantrel <ExportName> <argument>...\n\n");
  for (const ExportInfo& e : exports) std::printf("  %-17s %s\n", e.name, e.arguments);
  std::printf("\nMissing arguments are passed as null (read as \"\"); numbers are decimal text.\n");
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

}  // namespace

int main(int argc, char** argv) {
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
