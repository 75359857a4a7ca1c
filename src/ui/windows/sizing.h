#pragma once
// The toolkit's own sizing loop, used while the system drags full windows,
// and the edge arithmetic it runs on.
#include <windows.h>

#include <cstdint>

namespace vantrel {

bool start_sizing();
// Sees every toolkit window message first; NOT_HANDLED when it leaves it alone.
LRESULT sizing_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// Moves the edges named by `edge` (a WMSZ code) to the point, within the
// tracking limits of `limits`.
void apply_sizing_point(int edge, POINT point, const MINMAXINFO& limits, RECT* rectangle);

// An arrow key while keyboard sizing: either picks or extends the edge (then
// `cursor` is where the cursor goes and `shape` its IDC_ cursor) or, when the
// edge is already complete, moves `cursor` by 10 pixels and returns false.
struct EdgeStep {
  bool picked;
  int edge;
  POINT cursor;
  int shape;
};
EdgeStep keyboard_edge_step(int edge, WPARAM key, POINT cursor, const RECT& rectangle);

}  // namespace vantrel
