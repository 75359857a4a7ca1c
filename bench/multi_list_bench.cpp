// ShowMultiListBox with 100,000 and 1,000,000 rows x 3 columns in one table
// text, in three shapes, measured as a host sees it and against the bare
// report list doing the same work at its best in the same run:
// - "names": a 9-letter name, a number 0-99 and a date, the table people
//   send (sorted by the number column, so most keys are equal);
// - "mixed": two words, an integer of up to seven digits and a date;
// - "world names": the names in Cyrillic, Greek, Hebrew, CJK and accented
//   Latin, through ShowMultiListBoxW only.
// The names at a million rows also go through ShowMultiListBoxW, held to
// the fixed call's figures on the same rows: the texts already UTF-16, as
// a host that speaks it holds them, its table measured by its UTF-8 size.
// For each:
// - from the call until the dialog's thread waits for input with the window
//   shown (it answers a message sent from another thread), and until its
//   list has painted the rows it shows;
// - a header click that sorts another column (the names by their text),
//   until it is answered: the middle of three, each the other way round;
// - the next call, from the call until its dialog waits: it replaces the
//   big one, as the bare list's destruction ends it;
// - the memory the dialog added while it waits: the commit charge a task
//   manager shows (GetProcessMemoryInfo's private usage) and the committed
//   private regions, each against the table's text; and the commit charge
//   the process keeps once the next call has replaced the dialog;
// - the export on OK, from the file's creation until it holds every byte
//   (watched from another thread), beside one WriteFile of the same bytes.
// Most hosts show a table once, as the first call of their process: each
// table is called first in fresh processes (this program run again with
// "--call N"), and the median over them is the headline; the same table's
// second call in each is reported beside it, warm. A table of one row,
// first in its process, shows what any first call pays. The bare lists
// run in this process, where no dialog ran. The bare list of a million
// rows is not destroyed: the control takes minutes for that, and the
// process's end takes it instead.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "bare_list.h"
#include "bench_common.h"
#include "fresh_process.h"

namespace {

using bench::now_seconds;
using bench::Row;

using Show6 = const char*(__stdcall*)(const char*, const char*, const char*, const char*, const char*, const char*);
using ShowW6 = const wchar_t*(__stdcall*)(const wchar_t*, const wchar_t*, const wchar_t*, const wchar_t*,
                                          const wchar_t*, const wchar_t*);

enum class Shape { Names, Mixed, WorldNames };

struct Random {
  unsigned seed = 777;
  unsigned next() { return seed = seed * 1103515245u + 12345u, (seed >> 8) & 0xFFFFFF; }
};

std::string date_text(Random& random) {
  char date[16];
  std::snprintf(date, sizeof date, "%02u/%02u/%04u", random.next() % 28 + 1, random.next() % 12 + 1,
                1990 + random.next() % 40);
  return date;
}

void put_utf8(unsigned c, std::string* out) {
  if (c < 0x80) {
    *out += char(c);
  } else if (c < 0x800) {
    *out += char(0xC0 | (c >> 6));
    *out += char(0x80 | (c & 0x3F));
  } else {
    *out += char(0xE0 | (c >> 12));
    *out += char(0x80 | ((c >> 6) & 0x3F));
    *out += char(0x80 | (c & 0x3F));
  }
}

// Nine letters of one script, the first a capital where the script has
// them: Cyrillic, Greek, Hebrew, CJK or Latin with accents.
std::string world_name(Random& random) {
  struct Script {
    unsigned capital, small, letters;
  };
  static constexpr Script scripts[] = {
      {0x410, 0x430, 32}, {0x391, 0x3B1, 17}, {0x5D0, 0x5D0, 27}, {0x4E00, 0x4E00, 2000}, {0xC0, 0xE0, 23}};
  const Script& script = scripts[random.next() % 5];
  std::string name;
  for (int c = 0; c < 9; ++c) put_utf8((c == 0 ? script.capital : script.small) + random.next() % script.letters, &name);
  return name;
}

std::vector<Row> make_rows(Shape shape, int count) {
  static const char* words[] = {"apple", "Banana", "cherry", "date", "Elder", "fig", "grape", "kiwi", "Lemon", "mango"};
  std::vector<Row> rows;
  rows.reserve(size_t(count));
  Random random;
  for (int i = 0; i < count; ++i) {
    if (shape == Shape::WorldNames) {
      rows.push_back({world_name(random), std::to_string(random.next() % 100), date_text(random)});
    } else if (shape == Shape::Names) {
      std::string name(9, 'a');
      name[0] = char('A' + random.next() % 26);
      for (size_t c = 1; c < name.size(); ++c) name[c] = char('a' + random.next() % 26);
      rows.push_back({name, std::to_string(random.next() % 100), date_text(random)});
    } else {
      rows.push_back({std::string(words[random.next() % 10]) + " " + std::to_string(random.next() % 1000),
                      std::to_string(int(random.next() % 2000000) - 1000000), date_text(random)});
    }
  }
  return rows;
}

// What a task manager shows as the process's commit size. Windows gives it
// as both the private usage and the page file usage; Wine leaves the first
// 0 and gives the anonymous memory resident in the process as the second.
size_t commit_charge() {
  PROCESS_MEMORY_COUNTERS_EX counters = {};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
  return std::max(counters.PrivateUsage, counters.PagefileUsage);
}

// Committed private memory of this process, region by region.
size_t private_regions() {
  size_t total = 0;
  MEMORY_BASIC_INFORMATION region;
  for (const char* at = nullptr; VirtualQuery(at, &region, sizeof region) == sizeof region;) {
    if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) total += region.RegionSize;
    const char* next = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
    if (next <= at) break;
    at = next;
  }
  return total;
}

