#include "harness.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <shlobj.h>

#include <atomic>
#include <cstdio>
#include <thread>
#include <vector>

namespace harness {
namespace {

// In an emulated machine programs run from three to fifteen times slower:
// a limit on a wait stretches by the most, a pause that lets the dialog
// catch up by a typical four (what a test measures against a native speed
// says so where it is skipped).
bool in_emulated_machine() {
  char value[8] = {};
  return GetEnvironmentVariableA("VANTREL_EMULATED", value, sizeof value) != 0;
}
DWORD speed_factor() { return in_emulated_machine() ? 15 : 1; }
DWORD pause_factor() { return in_emulated_machine() ? 4 : 1; }

DWORD dialog_timeout_ms = 10000 * speed_factor();

void send_inputs(std::vector<INPUT>& inputs) {
  SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT));
}

INPUT key_input(WORD key, bool up) {
  INPUT input = {};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.wScan = WORD(MapVirtualKeyA(key, 0));
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return input;
}

INPUT mouse_input(POINT screen, DWORD flags) {
  INPUT input = {};
  input.type = INPUT_MOUSE;
  int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  input.mi.dx = LONG((screen.x * 65536 + width / 2) / width);
  input.mi.dy = LONG((screen.y * 65536 + height / 2) / height);
  input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
  return input;
}

uint32_t crc32(const unsigned char* data, size_t size, uint32_t crc = 0) {
  static uint32_t table[256];
  if (!table[1]) {
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      table[n] = c;
    }
  }
  crc = ~crc;
  for (size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

void put32(std::vector<unsigned char>& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back((unsigned char)(v >> shift));
}

void put_chunk(std::vector<unsigned char>& out, const char* type, const std::vector<unsigned char>& data) {
  put32(out, uint32_t(data.size()));
  std::vector<unsigned char> body(type, type + 4);
  body.insert(body.end(), data.begin(), data.end());
  out.insert(out.end(), body.begin(), body.end());
  put32(out, crc32(body.data(), body.size()));
}

// A PNG of 24-bit rows, compressed with stored deflate blocks.
std::vector<unsigned char> encode_png(int width, int height, const std::vector<unsigned char>& rgb) {
  std::vector<unsigned char> raw;
  for (int y = 0; y < height; ++y) {
    raw.push_back(0);
    raw.insert(raw.end(), rgb.begin() + size_t(y) * width * 3, rgb.begin() + size_t(y + 1) * width * 3);
  }
  std::vector<unsigned char> z = {0x78, 0x01};
  for (size_t at = 0; at < raw.size() || at == 0; at += 65535) {
    size_t n = std::min<size_t>(65535, raw.size() - at);
    z.push_back(at + n >= raw.size() ? 1 : 0);
    z.push_back((unsigned char)(n & 0xFF));
    z.push_back((unsigned char)(n >> 8));
    z.push_back((unsigned char)(~n & 0xFF));
    z.push_back((unsigned char)((~n >> 8) & 0xFF));
    z.insert(z.end(), raw.begin() + at, raw.begin() + at + n);
    if (raw.empty()) break;
  }
  uint32_t a = 1, b = 0;
  for (unsigned char c : raw) a = (a + c) % 65521, b = (b + a) % 65521;
  put32(z, (b << 16) | a);
  std::vector<unsigned char> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<unsigned char> header;
  put32(header, uint32_t(width));
  put32(header, uint32_t(height));
  header.insert(header.end(), {8, 2, 0, 0, 0});
  put_chunk(png, "IHDR", header);
  put_chunk(png, "IDAT", z);
  put_chunk(png, "IEND", {});
  return png;
}

// Everything the pipe gives until the program has ended and the pipe is
// empty: a process the program started may hold its end open for longer.
std::string read_until_ended(HANDLE pipe, HANDLE process) {
  std::string text;
  char chunk[4096];
  for (bool ended = false;;) {
    DWORD available = 0, read = 0;
    if (!PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr)) break;  // every writer has gone
    if (available) {
      if (!ReadFile(pipe, chunk, available < sizeof chunk ? available : sizeof chunk, &read, nullptr) || !read) break;
      text.append(chunk, read);
      continue;
    }
    if (ended) break;
    ended = WaitForSingleObject(process, 20) == WAIT_OBJECT_0;  // then once more for what came last
  }
  return text;
}

