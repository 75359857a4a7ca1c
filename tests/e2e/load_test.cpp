// Loads vantrel.dll the way a host does and checks what it exports and imports.
#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <thread>
#include <cctype>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "harness.h"

namespace {

struct ExportName {
  const char* name;
  WORD ordinal;
  int arguments;
  const char* cancelled;  // the answer when the person presses Cancel (the about box: OK)
};

constexpr ExportName expected_exports[] = {
    {"ShowAbout", 1, 10, "OK"},          {"ShowCal", 2, 4, "CANCEL"},     {"ShowComboBox", 3, 5, "CANCEL"},
    {"ShowDragnDrop", 4, 4, "CANCEL"},   {"ShowInput", 5, 5, "CANCEL"}, {"ShowListBox", 6, 5, "CANCEL"},
    {"ShowMultiListBox", 7, 6, ""},
};

std::string library_path() {
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string p(path, length);
  return p.substr(0, p.find_last_of('\\') + 1) + "vantrel.dll";
}

// The DLL file as an image laid out by section, for reading its directories;
// a 32-bit (PE32) or a 64-bit (PE32+) file alike.
class PeImage {
 public:
  explicit PeImage(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    file_.assign(std::istreambuf_iterator<char>(in), {});
  }
  // The headers common to both formats up to the optional header's magic, or null.
  const IMAGE_NT_HEADERS32* headers() const {
    if (file_.size() < sizeof(IMAGE_DOS_HEADER)) return nullptr;
    auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(file_.data());
    if (dos->e_magic != IMAGE_DOS_SIGNATURE || size_t(dos->e_lfanew) + sizeof(IMAGE_NT_HEADERS64) > file_.size())
      return nullptr;
    auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(file_.data() + dos->e_lfanew);
    return nt->Signature == IMAGE_NT_SIGNATURE ? nt : nullptr;
  }
  bool is_64_bit() const { return headers()->OptionalHeader.Magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC; }
  // The file bytes at a relative virtual address, or null.
  const char* at(DWORD rva) const {
    const IMAGE_NT_HEADERS32* nt = headers();
    auto* section = IMAGE_FIRST_SECTION(nt);
    for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++section) {
      DWORD size = std::max(section->Misc.VirtualSize, section->SizeOfRawData);
      if (rva >= section->VirtualAddress && rva < section->VirtualAddress + size) {
        size_t offset = rva - section->VirtualAddress + section->PointerToRawData;
        return offset < file_.size() ? file_.data() + offset : nullptr;
      }
    }
    return nullptr;
  }
  const IMAGE_DATA_DIRECTORY& directory(int which) const {
    if (is_64_bit()) return reinterpret_cast<const IMAGE_NT_HEADERS64*>(headers())->OptionalHeader.DataDirectory[which];
    return headers()->OptionalHeader.DataDirectory[which];
  }

 private:
  std::vector<char> file_;
};

std::string lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
  return s;
}

using Call4 = const char*(__stdcall*)(const char*, const char*, const char*, const char*);
using Call5 = const char*(__stdcall*)(const char*, const char*, const char*, const char*, const char*);
using Call6 = const char*(__stdcall*)(const char*, const char*, const char*, const char*, const char*, const char*);
using Call10 = const char*(__stdcall*)(const char*, const char*, const char*, const char*, const char*, const char*,
                                       const char*, const char*, const char*, const char*);

// Calls an export with its arguments all set to `text`.
const char* call_with(FARPROC address, int arguments, const char* text) {
  const char* t = text;
  switch (arguments) {
    case 4: return reinterpret_cast<Call4>(reinterpret_cast<void*>(address))(t, t, t, t);
    case 5: return reinterpret_cast<Call5>(reinterpret_cast<void*>(address))(t, t, t, t, t);
    case 6: return reinterpret_cast<Call6>(reinterpret_cast<void*>(address))(t, t, t, t, t, t);
    default: return reinterpret_cast<Call10>(reinterpret_cast<void*>(address))(t, t, t, t, t, t, t, t, t, t);
  }
}

}  // namespace

