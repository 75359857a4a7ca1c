#include "runtime/visual_styles.h"

#include "runtime/module.h"

namespace vantrel {
namespace {

constexpr WORD LIBRARY_MANIFEST = 2;  // the resource number a library's own manifest has
HANDLE context = INVALID_HANDLE_VALUE;

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

VisualStylesScope::VisualStylesScope() {
  if (context != INVALID_HANDLE_VALUE) active_ = ActivateActCtx(context, &cookie_) != FALSE;
}

VisualStylesScope::~VisualStylesScope() {
  if (active_) DeactivateActCtx(0, cookie_);
}

}  // namespace vantrel