// The console's line ends as a script reads them.
std::string unix_lines(std::string text) {
  for (size_t at; (at = text.find("\r\n")) != std::string::npos;) text.erase(at, 1);
  return text;
}

}  // namespace

PatientWaits::PatientWaits(DWORD timeout_ms) : before_(dialog_timeout_ms) {
  dialog_timeout_ms = timeout_ms * speed_factor();
}
PatientWaits::~PatientWaits() { dialog_timeout_ms = before_; }

std::string beside_program(const char* file_name) {
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string p(path, length);
  return p.substr(0, p.find_last_of('\\') + 1) + file_name;
}

Library::Library() : module_(LoadLibraryA(beside_program("vantrel.dll").c_str())) {}
Library::~Library() {
  if (module_) FreeLibrary(module_);
}
void* Library::find(const char* name) const {
  return module_ ? reinterpret_cast<void*>(GetProcAddress(module_, name)) : nullptr;
}

const Library& shared_library() {
  static Library library;
  return library;
}

HostWindow::HostWindow() {
  WNDCLASSA window_class = {};
  window_class.lpfnWndProc = DefWindowProcA;
  window_class.hInstance = GetModuleHandleA(nullptr);
  window_class.lpszClassName = "HarnessHost";
  RegisterClassA(&window_class);
  handle_ = CreateWindowA("HarnessHost", "Host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 200, nullptr, nullptr,
                          GetModuleHandleA(nullptr), nullptr);
}
HostWindow::~HostWindow() { DestroyWindow(handle_); }
std::string HostWindow::text() const { return std::to_string(reinterpret_cast<intptr_t>(handle_)); }

RECT Dialog::client() const {
  RECT r = {};
  GetClientRect(window, &r);
  return r;
}

