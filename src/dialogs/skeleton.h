#pragma once
// What every dialog shares: window 0 with the caller's title, the host window
// disabled meanwhile, the dialog font, OK and Cancel, and the modal loop.
#include <windows.h>

#include <cstdint>

#include "runtime/strings.h"

namespace vantrel {

constexpr int32_t GADGET_OK = 1;
constexpr int32_t GADGET_CANCEL = 2;

// A caller's width or height: its decimal text, held to what window
// coordinates can carry (-32768 to 32767), so that the places and sizes
// worked out from it cannot overflow.
int32_t parse_extent(const char* text);

class DialogSkeleton {
 public:
  DialogSkeleton() = default;
  DialogSkeleton(const DialogSkeleton&) = delete;
  DialogSkeleton& operator=(const DialogSkeleton&) = delete;
  ~DialogSkeleton();  // the host window is enabled again on every path

  // Opens window 0, disables the host, sets the font (none for 0 points:
  // the dialog loads its own) and begins the gadget list; false when the
  // dialog cannot open.
  bool open(const char* title, int32_t width, int32_t height, const char* host_window, int32_t font_points);

  // Names the control made next for a screen reader: the dialog's title, or
  // `kind_word` for an empty title (add_hidden_label).
  void label_next_control(const char* kind_word);

  // OK (1) and Cancel (2), 50 x 23, centred under a dialog of that size.
  void add_ok_and_cancel(int32_t width, int32_t height);
  void add_ok_and_cancel_at(int32_t ok_x, int32_t cancel_x, int32_t y);

  // Waits until one of the `count` ending gadgets is pressed: its number;
  // REPLACED when another call's dialog took this one's place, QUIT when a
  // quit was posted to the thread (it stays on the queue for the host).
  static constexpr int32_t REPLACED = -1;
  static constexpr int32_t QUIT = -2;
  int32_t wait_for_gadget(const int32_t* endings, int32_t count);

  enum class Ending { Ok, Cancel, Replaced };
  // Waits until OK or Cancel is pressed. A call made while this one waits
  // (from a host message) that opens its own dialog ends this one: Replaced.
  // A quit posted to the thread ends it as Cancel and stays on the queue.
  Ending wait_for_ending();

  // Waits for the ending and sets the result: on OK what `produce_answer`
  // (given a buffer position) writes there, on Cancel "CANCEL"; a replaced
  // dialog leaves the result as it was.
  template <typename ProduceAnswer>
  void answer_when_ended(StringVar* result, ProduceAnswer produce_answer) {
    switch (wait_for_ending()) {
      case Ending::Ok: {
        int32_t p = buffer_position();
        produce_answer(p);
        string_take(result, p);
        break;
      }
      case Ending::Cancel:
        string_assign(result, "CANCEL");
        break;
      case Ending::Replaced:
        break;
    }
  }

  // True once another call has opened its dialog in this one's place (a
  // host message handled while gadgets were being made can do that).
  bool replaced() const;

 private:
  HWND window_ = nullptr;
  HWND host_ = nullptr;
  const char* title_ = nullptr;
};

// Control ID of the labels: no gadget has it.
constexpr int32_t LABEL_CONTROL_ID = 0x7FFF;

// A screen reader names a control that has no text of its own after the
// static text just before it in z-order (creation order). This makes that
// label for the control made next: hidden, so the dialog looks and lays out
// as before, no tab stop, with `text` (`fallback` when empty) and each "&"
// doubled, which a label would otherwise take for a mnemonic's mark.
HWND add_hidden_label(const char* text, const char* fallback);

}  // namespace vantrel