struct Memory {
  size_t commit = 0, regions = 0;
  static Memory now() { return {commit_charge(), private_regions()}; }
  void keep_most(const Memory& other) {
    commit = std::max(commit, other.commit);
    regions = std::max(regions, other.regions);
  }
  Memory added_since(const Memory& before) const {
    return {commit > before.commit ? commit - before.commit : 0, regions > before.regions ? regions - before.regions : 0};
  }
};

// One call's figures, all as numbers, so that a fresh process can print
// them and the benchmark take the median of several.
struct Dialog {
  double load = 0;  // the library's LoadLibrary, before the process's first call
  double shown = 0, ready = 0, painted = 0, resort = 0, export_seconds = 0, write_seconds = 0, ok_to_answer = 0,
         next_call = 0;
  double table_bytes = 0, export_bytes = 0, export_expected = 0;
  double added_commit = 0, added_regions = 0;  // while the dialog waits, beyond the commit before the call
  double kept_commit = 0;  // once the next call's dialog has replaced it, beyond the commit before the call
};
constexpr double Dialog::*FIGURES[] = {
    &Dialog::load,          &Dialog::shown,         &Dialog::ready,           &Dialog::painted,
    &Dialog::resort,        &Dialog::export_seconds, &Dialog::write_seconds,  &Dialog::ok_to_answer,
    &Dialog::next_call,     &Dialog::table_bytes,   &Dialog::export_bytes,    &Dialog::export_expected,
    &Dialog::added_commit,  &Dialog::added_regions, &Dialog::kept_commit};

std::string figures_line(const char* name, const Dialog& d) {
  std::string line = name;
  char number[32];
  for (auto figure : FIGURES) std::snprintf(number, sizeof number, " %.9g", d.*figure), line += number;
  return line + "\n";
}

// The figures of the line that starts with `name` in `printed`; false if there is none.
bool read_figures(const std::string& printed, const char* name, Dialog* d) {
  size_t at = printed.find(std::string(name) + " ");
  if (at == std::string::npos) return false;
  const char* p = printed.c_str() + at + std::strlen(name);
  for (auto figure : FIGURES) {
    char* end = nullptr;
    d->*figure = std::strtod(p, &end);
    if (end == p) return false;
    p = end;
  }
  return true;
}

// Each figure's median over the processes; an export of the wrong size in
// any of them is the one kept.
Dialog median_of(const std::vector<Dialog>& calls) {
  Dialog middle;
  for (auto figure : FIGURES) {
    std::vector<double> values;
    for (const Dialog& d : calls) values.push_back(d.*figure);
    middle.*figure = bench::median(values);
  }
  for (const Dialog& d : calls)
    if (d.export_bytes != d.export_expected) middle.export_bytes = d.export_bytes;
  return middle;
}

// A dialog that is not `old`, once it is shown; null if none came in a minute.
HWND wait_for_shown_dialog(HWND old) {
  for (double give_up = now_seconds() + 60; now_seconds() < give_up; Sleep(0)) {
    HWND dialog = FindWindowA("WindowClass_0", nullptr);
    if (dialog && dialog != old && IsWindowVisible(dialog)) return dialog;
  }
  return nullptr;
}

