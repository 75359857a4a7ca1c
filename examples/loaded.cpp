// C++, loading vantrel.dll at run time; the answer copied into a std::string.
#include <windows.h>

#include <iostream>
#include <string>

class Vantrel {
 public:
  Vantrel() : module_(LoadLibraryA("vantrel.dll")) {}
  ~Vantrel() {
    if (module_) FreeLibrary(module_);
  }
  Vantrel(const Vantrel&) = delete;
  Vantrel& operator=(const Vantrel&) = delete;

  // The chosen date in ISO form (yyyy-mm-dd), or "CANCEL".
  std::string date(const std::string& title, const std::string& shown = "TODAY") const {
    using ShowCal = const char*(__stdcall*)(const char*, const char*, const char*, const char*);
    auto show = module_ ? reinterpret_cast<ShowCal>(reinterpret_cast<void*>(GetProcAddress(module_, "ShowCal")))
                        : nullptr;
    return show ? show(title.c_str(), shown.c_str(), "ISO", "0") : "CANCEL";
  }

 private:
  HMODULE module_;
};

int main() {
  Vantrel vantrel;
  std::string day = vantrel.date("Delivery date");
  if (day != "CANCEL") std::cout << "Delivery on " << day << "\n";
}
