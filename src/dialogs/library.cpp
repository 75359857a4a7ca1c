#include "dialogs/library.h"

#include "dialogs/export_frame.h"
#include "launcher/launcher.h"
#include "runtime/heaps.h"
#include "runtime/libraries.h"
#include "runtime/module.h"
#include "runtime/strings.h"
#include "runtime/visual_styles.h"
#include "sorter/sorter.h"
#include "sorter/text_files.h"
#include "ui/gadgets/gadgets.h"
#include "ui/graphics/fonts.h"
#include "ui/graphics/images.h"
#include "ui/windows/windows.h"

namespace vantrel {
namespace {

bool started = false;

}  // namespace

bool start_library(HINSTANCE instance) {
  set_module_instance(instance);
  start_visual_styles();
  VisualStylesScope styles;  // the common controls are registered in the library's own context
  started = start_export_frame() && create_general_heap() && init_string_manager() && create_object_node_heap() &&
            start_fonts() && start_windows() && start_gadgets() && start_images() &&
            start_libraries() && file_library_start() && sorter_start() && start_launcher();
  return started;
}

void stop_library() {
  if (general_heap()) {
    stop_launcher();
    sorter_stop();
    file_library_stop();
    stop_libraries();
    stop_images();
    stop_windows();
    stop_gadgets();
    stop_fonts();
  }
  // The string and node heaps go too: a host that loads and unloads the
  // library all day must not collect one set of heaps per load.
  stop_export_frame();
  stop_string_manager();
  destroy_object_node_heap();
  destroy_general_heap();
  stop_visual_styles();
  started = false;
}

bool library_started() { return started; }

}  // namespace vantrel