// Whether the dialog's thread waits for input: it answers a sent message
// only from its message loop.
bool answers(HWND dialog) {
  DWORD_PTR answer = 0;
  return SendMessageTimeoutA(dialog, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &answer) != 0;
}

// Once the list and its header have painted what they show.
void wait_until_painted(HWND dialog) {
  HWND list = GetDlgItem(dialog, 3);
  HWND header = list ? reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0)) : nullptr;
  for (double give_up = now_seconds() + 60; now_seconds() < give_up; Sleep(0)) {
    if (!GetUpdateRect(dialog, nullptr, FALSE) && (!list || !GetUpdateRect(list, nullptr, FALSE)) &&
        (!header || !GetUpdateRect(header, nullptr, FALSE)) && answers(dialog))
      return;
  }
}

// The middle of five single writes of the same bytes to a new file, as the
// export makes it: a single write varies several times over here.
double one_write_seconds(std::vector<char>* bytes) {
  HANDLE exported = CreateFileA("C:\\Items.txt", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  DWORD size = GetFileSize(exported, nullptr);
  bytes->resize(size);
  DWORD read = 0;
  ReadFile(exported, bytes->data(), size, &read, nullptr);
  CloseHandle(exported);
  std::vector<double> writes;
  for (int i = 0; i < 5; ++i) {
    double write_start = now_seconds();
    HANDLE copy = CreateFileA("C:\\Items_bench.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(copy, bytes->data(), size, &written, nullptr);
    CloseHandle(copy);
    writes.push_back(now_seconds() - write_start);
    DeleteFileA("C:\\Items_bench.txt");
  }
  std::sort(writes.begin(), writes.end());
  return writes[2];
}

void press(HWND dialog, int button) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
}

// The table export of either kind. A wide call's texts are made UTF-16
// before it is timed: its host holds them so.
struct Caller {
  Show6 fixed = nullptr;
  ShowW6 wide = nullptr;

  struct Texts {
    std::string narrow[6];
    std::wstring wide[6];
  };
  Texts texts(bool wide_call, const std::string& title, const std::string& table, const char* sort, const char* width,
              const char* height) const {
    Texts t{{title, table, sort, width, height, "0"}, {}};
    if (wide_call)
      for (int i = 0; i < 6; ++i) t.wide[i] = wide_of(t.narrow[i]), std::string().swap(t.narrow[i]);
    return t;
  }
  void call(bool wide_call, const Texts& t) const {
    if (wide_call)
      wide(t.wide[0].c_str(), t.wide[1].c_str(), t.wide[2].c_str(), t.wide[3].c_str(), t.wide[4].c_str(),
           t.wide[5].c_str());
    else
      fixed(t.narrow[0].c_str(), t.narrow[1].c_str(), t.narrow[2].c_str(), t.narrow[3].c_str(), t.narrow[4].c_str(),
            t.narrow[5].c_str());
  }
  static std::wstring wide_of(const std::string& utf8) {
    int units = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
    std::wstring text(size_t(units), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), &text[0], units);
    return text;
  }
};

// A call with a table of one row, from the call until its dialog (not
// `old`) waits; it is cancelled then. `waiting` is the commit charge while
// it waits, the dialog before it replaced.
double measure_next_call(const Caller& caller, bool wide, HWND old, size_t* waiting = nullptr) {
  Caller::Texts texts = caller.texts(wide, "next", "Name;Size;|one;1;|", "1", "300", "200");
  std::atomic<double> ready{0};
  std::thread driver([&] {
    HWND dialog = wait_for_shown_dialog(old);
    if (dialog && answers(dialog)) ready = now_seconds();
    if (waiting) *waiting = commit_charge();
    press(dialog, 2);
  });
  double start = now_seconds();
  caller.call(wide, texts);
  driver.join();
  return ready - start;
}

