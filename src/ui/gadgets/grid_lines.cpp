// Grid lines over a report list in a colour of the caller's, drawn after the
// list has painted itself.
#include "ui/gadgets/gadgets.h"
#include "ui/gadgets/report_lists.h"

namespace vantrel {
namespace {

class Pen {
 public:
  Pen(HDC dc, COLORREF colour) : dc_(dc), pen_(CreatePen(PS_SOLID, 0, colour)) {
    old_ = SelectObject(dc_, pen_);
  }
  ~Pen() {
    SelectObject(dc_, old_);
    DeleteObject(pen_);
  }
  Pen(const Pen&) = delete;
  Pen& operator=(const Pen&) = delete;

 private:
  HDC dc_;
  HPEN pen_;
  HGDIOBJ old_;
};

void line(HDC dc, int x1, int y1, int x2, int y2) {
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);
}

}  // namespace

void draw_grid_lines(HWND list, HDC dc, COLORREF colour) {
  RECT client, header = {};
  GetClientRect(list, &client);
  HWND header_control = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
  if (header_control) {
    GetWindowRect(header_control, &header);
    MapWindowPoints(nullptr, list, reinterpret_cast<POINT*>(&header), 2);
  }
  COLORREF background = COLORREF(SendMessageA(list, LVM_GETBKCOLOR, 0, 0));
  if (SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) <= 0) {
    RECT below = {client.left, header.bottom, client.right, client.bottom};
    HBRUSH brush = CreateSolidBrush(background);
    FillRect(dc, &below, brush);
    DeleteObject(brush);
    return;
  }
  Pen grid(dc, colour);
  RECT first = {LVIR_BOUNDS};
  SendMessageA(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
  int row_height = first.bottom - first.top;
  if (row_height > 0) {
    int y = first.bottom - 1;
    while (y < 0) y += row_height;
    for (; y < client.bottom; y += row_height)
      if (y > header.bottom) line(dc, 0, y, client.right, y);
  }
  if (!themes_active()) {
    {
      Pen edge(dc, background);
      line(dc, 0, header.bottom, client.right, header.bottom);
    }
    ++header.bottom;
    line(dc, 0, header.bottom, client.right, header.bottom);
  }
  int columns = header_control ? int(SendMessageA(header_control, HDM_GETITEMCOUNT, 0, 0)) : 0;
  if (columns <= 0) return;
  line(dc, first.right, header.bottom, first.right, client.bottom);
  for (int i = 1; i < columns; ++i) {
    RECT cell = {LVIR_BOUNDS, i};
    SendMessageA(list, LVM_GETSUBITEMRECT, 0, reinterpret_cast<LPARAM>(&cell));
    line(dc, cell.left, header.bottom, cell.left, client.bottom);
  }
}

}  // namespace vantrel