// The files that ship: this build's DLL and, beside a 64-bit build, the
// 32-bit one that the build names (it cannot be loaded here, only read).
struct ShippedDll {
  std::string path;
  WORD machine;
};
std::vector<ShippedDll> shipped_dlls() {
  std::vector<ShippedDll> dlls = {
      {library_path(), WORD(sizeof(void*) == 8 ? IMAGE_FILE_MACHINE_AMD64 : IMAGE_FILE_MACHINE_I386)}};
  char path[MAX_PATH];
  DWORD length = GetEnvironmentVariableA("VANTREL_X86_DLL", path, MAX_PATH);
  if (length && length < MAX_PATH) dlls.push_back({std::string(path, length), IMAGE_FILE_MACHINE_I386});
  return dlls;
}

// The fixed seven at ordinals 1 to 7 and their wide forms at 8 to 14, and
// nothing more, under the same plain names in both architectures.
TEST(LibraryFile, EachArchitectureExportsExactlyTheSevenDialogsAndTheirWideForms) {
  for (const ShippedDll& dll : shipped_dlls()) {
    SCOPED_TRACE(dll.path);
    PeImage image(dll.path);
    const IMAGE_NT_HEADERS32* nt = image.headers();
    ASSERT_NE(nt, nullptr);
    EXPECT_EQ(nt->FileHeader.Machine, dll.machine);
    EXPECT_TRUE(nt->FileHeader.Characteristics & IMAGE_FILE_DLL);
    EXPECT_EQ(nt->OptionalHeader.Magic, dll.machine == IMAGE_FILE_MACHINE_I386 ? IMAGE_NT_OPTIONAL_HDR32_MAGIC
                                                                                : IMAGE_NT_OPTIONAL_HDR64_MAGIC);

    auto* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(
        image.at(image.directory(IMAGE_DIRECTORY_ENTRY_EXPORT).VirtualAddress));
    ASSERT_NE(exports, nullptr);
    ASSERT_EQ(exports->NumberOfNames, 14u);
    ASSERT_EQ(exports->NumberOfFunctions, 14u);
    ASSERT_EQ(exports->Base, 1u);
    auto* names = reinterpret_cast<const DWORD*>(image.at(exports->AddressOfNames));
    auto* ordinals = reinterpret_cast<const WORD*>(image.at(exports->AddressOfNameOrdinals));
    // The names stand in alphabetical order: each fixed export, then its wide form.
    for (DWORD i = 0; i < exports->NumberOfNames; ++i) {
      const ExportName& e = expected_exports[i / 2];
      bool wide = i % 2 == 1;
      EXPECT_EQ(std::string(image.at(names[i])), std::string(e.name) + (wide ? "W" : ""));
      EXPECT_EQ(ordinals[i] + exports->Base, e.ordinal + (wide ? 7u : 0u));
    }
  }
}

namespace {

// One text of a file's version resource, in the language the build writes.
std::string version_text(const std::string& file, const char* name) {
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeA(file.c_str(), &ignored);
  if (!size) return "<no version resource>";
  std::vector<char> data(size);
  if (!GetFileVersionInfoA(file.c_str(), 0, size, data.data())) return "<unreadable>";
  std::string path = std::string("\\StringFileInfo\\040904B0\\") + name;
  char* text = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(data.data(), path.c_str(), reinterpret_cast<void**>(&text), &length) || !text) return "<none>";
  return text;
}

}  // namespace

