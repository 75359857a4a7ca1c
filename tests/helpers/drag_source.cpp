// A second program that drags files through OLE, as many programs do:
//   drag_source X Y FILE...        (or X Y --wide FILE...: the names as 16-bit characters)
// It shows a small window, presses the mouse on it, starts DoDragDrop with
// the files as CF_HDROP, moves the pointer to X, Y (screen) and lets go.
// Prints the drop effect; exits 0 when the target took the files as a copy.
#include <windows.h>
#include <ole2.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::vector<std::string> files;
std::vector<std::wstring> wide_files;  // with --wide: the names as 16-bit characters
int target_x = 0, target_y = 0;
DWORD effect = DROPEFFECT_NONE;
HRESULT drag_result = E_FAIL;

HGLOBAL make_wide_file_block() {
  size_t size = sizeof(DROPFILES) + sizeof(wchar_t);
  for (const std::wstring& f : wide_files) size += (f.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = TRUE;
  auto* at = reinterpret_cast<wchar_t*>(drop + 1);
  for (const std::wstring& f : wide_files) {
    memcpy(at, f.c_str(), (f.size() + 1) * sizeof(wchar_t));
    at += f.size() + 1;
  }
  GlobalUnlock(memory);
  return memory;
}

HGLOBAL make_file_block() {
  if (!wide_files.empty()) return make_wide_file_block();
  size_t size = sizeof(DROPFILES) + 1;
  for (const std::string& f : files) size += f.size() + 1;
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  char* at = reinterpret_cast<char*>(drop + 1);
  for (const std::string& f : files) {
    memcpy(at, f.c_str(), f.size() + 1);
    at += f.size() + 1;
  }
  GlobalUnlock(memory);
  return memory;
}

bool is_file_list(const FORMATETC* format) {
  return format && format->cfFormat == CF_HDROP && (format->tymed & TYMED_HGLOBAL) && format->dwAspect == DVASPECT_CONTENT;
}

class Files final : public IDataObject {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override {
    if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_IDataObject)) {
      *out = this;
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(InterlockedIncrement(&references_)); }
  ULONG STDMETHODCALLTYPE Release() override { return ULONG(InterlockedDecrement(&references_)); }
  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
    if (!is_file_list(format)) return DV_E_FORMATETC;
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = make_file_block();
    medium->pUnkForRelease = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override { return is_file_list(format) ? S_OK : DV_E_FORMATETC; }
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
    out->ptd = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override {
    if (direction != DATADIR_GET) return E_NOTIMPL;
    FORMATETC format = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    return SHCreateStdEnumFmtEtc(1, &format, out);
  }
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

 private:
  LONG references_ = 1;
};

class Source final : public IDropSource {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override {
    if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_IDropSource)) {
      *out = this;
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD keys) override {
    if (escape) return DRAGDROP_S_CANCEL;
    return (keys & MK_LBUTTON) ? S_OK : DRAGDROP_S_DROP;
  }
  HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }
};

void mouse(int x, int y, DWORD buttons) {
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dx = LONG((x * 65535.0) / (GetSystemMetrics(SM_CXSCREEN) - 1));
  input.mi.dy = LONG((y * 65535.0) / (GetSystemMetrics(SM_CYSCREEN) - 1));
  input.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | buttons;
  SendInput(1, &input, sizeof input);
}

constexpr int START_X = 40, START_Y = 40;

// The person: presses on the source window, then drags to the target in
// steps and lets go there.
DWORD WINAPI person(void*) {
  Sleep(300);
  mouse(START_X, START_Y, 0);
  Sleep(100);
  mouse(START_X, START_Y, MOUSEEVENTF_LEFTDOWN);
  Sleep(300);
  for (int step = 1; step <= 10; ++step) {
    mouse(START_X + (target_x - START_X) * step / 10, START_Y + (target_y - START_Y) * step / 10, 0);
    Sleep(60);
  }
  mouse(target_x + 2, target_y + 2, 0);
  Sleep(300);
  mouse(target_x + 2, target_y + 2, MOUSEEVENTF_LEFTUP);
  return 0;
}

LRESULT CALLBACK source_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_LBUTTONDOWN) {
    Files data;
    Source source;
    drag_result = DoDragDrop(&data, &source, DROPEFFECT_COPY | DROPEFFECT_LINK, &effect);
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    fputs("usage: drag_source X Y FILE...\n", stderr);
    return 2;
  }
  target_x = atoi(argv[1]);
  target_y = atoi(argv[2]);
  if (std::string(argv[3]) == "--wide") {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 4; wide && i < count; ++i) wide_files.push_back(wide[i]);
    LocalFree(wide);
  } else {
    for (int i = 3; i < argc; ++i) files.push_back(argv[i]);
  }
  if (FAILED(OleInitialize(nullptr))) return 3;
  WNDCLASSA window_class = {};
  window_class.lpfnWndProc = source_procedure;
  window_class.hInstance = GetModuleHandleA(nullptr);
  window_class.hCursor = LoadCursor(nullptr, IDC_ARROW);
  window_class.hbrBackground = GetSysColorBrush(COLOR_HIGHLIGHT);
  window_class.lpszClassName = "VantrelDragSource";
  RegisterClassA(&window_class);
  HWND window = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "VantrelDragSource", "files", WS_POPUP | WS_VISIBLE,
                                START_X - 30, START_Y - 30, 60, 60, nullptr, nullptr, window_class.hInstance, nullptr);
  if (!window) return 4;
  CloseHandle(CreateThread(nullptr, 0, person, nullptr, 0, nullptr));
  SetTimer(window, 1, 15000, nullptr);  // never longer than this
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (message.message == WM_TIMER) break;
    DispatchMessageA(&message);
  }
  DestroyWindow(window);
  OleUninitialize();
  printf("result %08lx effect %lu\n", static_cast<unsigned long>(drag_result), static_cast<unsigned long>(effect));
  return drag_result == DRAGDROP_S_DROP && effect == DROPEFFECT_COPY ? 0 : 1;
}
