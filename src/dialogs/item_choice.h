#pragma once
// The choice of one item that the list box and combo box dialogs share.
#include "dialogs/item_list.h"
#include "dialogs/skeleton.h"
#include "runtime/strings.h"

namespace vantrel {

// Fills gadget 0 with the items, runs the modal loop, and sets the result:
// the selected item's text, or "CANCEL".
void run_item_choice(DialogSkeleton& dialog, const ItemList& items, StringVar* result);

}  // namespace vantrel
