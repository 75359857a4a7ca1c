// C++, loading vantrel.dll at run time from the program's own folder, by its
// full path (a bare name is looked for in the current folder too); the answer
// copied into a std::string.
#include <windows.h>

#include <iostream>
#include <string>

class Vantrel {
 public:
  Vantrel() : module_(load_beside_program()) {}
  ~Vantrel() {
    if (module_) FreeLibrary(module_);
  }
  Vantrel(const Vantrel&) = delete;
  Vantrel& operator=(const Vantrel&) = delete;
  bool loaded() const { return module_ != nullptr; }

  // The chosen date in ISO form (yyyy-mm-dd), or "CANCEL".
  std::string date(const std::string& title, const std::string& shown = "TODAY") const {
    using ShowCal = const char*(__stdcall*)(const char*, const char*, const char*, const char*);
    auto show = module_ ? reinterpret_cast<ShowCal>(reinterpret_cast<void*>(GetProcAddress(module_, "ShowCal")))
                        : nullptr;
    return show ? show(title.c_str(), shown.c_str(), "ISO", "0") : "CANCEL";
  }

 private:
  static HMODULE load_beside_program() {
    std::wstring path(MAX_PATH, L'\0');
    DWORD length = GetModuleFileNameW(nullptr, &path[0], MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    path.resize(length);
    return LoadLibraryW((path.substr(0, path.find_last_of(L'\\') + 1) + L"vantrel.dll").c_str());
  }
  HMODULE module_;
};

int main() {
  Vantrel vantrel;
  if (!vantrel.loaded()) {
    std::cerr << "vantrel.dll is not beside this program\n";
    return 1;
  }
  std::string day = vantrel.date("Delivery date");
  if (day != "CANCEL") std::cout << "Delivery on " << day << "\n";
}