// A host, an installer and Explorer's properties read the version of both
// files of each architecture.
TEST(LibraryFile, VersionResourcesNameTheProductAndItsVersion) {
  for (const ShippedDll& shipped : shipped_dlls()) {
    std::string dll = shipped.path;
    std::string exe = dll.substr(0, dll.find_last_of("\\/") + 1) + "vantrel.exe";
    for (const std::string& file : {dll, exe}) {
      EXPECT_EQ(version_text(file, "ProductName"), "Vantrel") << file;
      EXPECT_EQ(version_text(file, "ProductVersion"), VANTREL_VERSION) << file;
      EXPECT_EQ(version_text(file, "FileVersion"), VANTREL_VERSION) << file;
      EXPECT_NE(version_text(file, "LegalCopyright").find("Copyright"), std::string::npos) << file;
      EXPECT_NE(version_text(file, "FileDescription").find("Vantrel"), std::string::npos) << file;
    }
    EXPECT_EQ(version_text(dll, "OriginalFilename"), "vantrel.dll");
    EXPECT_EQ(version_text(exe, "OriginalFilename"), "vantrel.exe");
    DWORD ignored = 0;
    std::vector<char> data(GetFileVersionInfoSizeA(dll.c_str(), &ignored));
    ASSERT_TRUE(GetFileVersionInfoA(dll.c_str(), 0, DWORD(data.size()), data.data())) << dll;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileType, DWORD(VFT_DLL));
    char numbers[32];
    wsprintfA(numbers, "%u.%u.%u", HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
              HIWORD(fixed->dwFileVersionLS));
    EXPECT_STREQ(numbers, VANTREL_VERSION);
  }
}

TEST(LibraryFile, EachArchitectureImportsOnlySystemLibraries) {
  const std::vector<std::string> system = {"kernel32.dll", "user32.dll", "gdi32.dll",  "comctl32.dll",
                                           "shell32.dll",  "ole32.dll",  "msvcrt.dll", "advapi32.dll"};
  for (const ShippedDll& dll : shipped_dlls()) {
    PeImage image(dll.path);
    ASSERT_NE(image.headers(), nullptr) << dll.path;
    auto* import = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(
        image.at(image.directory(IMAGE_DIRECTORY_ENTRY_IMPORT).VirtualAddress));
    ASSERT_NE(import, nullptr) << dll.path;
    int count = 0;
    for (; import->Name; ++import, ++count) {
      std::string name = lower(image.at(import->Name));
      EXPECT_NE(std::find(system.begin(), system.end(), name), system.end()) << dll.path << " imports " << name;
    }
    EXPECT_GT(count, 0) << dll.path;
  }
}

namespace {

// The names each library of the image's import table gives, by library.
std::vector<std::pair<std::string, std::vector<std::string>>> imported_names(const PeImage& image) {
  std::vector<std::pair<std::string, std::vector<std::string>>> names;
  auto* import = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(
      image.at(image.directory(IMAGE_DIRECTORY_ENTRY_IMPORT).VirtualAddress));
  for (; import && import->Name; ++import) {
    names.push_back({lower(image.at(import->Name)), {}});
    DWORD entry = import->OriginalFirstThunk ? import->OriginalFirstThunk : import->FirstThunk;
    size_t width = image.is_64_bit() ? 8 : 4;
    for (const char* thunk = image.at(entry); thunk; thunk += width) {
      uint64_t value = 0;
      memcpy(&value, thunk, width);
      if (!value) break;
      bool by_ordinal = value >> (width * 8 - 1);
      if (!by_ordinal) names.back().second.push_back(image.at(DWORD(value)) + 2);  // past the hint
    }
  }
  return names;
}

}  // namespace

