#include "runtime/visual_styles.h"

#include "runtime/module.h"

namespace vantrel {
namespace {

constexpr WORD LIBRARY_MANIFEST = 2;  // the resource number a library's own manifest has
HANDLE context = INVALID_HANDLE_VALUE;
// Scopes nest with the calls (a host's timer may call again while a dialog
// waits); only the thread that owns the runtime ever makes one.
VisualStylesScope* innermost = nullptr;

}  // namespace

bool start_visual_styles() {
  HMODULE module = module_instance();
  if (!module || !FindResourceA(module, MAKEINTRESOURCEA(LIBRARY_MANIFEST), MAKEINTRESOURCEA(24))) return true;
  ACTCTXA request = {};
  request.cbSize = sizeof request;
  request.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
  request.hModule = module;
  request.lpResourceName = MAKEINTRESOURCEA(LIBRARY_MANIFEST);
  context = CreateActCtxA(&request);
  return true;  // without it the dialogs still work, in the host's look
}

void stop_visual_styles() {
  if (context != INVALID_HANDLE_VALUE) ReleaseActCtx(context);
  context = INVALID_HANDLE_VALUE;
}

VisualStylesScope::VisualStylesScope() : outer_(innermost) {
  step_back();
  innermost = this;
}

VisualStylesScope::~VisualStylesScope() {
  innermost = outer_;
  step_aside();
}

void VisualStylesScope::step_aside() {
  if (active_) DeactivateActCtx(0, cookie_);
  active_ = false;
}

void VisualStylesScope::step_back() {
  if (!active_ && context != INVALID_HANDLE_VALUE) active_ = ActivateActCtx(context, &cookie_) != FALSE;
}

HostContextScope::HostContextScope() : aside_(innermost && innermost->active_ ? innermost : nullptr) {
  if (aside_) aside_->step_aside();
}

HostContextScope::~HostContextScope() {
  if (aside_) aside_->step_back();
}

}  // namespace vantrel