RECT Dialog::gadget_rect(int number) const {
  RECT r = {};
  HWND g = gadget(number);
  if (!g) return r;
  GetWindowRect(g, &r);
  MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

POINT Dialog::client_to_screen(int x, int y) const {
  POINT p = {x, y};
  ClientToScreen(window, &p);
  return p;
}

void expect_rect(const RECT& r, int x, int y, int w, int h, const char* what) {
  EXPECT_EQ(r.left, x) << what;
  EXPECT_EQ(r.top, y) << what;
  EXPECT_EQ(r.right - r.left, w) << what;
  if (h >= 0) {
    EXPECT_EQ(r.bottom - r.top, h) << what;
  }
}

HWND make_calling_host(const char* class_name, WNDPROC procedure) {
  WNDCLASSA window_class = {};
  window_class.lpfnWndProc = procedure;
  window_class.hInstance = GetModuleHandleA(nullptr);
  window_class.lpszClassName = class_name;
  RegisterClassA(&window_class);
  return CreateWindowA(class_name, "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
}

HWND current_dialog() { return FindWindowA("WindowClass_0", nullptr); }

bool wait_until(const std::function<bool()>& condition, DWORD timeout_ms) {
  DWORD start = GetTickCount();
  timeout_ms *= speed_factor();
  while (!condition()) {
    if (GetTickCount() - start > timeout_ms) return false;
    Sleep(20);
  }
  return true;
}

void settle(const Dialog& dialog) {
  DWORD_PTR ignored;
  SendMessageTimeoutA(dialog.window, WM_NULL, 0, 0, SMTO_NORMAL, 2000 * speed_factor(), &ignored);
  Sleep(60 * pause_factor());
  SendMessageTimeoutA(dialog.window, WM_NULL, 0, 0, SMTO_NORMAL, 2000 * speed_factor(), &ignored);
}

void click_at(POINT screen) {
  std::vector<INPUT> inputs = {mouse_input(screen, 0), mouse_input(screen, MOUSEEVENTF_LEFTDOWN),
                               mouse_input(screen, MOUSEEVENTF_LEFTUP)};
  send_inputs(inputs);
  // Further apart than a double click, so the next click is a click of its own.
  Sleep(GetDoubleClickTime() + 50);
}

void click_gadget(const Dialog& dialog, int number) {
  RECT r = dialog.gadget_rect(number);
  click_at(dialog.client_to_screen((r.left + r.right) / 2, (r.top + r.bottom) / 2));
}

HDROP make_drop(const std::vector<std::string>& names) {
  size_t size = sizeof(DROPFILES) + 1;
  for (const std::string& name : names) size += name.size() + 1;
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = FALSE;
  char* at = reinterpret_cast<char*>(drop) + sizeof(DROPFILES);
  for (const std::string& name : names) {
    memcpy(at, name.c_str(), name.size() + 1);
    at += name.size() + 1;
  }
  GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}

void click_list_row(const Dialog& dialog, int number, int row) {
  RECT item = {LVIR_LABEL};
  SendMessageA(dialog.gadget(number), LVM_GETITEMRECT, WPARAM(row), reinterpret_cast<LPARAM>(&item));
  POINT at = {item.left + 20, (item.top + item.bottom) / 2};
  ClientToScreen(dialog.gadget(number), &at);
  click_at(at);
}

void click_list_header(const Dialog& dialog, int number, int column) {
  HWND header = reinterpret_cast<HWND>(SendMessageA(dialog.gadget(number), LVM_GETHEADER, 0, 0));
  RECT item = {};
  SendMessageA(header, HDM_GETITEMRECT, WPARAM(column), reinterpret_cast<LPARAM>(&item));
  POINT at = {(item.left + item.right) / 2, (item.top + item.bottom) / 2};
  ClientToScreen(header, &at);
  click_at(at);
}

HBITMAP header_arrow(const Dialog& dialog, int number, int column) {
  HWND header = reinterpret_cast<HWND>(SendMessageA(dialog.gadget(number), LVM_GETHEADER, 0, 0));
  HDITEMA item = {};
  item.mask = HDI_FORMAT | HDI_BITMAP;
  SendMessageA(header, HDM_GETITEMA, WPARAM(column), reinterpret_cast<LPARAM>(&item));
  return (item.fmt & HDF_BITMAP) ? item.hbm : nullptr;
}

bool click_list_header_to_sort(const Dialog& dialog, int number, int column) {
  HBITMAP before = header_arrow(dialog, number, column);
  auto sorted = [&] {
    HBITMAP now = header_arrow(dialog, number, column);
    return now && now != before;
  };
  for (int attempt = 0; attempt < 2; ++attempt) {
    click_list_header(dialog, number, column);
    settle(dialog);
    if (wait_until(sorted, 3000)) return true;
  }
  return false;
}

void press_key(WORD key, bool shift, bool alt) {
  std::vector<INPUT> inputs;
  if (alt) inputs.push_back(key_input(VK_MENU, false));
  if (shift) inputs.push_back(key_input(VK_SHIFT, false));
  inputs.push_back(key_input(key, false));
  inputs.push_back(key_input(key, true));
  if (shift) inputs.push_back(key_input(VK_SHIFT, true));
  if (alt) inputs.push_back(key_input(VK_MENU, true));
  send_inputs(inputs);
  Sleep(30);
}

void type_text(const std::string& text) {
  for (char c : text) {
    if (c == '\n') {
      press_key(VK_RETURN);
      continue;
    }
    SHORT scan = VkKeyScanA(c);
    press_key(WORD(LOBYTE(scan)), (HIBYTE(scan) & 1) != 0);
  }
}

void type_unicode(const std::wstring& text) {
  for (wchar_t c : text) {
    INPUT keys[2] = {};
    for (INPUT& key : keys) {
      key.type = INPUT_KEYBOARD;
      key.ki.wScan = WORD(c);
      key.ki.dwFlags = KEYEVENTF_UNICODE;
    }
    keys[1].ki.dwFlags |= KEYEVENTF_KEYUP;
    SendInput(2, keys, sizeof(INPUT));
    Sleep(30);
  }
}

std::string list_view_cell(HWND list_view, int row, int column) {
  char text[512] = {};
  LVITEMA item = {};
  item.iSubItem = column;
  item.pszText = text;
  item.cchTextMax = sizeof text;
  SendMessageA(list_view, LVM_GETITEMTEXTA, WPARAM(row), reinterpret_cast<LPARAM>(&item));
  return text;
}

std::string save_screenshot(HWND window, const std::string& name) {
  RECT r;
  if (!GetWindowRect(window, &r)) return "";
  int width = r.right - r.left, height = r.bottom - r.top;
  if (width <= 0 || height <= 0) return "";
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info = {};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 24, BI_RGB};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  int stride = (width * 3 + 3) & ~3;
  std::vector<unsigned char> rgb(size_t(width) * height * 3);
  for (int y = 0; y < height; ++y) {
    const unsigned char* row = static_cast<const unsigned char*>(bits) + size_t(y) * stride;
    for (int x = 0; x < width; ++x) {
      unsigned char* out = &rgb[(size_t(y) * width + x) * 3];
      out[0] = row[x * 3 + 2], out[1] = row[x * 3 + 1], out[2] = row[x * 3];
    }
  }
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);

  CreateDirectoryA(beside_program("..\\screenshots").c_str(), nullptr);
  std::string path = beside_program(("..\\screenshots\\" + name + ".png").c_str());
  std::vector<unsigned char> png = encode_png(width, height, rgb);
  if (FILE* file = fopen(path.c_str(), "wb")) {
    fwrite(png.data(), 1, png.size(), file);
    fclose(file);
  }
  return path;
}

