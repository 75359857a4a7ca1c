#pragma once
// The library's own activation context, made from the manifest in its
// resources: while it is active, controls are made from version 6 of the
// common controls, so the dialogs look native in hosts that have no
// manifest of their own. Without the resource (a test program linking the
// runtime), nothing is activated.
#include <windows.h>

namespace vantrel {

bool start_visual_styles();
void stop_visual_styles();

// Activates the library's context for the scope's lifetime.
class VisualStylesScope {
 public:
  VisualStylesScope();
  ~VisualStylesScope();
  VisualStylesScope(const VisualStylesScope&) = delete;
  VisualStylesScope& operator=(const VisualStylesScope&) = delete;

 private:
  ULONG_PTR cookie_ = 0;
  bool active_ = false;
};

}  // namespace vantrel
