#include "ui/windows/sizing.h"

#include "runtime/object_table.h"
#include "ui/windows/events.h"

namespace vantrel {
namespace {

struct SizingState {
  int32_t active;
  int32_t keyboard;
  POINT saved_cursor;
  RECT current;
  RECT start;
  int32_t edge;
  MINMAXINFO limits;
};

SizingState* sizing = nullptr;

void clamp_low_edge(LONG* low, LONG high, LONG minimum, LONG maximum) {
  if (high - *low < minimum) *low = high - minimum;
  else if (high - *low > maximum) *low = high - maximum;
}

void clamp_high_edge(LONG low, LONG* high, LONG minimum, LONG maximum) {
  if (*high - low < minimum) *high = low + minimum;
  else if (*high - low > maximum) *high = low + maximum;
}

void fill_limits(HWND window, MINMAXINFO* limits) {
  *limits = MINMAXINFO{};
  limits->ptMaxSize = {GetSystemMetrics(SM_CXMAXIMIZED), GetSystemMetrics(SM_CYMAXIMIZED)};
  if (GetWindowLongA(window, GWL_STYLE) & WS_BORDER)
    limits->ptMaxPosition = {GetSystemMetrics(SM_CXBORDER), GetSystemMetrics(SM_CYBORDER)};
  else if (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_WINDOWEDGE)
    limits->ptMaxPosition = {GetSystemMetrics(SM_CXEDGE), GetSystemMetrics(SM_CYEDGE)};
  limits->ptMinTrackSize = {GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
  limits->ptMaxTrackSize = {GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
  SendMessageA(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(limits));
}

void begin_sizing(HWND window, WPARAM command) {
  sizing->active = 1;
  sizing->edge = int32_t(command & 0xF);
  GetWindowRect(window, &sizing->current);
  sizing->start = sizing->current;
  fill_limits(window, &sizing->limits);
  if (GetKeyState(VK_LBUTTON) == 0) SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, 0);
  SetCapture(window);
  PostMessageA(window, WM_ENTERSIZEMOVE, 0, 0);
  sizing->keyboard = sizing->edge == 0;
  if (sizing->keyboard) {
    GetCursorPos(&sizing->saved_cursor);
    SetCursor(LoadCursorA(nullptr, IDC_SIZEALL));
  }
}

// Applies a screen point and moves the window to the corrected rectangle.
void track_point(HWND window, POINT point) {
  apply_sizing_point(sizing->edge, point, sizing->limits, &sizing->current);
  SendMessageA(window, WM_SIZING, WPARAM(sizing->edge), reinterpret_cast<LPARAM>(&sizing->current));
  RECT r = sizing->current;
  if (GetWindowLongA(window, GWL_STYLE) & WS_CHILD) MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
  MoveWindow(window, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
}

void arrow_key(HWND window, WPARAM key) {
  POINT cursor;
  GetCursorPos(&cursor);
  EdgeStep step = keyboard_edge_step(sizing->edge, key, cursor, sizing->current);
  SetCursorPos(step.cursor.x, step.cursor.y);
  if (step.picked) {
    sizing->edge = step.edge;
    SetCursor(static_cast<HCURSOR>(LoadImageA(nullptr, MAKEINTRESOURCEA(step.shape), IMAGE_CURSOR, 0, 0,
                                              LR_SHARED | LR_DEFAULTSIZE)));
  } else {
    track_point(window, step.cursor);
  }
}

}  // namespace

bool start_sizing() {
  sizing = static_cast<SizingState*>(new_module_state(sizeof(SizingState), nullptr, nullptr));
  return sizing != nullptr;
}

void apply_sizing_point(int edge, POINT point, const MINMAXINFO& limits, RECT* r) {
  LONG min_w = limits.ptMinTrackSize.x, max_w = limits.ptMaxTrackSize.x;
  LONG min_h = limits.ptMinTrackSize.y, max_h = limits.ptMaxTrackSize.y;
  if (edge == WMSZ_LEFT || edge == WMSZ_TOPLEFT || edge == WMSZ_BOTTOMLEFT) {
    r->left = edge == WMSZ_TOPLEFT ? point.x - 2 : point.x;
    clamp_low_edge(&r->left, r->right, min_w, max_w);
  }
  if (edge == WMSZ_RIGHT || edge == WMSZ_TOPRIGHT || edge == WMSZ_BOTTOMRIGHT) {
    r->right = point.x + 2;
    clamp_high_edge(r->left, &r->right, min_w, max_w);
  }
  if (edge == WMSZ_TOP || edge == WMSZ_TOPLEFT || edge == WMSZ_TOPRIGHT) {
    r->top = edge == WMSZ_TOPLEFT ? point.y - 2 : point.y;
    clamp_low_edge(&r->top, r->bottom, min_h, max_h);
  }
  if (edge == WMSZ_BOTTOM || edge == WMSZ_BOTTOMLEFT || edge == WMSZ_BOTTOMRIGHT) {
    r->bottom = point.y + 2;
    clamp_high_edge(r->top, &r->bottom, min_h, max_h);
  }
}

EdgeStep keyboard_edge_step(int edge, WPARAM key, POINT cursor, const RECT& r) {
  struct Rule {
    int edge;
    WPARAM key;
    int new_edge;
    int shape;
  };
  static constexpr Rule rules[] = {
      {0, VK_LEFT, WMSZ_LEFT, 32644},           {WMSZ_TOP, VK_LEFT, WMSZ_TOPLEFT, 32642},
      {WMSZ_BOTTOM, VK_LEFT, WMSZ_BOTTOMLEFT, 32643}, {0, VK_UP, WMSZ_TOP, 32645},
      {WMSZ_RIGHT, VK_UP, WMSZ_TOPRIGHT, 32643},  {WMSZ_LEFT, VK_UP, WMSZ_TOPLEFT, 32642},
      {0, VK_RIGHT, WMSZ_RIGHT, 32644},          {WMSZ_TOP, VK_RIGHT, WMSZ_TOPRIGHT, 32643},
      {WMSZ_BOTTOM, VK_RIGHT, WMSZ_BOTTOMRIGHT, 32642}, {0, VK_DOWN, WMSZ_BOTTOM, 32645},
      {WMSZ_RIGHT, VK_DOWN, WMSZ_BOTTOMRIGHT, 32642}, {WMSZ_LEFT, VK_DOWN, WMSZ_BOTTOMLEFT, 32643},
  };
  for (const Rule& rule : rules) {
    if (rule.edge != edge || rule.key != key) continue;
    POINT at = cursor;
    switch (rule.new_edge) {
      case WMSZ_LEFT: at = {r.left, cursor.y}; break;
      case WMSZ_RIGHT: at = {r.right - 2, cursor.y}; break;
      case WMSZ_TOP: at = {cursor.x, r.top}; break;
      case WMSZ_BOTTOM: at = {cursor.x, r.bottom - 2}; break;
      case WMSZ_TOPLEFT: at = {r.left + 2, r.top + 2}; break;
      case WMSZ_TOPRIGHT: at = {r.right - 2, r.top}; break;
      case WMSZ_BOTTOMLEFT: at = {r.left, r.bottom - 2}; break;
      case WMSZ_BOTTOMRIGHT: at = {r.right - 2, r.bottom - 2}; break;
    }
    return {true, rule.new_edge, at, rule.shape};
  }
  POINT moved = cursor;
  if (key == VK_LEFT) moved.x -= 10;
  if (key == VK_UP) moved.y -= 10;
  if (key == VK_RIGHT) moved.x += 10;
  if (key == VK_DOWN) moved.y += 10;
  return {false, edge, moved, 0};
}

LRESULT sizing_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (!sizing) return NOT_HANDLED;
  if (!sizing->active) {
    BOOL full_drag = FALSE;
    if (message != WM_SYSCOMMAND || (wparam & 0xFFF0) != SC_SIZE) return NOT_HANDLED;
    // Without full-window dragging the platform's own sizing serves.
    if (!SystemParametersInfoA(SPI_GETDRAGFULLWINDOWS, 0, &full_drag, 0) || !full_drag) return NOT_HANDLED;
    begin_sizing(window, wparam);
    return 0;
  }
  switch (message) {
    case WM_MOUSEMOVE: {
      sizing->keyboard = 0;
      POINT point = {short(LOWORD(lparam)), short(HIWORD(lparam))};
      ClientToScreen(window, &point);
      track_point(window, point);
      return 0;
    }
    case WM_KEYDOWN:
      if (wparam == VK_RETURN || wparam == VK_ESCAPE) {
        ReleaseCapture();
        return 0;
      }
      if (wparam == VK_LEFT || wparam == VK_UP || wparam == VK_RIGHT || wparam == VK_DOWN) arrow_key(window, wparam);
      return NOT_HANDLED;
    case WM_LBUTTONUP:
      ReleaseCapture();
      return 0;
    case WM_CAPTURECHANGED:
      PostMessageA(window, WM_EXITSIZEMOVE, 0, 0);
      sizing->active = 0;
      if (sizing->keyboard) SetCursorPos(sizing->saved_cursor.x, sizing->saved_cursor.y);
      return 0;
    default:
      return NOT_HANDLED;
  }
}

}  // namespace vantrel
