// Colours of the kinds that keep front and back colour words, and the brush
// cache they share: one brush per colour, counted, under its lock.
#include "runtime/heaps.h"
#include "ui/gadgets/gadgets.h"

namespace vantrel {
namespace {

struct BrushNode {
  BrushNode* next;
  COLORREF colour;
  HBRUSH brush;
  int32_t references;
};

CRITICAL_SECTION brush_lock;
bool brush_lock_ready = false;
BrushNode* brushes = nullptr;

class BrushLock {
 public:
  BrushLock() { EnterCriticalSection(&brush_lock); }
  ~BrushLock() { LeaveCriticalSection(&brush_lock); }
};

}  // namespace

void start_brushes() {
  InitializeCriticalSection(&brush_lock);
  brush_lock_ready = true;
}

void stop_brushes() {
  // Gadgets gave their brushes back as their windows closed; whatever a
  // caller still holds goes now, before the node heap does.
  if (!brush_lock_ready) return;
  while (BrushNode* node = brushes) {
    brushes = node->next;
    DeleteObject(node->brush);
    heap_free(object_node_heap(), node);
  }
  DeleteCriticalSection(&brush_lock);
  brush_lock_ready = false;
}

void redraw(HWND control) { RedrawWindow(control, nullptr, nullptr, RDW_ERASE | RDW_INTERNALPAINT | RDW_INVALIDATE); }

void set_shared_colour(GadgetRecord* gadget, int32_t type, int32_t colour) {
  if (type == COLOUR_FRONT) {
    gadget->words.colours.front_colour = colour;
  } else if (type == COLOUR_BACK) {
    if (gadget->words.colours.back_brush) release_brush(gadget->words.colours.back_brush);
    gadget->words.colours.back_brush = colour == -1 ? nullptr : get_brush(COLORREF(colour));
    gadget->words.colours.back_colour = colour;
  }
  redraw(gadget->handle);
}

int32_t get_shared_colour(GadgetRecord* gadget, int32_t type) {
  return type == COLOUR_FRONT ? gadget->words.colours.front_colour : type == COLOUR_BACK ? gadget->words.colours.back_colour : -1;
}

void release_shared_colour(GadgetRecord* gadget) {
  if (gadget->words.colours.back_brush) release_brush(gadget->words.colours.back_brush);
  gadget->words.colours.back_brush = nullptr;
}

HBRUSH get_brush(COLORREF colour) {
  BrushLock lock;
  for (BrushNode* node = brushes; node; node = node->next) {
    if (node->colour == colour) {
      ++node->references;
      return node->brush;
    }
  }
  auto* node = static_cast<BrushNode*>(heap_alloc(object_node_heap(), sizeof(BrushNode), true));
  if (!node) return nullptr;
  node->colour = colour;
  node->brush = CreateSolidBrush(colour);
  node->references = 1;
  node->next = brushes;
  brushes = node;
  return node->brush;
}

void release_brush(HBRUSH brush) {
  BrushLock lock;
  for (BrushNode** link = &brushes; *link; link = &(*link)->next) {
    BrushNode* node = *link;
    if (node->brush != brush) continue;
    if (--node->references == 0) {
      DeleteObject(node->brush);
      *link = node->next;
      heap_free(object_node_heap(), node);
    }
    return;
  }
}

}  // namespace vantrel