std::string run_dialog(const std::function<Text()>& call, const std::function<void(Dialog&)>& drive, HWND host,
                       HWND previous, const std::function<bool(HWND)>& accept) {
  std::atomic<bool> returned{false};
  std::thread driver([&] {
    Dialog dialog = {nullptr};
    bool appeared = wait_until(
        [&] {
          HWND w = current_dialog();
          if (!w || w == previous || !IsWindowVisible(w) || (accept && !accept(w))) return false;
          DWORD_PTR ignored;
          if (!SendMessageTimeoutA(w, WM_NULL, 0, 0, SMTO_NORMAL, 500, &ignored)) return false;
          dialog.window = w;
          return true;
        },
        dialog_timeout_ms);
    if (!appeared) {
      ADD_FAILURE() << "no dialog appeared";
      // A dialog that did come, too late or unseen, must not hold the test.
      while (!wait_until([&] { return returned.load(); }, 1000)) {
        if (HWND w = current_dialog()) {
          PostMessageA(w, WM_COMMAND, MAKEWPARAM(2, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(w, 2)));
          PostMessageA(w, WM_COMMAND, MAKEWPARAM(4, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(w, 4)));
        }
      }
      return;
    }
    settle(dialog);
    // What every dialog must be while it waits.
    EXPECT_TRUE(GetWindowLongA(dialog.window, GWL_EXSTYLE) & WS_EX_TOPMOST) << "not topmost";
    EXPECT_FALSE(GetWindowLongA(dialog.window, GWL_STYLE) & WS_SYSMENU) << "has a system menu";
    EXPECT_TRUE(GetWindowLongA(dialog.window, GWL_STYLE) & WS_CAPTION) << "has no caption";
    if (host) {
      EXPECT_FALSE(IsWindowEnabled(host)) << "host window not disabled";
    }
    drive(dialog);
    if (!wait_until([&] { return returned.load(); }, dialog_timeout_ms)) {
      ADD_FAILURE() << "the dialog did not end; pressing Cancel for it (OK for the about box)";
      PostMessageA(dialog.window, WM_COMMAND, MAKEWPARAM(2, BN_CLICKED),
                   reinterpret_cast<LPARAM>(dialog.gadget(2)));
      PostMessageA(dialog.window, WM_COMMAND, MAKEWPARAM(4, BN_CLICKED),
                   reinterpret_cast<LPARAM>(dialog.gadget(4)));
    }
  });
  Text answer = call();
  returned = true;
  driver.join();
  if (host) {
    EXPECT_TRUE(IsWindowEnabled(host)) << "host window still disabled";
  }
  HWND after = current_dialog();
  EXPECT_TRUE(after && IsWindowVisible(after)) << "the dialog window left the screen";
  return answer ? answer : "<null>";
}