// The DLL loads libraries at run time from the system folder only: no
// loader function that takes a bare name and searches the host's folder.
// The console host imports KERNEL32 and the C runtime alone, so that the
// loader looks for nothing before it has restricted its own search, and it
// carries its own manifest, so that a manifest file beside it is not read.
TEST(LibraryFile, NothingIsLoadedByABareNameAndTheConsoleHostImportsTheKernelAlone) {
  for (const ShippedDll& dll : shipped_dlls()) {
    std::string exe = dll.path.substr(0, dll.path.find_last_of("\\/") + 1) + "vantrel.exe";
    // The 32-bit compiler's start-up code imports LoadLibraryA to pin its
    // unwinder's library when some other module has loaded it already (a
    // loaded module is found by its name before any folder is searched).
    std::vector<std::string> bare = {"LoadLibraryW", "LoadLibraryExA"};
    if (dll.machine != IMAGE_FILE_MACHINE_I386) bare.push_back("LoadLibraryA");
    for (const auto& [library, names] : imported_names(PeImage(dll.path)))
      for (const std::string& loader : bare)
        EXPECT_EQ(std::find(names.begin(), names.end(), loader), names.end()) << dll.path << " imports " << loader;
    auto exe_imports = imported_names(PeImage(exe));
    EXPECT_FALSE(exe_imports.empty()) << exe;
    for (const auto& [library, names] : exe_imports)
      EXPECT_TRUE(library == "kernel32.dll" || library == "msvcrt.dll") << exe << " imports " << library;
    HMODULE file = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(file, nullptr) << exe;
    EXPECT_NE(FindResourceA(file, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24)), nullptr) << exe << " has no manifest";
    FreeLibrary(file);
  }
}

TEST(LoadedLibrary, ExportsResolveByNameAndOrdinalAndAnswerText) {
  HMODULE library = LoadLibraryA(library_path().c_str());
  ASSERT_NE(library, nullptr);
  for (const ExportName& e : expected_exports) {
    FARPROC by_name = GetProcAddress(library, e.name);
    FARPROC by_ordinal = GetProcAddress(library, MAKEINTRESOURCEA(e.ordinal));
    ASSERT_NE(by_name, nullptr) << e.name;
    EXPECT_EQ(by_name, by_ordinal) << e.name;
    // The about box has no Cancel, and OK has the focus from the start.
    bool about = strcmp(e.name, "ShowAbout") == 0;
    for (const char* text : {"", "0", "not a number", static_cast<const char*>(nullptr)}) {
      std::string answer = harness::run_dialog(
          [&] { return call_with(by_name, e.arguments, text); },
          [about](harness::Dialog&) {
            if (!about) harness::press_key(VK_TAB, true);
            harness::press_key(VK_SPACE);
          },
          nullptr, harness::current_dialog());
      EXPECT_EQ(answer, e.cancelled) << e.name;
    }
  }
  EXPECT_TRUE(FreeLibrary(library));
}

// Presses Cancel on every dialog that waits, until told to stop: the person
// of a test that calls in faster than real input could answer.
class Canceller {
 public:
  Canceller() : thread_([this] {
      while (!stop_) {
        HWND dialog = harness::current_dialog();
        HWND cancel = dialog ? GetDlgItem(dialog, 2) : nullptr;
        if (cancel && IsWindowVisible(dialog)) {
          PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(2, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
        }
        Sleep(1);
      }
    }) {}
  ~Canceller() {
    stop_ = true;
    thread_.join();
  }

 private:
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

// The next free TLS slot: a library that takes one per load and keeps it
// makes a host that loads it often run out of them.
DWORD next_tls_slot() {
  DWORD slot = TlsAlloc();
  TlsFree(slot);
  return slot;
}

TEST(LoadedLibrary, LoadsAndUnloadsAThousandTimes) {
  std::string path = library_path();
  Canceller canceller;
  DWORD tls_before = next_tls_slot();
  for (int i = 0; i < 1000; ++i) {
    HMODULE library = LoadLibraryA(path.c_str());
    ASSERT_NE(library, nullptr) << i;
    FARPROC show_input = GetProcAddress(library, "ShowInput");
    ASSERT_NE(show_input, nullptr);
    const char* answer = call_with(show_input, 5, "60");
    ASSERT_STREQ(answer, "CANCEL") << i;
    ASSERT_TRUE(FreeLibrary(library)) << i;
    ASSERT_EQ(GetModuleHandleA("vantrel.dll"), nullptr) << "still loaded after FreeLibrary";
    ASSERT_EQ(harness::current_dialog(), nullptr) << "unloading left the dialog on screen";
  }
  EXPECT_EQ(next_tls_slot(), tls_before) << "every load kept a TLS slot";
}
