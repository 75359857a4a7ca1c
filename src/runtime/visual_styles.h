#pragma once
// The library's own activation context, made from the manifest in its
// resources: while it is active, controls are made from version 6 of the
// common controls, so the dialogs look native in hosts that have no
// manifest of their own. Without the resource (a test program linking the
// runtime), nothing is activated.
//
// The context is the library's, not the host's: code of the host that runs
// while a dialog waits (its timers, its windows' messages, messages sent
// from its other threads) runs in the context the host had, as it would
// outside any call, so that what it creates there is what it always gets.
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
  friend class HostContextScope;
  void step_aside();
  void step_back();

  VisualStylesScope* outer_;
  ULONG_PTR cookie_ = 0;
  bool active_ = false;
};

// For the scope's lifetime the thread runs in the context the host had
// when it called: the innermost library context is put aside, and taken up
// again at the end. Nothing happens outside a library context.
class HostContextScope {
 public:
  HostContextScope();
  ~HostContextScope();
  HostContextScope(const HostContextScope&) = delete;
  HostContextScope& operator=(const HostContextScope&) = delete;

 private:
  VisualStylesScope* aside_;
};

}  // namespace vantrel