bool write_picture(const std::wstring& path) {
  constexpr int SIDE = 16, ROW = SIDE * 3;
  std::vector<unsigned char> file(14 + 40 + ROW * SIDE, 0x80);
  BITMAPFILEHEADER head = {0x4D42, DWORD(file.size()), 0, 0, 14 + 40};
  BITMAPINFOHEADER info = {40, SIDE, SIDE, 1, 24, BI_RGB, ROW * SIDE, 2835, 2835, 0, 0};
  memcpy(file.data(), &head, 14);
  memcpy(file.data() + 14, &info, 40);
  HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (out == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool whole = WriteFile(out, file.data(), DWORD(file.size()), &written, nullptr) && written == file.size();
  CloseHandle(out);
  return whole;
}

ConsoleOutcome run_console(const std::string& arguments, const std::string& input,
                           const std::function<void(Dialog&)>& drive, const std::string& program, DWORD timeout_ms) {
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  HANDLE in_read, in_write, out_read, out_write, err_read, err_write;
  CreatePipe(&in_read, &in_write, &inherit, 0);
  CreatePipe(&out_read, &out_write, &inherit, 0);
  CreatePipe(&err_read, &err_write, &inherit, 0);
  for (HANDLE mine : {in_write, out_read, err_read}) SetHandleInformation(mine, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW startup = {sizeof startup};
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = in_read;
  startup.hStdOutput = out_write;
  startup.hStdError = err_write;
  // The command line goes as UTF-16, as a shell hands it over.
  std::string command = "\"" + (program.empty() ? beside_program("vantrel.exe") : program) + "\" " + arguments;
  std::wstring wide(size_t(MultiByteToWideChar(CP_UTF8, 0, command.c_str(), -1, nullptr, 0)), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, command.c_str(), -1, &wide[0], int(wide.size()));
  PROCESS_INFORMATION child = {};
  ConsoleOutcome outcome = {99, "", ""};
  // Wine now and then refuses a process for a moment (seen once in many
  // runs): a second try tells that apart from a program that cannot start.
  bool started = false;
  DWORD error = 0;
  for (int attempt = 0; attempt < 3 && !started; ++attempt) {
    if (attempt) Sleep(500);
    started = CreateProcessW(nullptr, &wide[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &child);
    if (!started) error = GetLastError();
  }
  if (!started) {
    ADD_FAILURE() << "cannot start " << command << ": error " << error;
    return outcome;
  }
  for (HANDLE theirs : {in_read, out_write, err_write}) CloseHandle(theirs);
  std::thread feeder([&] {
    DWORD written = 0;
    if (!input.empty()) WriteFile(in_write, input.data(), DWORD(input.size()), &written, nullptr);
    CloseHandle(in_write);
  });
  std::thread out_reader([&] { outcome.out = unix_lines(read_until_ended(out_read, child.hProcess)); });
  std::thread err_reader([&] { outcome.err = read_until_ended(err_read, child.hProcess); });
  if (drive) {
    Dialog d = {nullptr};
    bool appeared = wait_until([&] {
      HWND w = current_dialog();
      DWORD owner = 0;
      if (w) GetWindowThreadProcessId(w, &owner);
      DWORD_PTR ignored;
      if (!w || owner != child.dwProcessId || !IsWindowVisible(w) ||
          !SendMessageTimeoutA(w, WM_NULL, 0, 0, SMTO_NORMAL, 500, &ignored))
        return false;
      d.window = w;
      return true;
    }, 15000);
    EXPECT_TRUE(appeared) << "no dialog for " << arguments;
    if (appeared) {
      settle(d);
      drive(d);
    }
  }
  if (WaitForSingleObject(child.hProcess, timeout_ms * speed_factor()) != WAIT_OBJECT_0) {
    ADD_FAILURE() << "vantrel.exe did not end: " << arguments;
    TerminateProcess(child.hProcess, 99);
  }
  GetExitCodeProcess(child.hProcess, &outcome.code);
  feeder.join();
  out_reader.join();
  err_reader.join();
  for (HANDLE h : {out_read, err_read, child.hThread, child.hProcess}) CloseHandle(h);
  return outcome;
}

}  // namespace harness