// The table's text as a host passes it, and the size of its export.
std::string table_text(Shape shape, int count, size_t* export_bytes) {
  std::string table = "Text;Integer;Date;|";
  std::vector<Row> rows = make_rows(shape, count);
  // The export's size does not depend on the order of its rows.
  *export_bytes = std::strlen("Row\tText\tInteger\tDate\r\n");
  for (size_t i = 0; i < rows.size(); ++i) {
    table += rows[i].cells[0] + ";" + rows[i].cells[1] + ";" + rows[i].cells[2] + ";|";
    *export_bytes += std::to_string(i + 1).size() + rows[i].cells[0].size() + rows[i].cells[1].size() +
                     rows[i].cells[2].size() + 6;
  }
  return table;
}

Dialog measure_dialog(const Caller& caller, bool wide, Shape shape, int count, int click_column) {
  Dialog figures;
  size_t export_expected = 0;
  std::string table = table_text(shape, count, &export_expected);
  if (wide) export_expected += 3;  // UTF-8's byte-order mark
  figures.table_bytes = double(table.size());
  figures.export_expected = double(export_expected);
  Caller::Texts texts = caller.texts(wide, "bench", table, "1", "600", "400");
  std::string().swap(table);
  DeleteFileA("C:\\Items.txt");
  HWND old = FindWindowA("WindowClass_0", nullptr);
  Memory before = Memory::now(), most;

  std::atomic<double> shown{0}, ready{0}, painted{0}, ok_pressed{0}, file_whole{0};
  std::thread driver([&] {
    HWND dialog = wait_for_shown_dialog(old);
    shown = now_seconds();
    if (!dialog || !answers(dialog)) return;
    ready = now_seconds();
    most.keep_most(Memory::now());
    wait_until_painted(dialog);
    painted = now_seconds();
    most.keep_most(Memory::now());
    HWND list = GetDlgItem(dialog, 3);
    NMLISTVIEW click = {};
    click.hdr.hwndFrom = list;
    click.hdr.idFrom = 3;
    click.hdr.code = LVN_COLUMNCLICK;
    click.iSubItem = click_column;
    DWORD_PTR answer = 0;
    // Three clicks, each a whole sort the other way round: the middle one.
    double clicks[3];
    for (double& click_seconds : clicks) {
      double before_click = now_seconds();
      SendMessageTimeoutA(dialog, WM_NOTIFY, 3, reinterpret_cast<LPARAM>(&click), SMTO_NORMAL, 60000, &answer);
      click_seconds = now_seconds() - before_click;
      most.keep_most(Memory::now());
    }
    std::sort(clicks, clicks + 3);
    figures.resort = clicks[1];
    LVITEMA item = {};
    item.stateMask = item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageTimeoutA(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&item), SMTO_NORMAL, 60000, &answer);
    ok_pressed = now_seconds();
    press(dialog, 1);
    WIN32_FILE_ATTRIBUTE_DATA file = {};
    for (double give_up = now_seconds() + 60; now_seconds() < give_up;) {
      // The export takes the old file's place whole, at once.
      if (GetFileAttributesExA("C:\\Items.txt", GetFileExInfoStandard, &file) && file.nFileSizeLow == export_expected) {
        file_whole = now_seconds();
        break;
      }
    }
  });
  double start = now_seconds();
  caller.call(wide, texts);
  figures.ok_to_answer = now_seconds() - ok_pressed;
  driver.join();
  figures.shown = shown - start;
  figures.ready = ready - start;
  figures.painted = painted - start;
  Memory added = most.added_since(before);
  figures.added_commit = double(added.commit);
  figures.added_regions = double(added.regions);
  figures.export_seconds = file_whole - ok_pressed;
  {
    std::vector<char> bytes;  // the benchmark's own memory: gone before the next call is measured
    figures.write_seconds = one_write_seconds(&bytes);
    figures.export_bytes = double(bytes.size());
  }

  // The next call replaces the big dialog, which stays until then.
  size_t replaced = 0;
  figures.next_call = measure_next_call(caller, wide, FindWindowA("WindowClass_0", nullptr), &replaced);
  figures.kept_commit = double(replaced) - double(before.commit);
  return figures;
}

// The first call's figure and the warm one's beside it, each held to the target.
bool report(const char* what, double first, double warm, double target, const char* unit) {
  bool met = first <= target, warm_met = warm <= target;
  std::printf("  %-50s %8.3f %-2s%-7s  warm %8.3f %-2s%-7s  (target %.2f)\n", what, first, unit, met ? "" : " MISSED",
              warm, unit, warm_met ? "" : " MISSED", target);
  return met && warm_met;
}

