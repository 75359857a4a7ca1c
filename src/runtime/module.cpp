#include "runtime/module.h"

namespace vantrel {
namespace {
HINSTANCE instance_handle = nullptr;
}

void set_module_instance(HINSTANCE instance) { instance_handle = instance; }
HINSTANCE module_instance() { return instance_handle; }

}  // namespace vantrel
