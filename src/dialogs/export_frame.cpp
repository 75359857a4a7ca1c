#include "dialogs/export_frame.h"

#include "dialogs/library.h"

namespace vantrel {
namespace {

// The result string each export keeps from one call to the next.
StringVar results[int(Export::Count)] = {};
int call_depth = 0;  // a host may call in again from a message it gets while a dialog waits

// Frees the argument copies however the call ends.
class ArgumentCopies {
 public:
  bool copy(const char* const* arguments, int count) {
    count_ = count < MAX_ARGUMENTS ? count : MAX_ARGUMENTS;
    bool complete = true;
    for (int i = 0; i < count_; ++i) complete = string_new(&copies_[i], arguments[i]) && complete;
    return complete;
  }
  ~ArgumentCopies() {
    for (int i = 0; i < count_; ++i) string_free(copies_[i]);
  }
  StringVar* get() { return copies_; }

 private:
  StringVar copies_[MAX_ARGUMENTS] = {};
  int count_ = 0;
};

class CallDepth {
 public:
  CallDepth() { ++call_depth; }
  ~CallDepth() { --call_depth; }
  bool outermost() const { return call_depth == 1; }
};

// The result's address in the shared buffer; its own block if the buffer cannot take it.
const char* hand_back(StringVar result) {
  int32_t start = buffer_position();
  if (!buffer_append(result)) return text_or_empty(result);
  return buffer_address_at(start);
}

}  // namespace

const char* run_export(Export which, DialogFunction dialog, const char* const* arguments, int count) {
  if (!library_started()) return "";
  StringVar& result = results[int(which)];
  try {
    CallDepth depth;
    ArgumentCopies copies;
    bool copied = copies.copy(arguments, count);
    // The previous answer only had to last until this call: rewinding here
    // keeps the buffer as large as one call needs. The copies are taken
    // first, since a host may pass that answer back in.
    if (depth.outermost()) set_buffer_position(0);
    if (copied && dialog) dialog(copies.get(), &result);
    return hand_back(result);
  } catch (...) {
    return text_or_empty(result);
  }
}

void clear_export_results() {
  for (StringVar& result : results) result = nullptr;
}

}  // namespace vantrel