void show(const char* what, double first, double warm, const char* unit) {
  std::printf("  %-50s %8.3f %-2s%-7s  warm %8.3f %s\n", what, first, unit, "", warm, unit);
}

constexpr double MB = 1048576.0;

struct Run {
  Shape shape;
  int rows;
  const char* name;
  bool wide;
  int click_column;   // the header clicked once ready: 1 text, 3 date
  int against;        // the fixed call's run a wide one is held to, or -1
  double within;      // ... and how many times its figures it may take
};

// The first, a table of one row, is what any first call pays: the library's
// and the platform's first-time work.
constexpr Run runs[] = {{Shape::Names, 1, "one row", false, 1, -1, 0},
                        {Shape::Names, 100000, "names", false, 1, -1, 0},
                        {Shape::Names, 1000000, "names", false, 1, -1, 0},
                        {Shape::Mixed, 100000, "mixed", false, 3, -1, 0},
                        {Shape::Mixed, 1000000, "mixed", false, 3, -1, 0},
                        {Shape::Names, 1000000, "names", true, 1, 2, 1.25},
                        {Shape::WorldNames, 1000000, "world names", true, 1, 2, 2.0}};
constexpr int RUNS = int(sizeof runs / sizeof runs[0]);
constexpr int PROCESSES = 5;  // fresh processes per table: the median of their figures
constexpr double KEPT_TARGET = 8 * MB;

void report_one_row(const Run& run, const Dialog& d, const Dialog& warm) {
  std::printf("%s, ShowMultiListBox: the first call in a fresh process, the median of %d\n", run.name, PROCESSES);
  std::printf("  %-50s %8.3f s\n", "the library loaded (before the call)", d.load);
  show("ready: waits for input", d.ready, warm.ready, "s");
  show("commit charge added", d.added_commit / MB, warm.added_commit / MB, "MB");
  show("commit charge kept once the next call replaced it", d.kept_commit / MB, warm.kept_commit / MB, "MB");
}

bool report_dialog(const Run& run, const Dialog& d, const Dialog& warm, const bench::Bare* bare) {
  const bool million = run.rows >= 1000000;
  bool within = true;
  std::printf("%s, %d rows, %s, table of %.1f MB%s: the first call in a fresh process, the median of %d;\n"
              "  warm: the same table's second call in that process\n",
              run.name, run.rows, run.wide ? "ShowMultiListBoxW" : "ShowMultiListBox", d.table_bytes / MB,
              run.wide ? " in UTF-8" : "", PROCESSES);
  if (bare) {
    std::printf("  bare list: insert %.3f s, sort keys %.3f s, LVM_SORTITEMS %.3f s, total %.3f s; re-sort %.3f s; ",
                bare->insert, bare->keys, bare->sort, bare->total, bare->resort);
    if (bare->destroy >= 0)
      std::printf("destroyed in %.3f s\n", bare->destroy);
    else
      std::printf("not destroyed (minutes)\n");
  }
  // A wide call's targets are the fixed call's, times its allowance.
  const double allowance = run.wide ? run.within : 1.0;
  show("window shown", d.shown, warm.shown, "s");
  within &= report("ready and sorted: waits for input", d.ready, warm.ready, (million ? 0.5 : 0.1) * allowance, "s");
  if (bare && !million)
    within &= report("ready and sorted, share of the bare list's", d.ready / bare->total, warm.ready / bare->total, 0.1,
                     "x");
  show("rows painted", d.painted, warm.painted, "s");
  within &= report(run.click_column == 1 ? "header click re-sort by the text" : "header click re-sort by the date",
                   d.resort, warm.resort, 0.5 * allowance, "s");
  within &= report("next call's dialog waits for input", d.next_call, warm.next_call, 0.2, "s");
  within &= report("commit charge added, in table texts", d.added_commit / d.table_bytes,
                   warm.added_commit / d.table_bytes, million ? 2.0 : 3.0, "x");
  show("commit charge added", d.added_commit / MB, warm.added_commit / MB, "MB");
  show("private regions added", d.added_regions / MB, warm.added_regions / MB, "MB");
  within &= report("commit charge kept once the next call replaced it", d.kept_commit / MB, warm.kept_commit / MB,
                   KEPT_TARGET / MB, "MB");
  std::printf("  %-50s %8.3f s, one WriteFile %.3f s\n", "export: OK until the file stands whole", d.export_seconds, d.write_seconds);
  show("OK to the answer, export included", d.ok_to_answer, warm.ok_to_answer, "s");
  for (const Dialog* call : {&d, &warm}) {
    if (call->export_bytes != call->export_expected) {
      std::printf("  the export holds %.0f bytes, %.0f expected\n", call->export_bytes, call->export_expected);
      within = false;
    }
  }
  return within;
}

// A wide call's times against the fixed call's on the run it is held to.
bool report_against(const Run& run, const Dialog& d, const Run& fixed, const Dialog& f) {
  std::printf("  against ShowMultiListBox on the %s rows, first calls:\n", fixed.name);
  bool within = true;
  auto against = [&](const char* what, double ratio) {
    bool met = ratio <= run.within;
    std::printf("  %-50s %8.3f x  (target %.2f)%s\n", what, ratio, run.within, met ? "" : "  MISSED");
    within &= met;
  };
  against("ready and sorted", d.ready / f.ready);
  against("header click re-sort", d.resort / f.resort);
  against("OK to the answer, export included", d.ok_to_answer / f.ok_to_answer);
  return within;
}

// In a fresh process: the library loaded as a host loads it, then the run's
// table called twice, each replaced by a small call; the figures printed.
int call_in_this_process(int r) {
  if (r < 0 || r >= RUNS) return 2;
  std::string dll = bench::library_beside_program();
  double load_start = now_seconds();
  HMODULE library = LoadLibraryA(dll.c_str());
  double load = now_seconds() - load_start;
  Caller caller;
  if (library) {
    caller.fixed = reinterpret_cast<Show6>(reinterpret_cast<void*>(GetProcAddress(library, "ShowMultiListBox")));
    caller.wide = reinterpret_cast<ShowW6>(reinterpret_cast<void*>(GetProcAddress(library, "ShowMultiListBoxW")));
  }
  if (!caller.fixed || !caller.wide) return 1;
  const Run& run = runs[r];
  Dialog first = measure_dialog(caller, run.wide, run.shape, run.rows, run.click_column);
  first.load = load;
  Dialog warm = measure_dialog(caller, run.wide, run.shape, run.rows, run.click_column);
  std::printf("%s%s", figures_line("first", first).c_str(), figures_line("warm", warm).c_str());
  std::fflush(stdout);
  FreeLibrary(library);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (bench::refuse_emulated_machine()) return 0;
  if (argc == 3 && std::strcmp(argv[1], "--call") == 0) return call_in_this_process(std::atoi(argv[2]));
  if (GetFileAttributesA(bench::library_beside_program().c_str()) == INVALID_FILE_ATTRIBUTES) {
    std::printf("no %s\n", bench::library_beside_program().c_str());
    return 1;
  }
  std::printf("%s; 3 columns, sorted by the second when ready\n", bench::build_and_machine().c_str());
  bool within = true;
  Dialog firsts[RUNS], warms[RUNS];
  for (int r = 0; r < RUNS; ++r) {
    std::vector<Dialog> first_calls, warm_calls;
    for (int process = 0; process < PROCESSES; ++process) {
      std::string printed = bench::run_fresh_process("--call " + std::to_string(r));
      Dialog first, warm;
      if (!read_figures(printed, "first", &first) || !read_figures(printed, "warm", &warm)) {
        std::printf("%s, %d rows: a fresh process gave no figures\n", runs[r].name, runs[r].rows);
        within = false;
        continue;
      }
      first_calls.push_back(first);
      warm_calls.push_back(warm);
    }
    firsts[r] = median_of(first_calls);
    warms[r] = median_of(warm_calls);
  }

  for (int r = 0; r < RUNS; ++r) {
    if (runs[r].rows == 1) {
      report_one_row(runs[r], firsts[r], warms[r]);
      continue;
    }
    // The bare list of the mixed shape, destroyed where that takes seconds.
    bench::Bare bare;
    bool has_bare = runs[r].shape == Shape::Mixed;
    if (has_bare) bare = bench::measure_bare(make_rows(runs[r].shape, runs[r].rows), runs[r].rows < 1000000);
    within &= report_dialog(runs[r], firsts[r], warms[r], has_bare ? &bare : nullptr);
    if (runs[r].against >= 0)
      within &= report_against(runs[r], firsts[r], runs[runs[r].against], firsts[runs[r].against]);
  }
  return within ? 0 : 1;
}
