// ShowAbout: heading, subheading, a framed body text, a picture, and buttons
// that open the web and mail addresses. Only its buttons end it.
#include <cstring>
#include <initializer_list>

#include "dialogs/dialogs.h"
#include "dialogs/shell_address.h"
#include "dialogs/skeleton.h"
#include "launcher/launcher.h"
#include "runtime/heaps.h"
#include "runtime/string_functions.h"
#include "ui/gadgets/gadgets.h"
#include "ui/gadgets/kinds.h"
#include "ui/graphics/fonts.h"
#include "ui/graphics/images.h"

namespace vantrel {

namespace {

enum AboutArgument { TITLE, HEADING, SUBHEADING, IMAGE_FILE, BODY, WEB_ADDRESS, EMAIL_ADDRESS, WIDTH, HEIGHT, HOST_WINDOW };
enum AboutGadget : int32_t { HEADING_TEXT = 0, SUBHEADING_TEXT = 1, BODY_TEXT = 2, WEB_BUTTON = 3, OK_BUTTON = 4,
                             EMAIL_BUTTON = 5, PICTURE = 8, FRAME = 10 };
constexpr int32_t PICTURE_IMAGE = 9;
constexpr uint32_t CENTRED = SS_CENTER;

// Each gadget keeps the font it was made with while the dialog stands, so
// every font has a number of its own; the buttons' fonts come after the
// three that the texts use.
enum AboutFont : int32_t { HEADING_FONT = 1, SUBHEADING_FONT = 2, BODY_FONT = 3, LINK_FONT = 4, OK_FONT = 5 };

// Loads the font and makes it the default for the gadgets that follow; a
// font that cannot be had leaves the one before in force.
void use_font(int32_t number, int32_t points, uint32_t style) {
  if (load_font(number, "Arial", points, style)) set_gadget_font(-1, reinterpret_cast<intptr_t>(font_handle(number)));
}

// The body ends inside the frame (whose lower edge is at h - 30) and above
// the link buttons (at h - 53) when there are any, so that a long body never
// runs under them; one that does not fit scrolls.
int32_t body_height(int32_t height, bool link_buttons) {
  constexpr int32_t BODY_TOP = 65, FRAME_MARGIN = 3, BUTTON_MARGIN = 2;
  int32_t bottom = link_buttons ? height - 53 - BUTTON_MARGIN : height - 30 - FRAME_MARGIN;
  return bottom > BODY_TOP ? bottom - BODY_TOP : 0;
}

// The heading's and subheading's lines reach into the picture's corner, and
// the subheading shares its rectangle with the frame, whose themed look
// paints all of it: from the top, the picture, the heading, the subheading,
// and the frame below all, each keeping off what stands above it.
void layer_the_top(HWND picture_label) {
  constexpr UINT KEEP_PLACE = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
  HWND frame = gadget_handle(FRAME), heading = gadget_handle(HEADING_TEXT), subheading = gadget_handle(SUBHEADING_TEXT);
  for (HWND gadget : {frame, heading, subheading})
    SetWindowLongA(gadget, GWL_STYLE, GetWindowLongA(gadget, GWL_STYLE) | WS_CLIPSIBLINGS);
  SetWindowPos(frame, HWND_BOTTOM, 0, 0, 0, 0, KEEP_PLACE);
  // The picture's label stays just before it, where a screen reader looks.
  for (HWND gadget : {subheading, heading, gadget_handle(PICTURE), picture_label})
    if (gadget) SetWindowPos(gadget, HWND_TOP, 0, 0, 0, 0, KEEP_PLACE);
}

// Hands `prefix` and the address to the shell's handler for its scheme,
// made safe for that handler's command line; nothing is ever started as a
// program. An address too long for the shell is not opened, like one the
// shell cannot open: the shell writes it into its handler's command line in
// a buffer of 1,024 characters, and Wine's runs past it (taking the host
// down) when it does not fit. A product's page is far shorter.
void open_address(const char* prefix, const char* address) {
  char* target = shell_address(prefix, address);
  if (!target) return;
  run_program(target, "", "", RUN_SHELL);
  general_free(target);
}

void open_web_address(const char* address) { open_address(nullptr, address); }

// "mailto:" and the address, nothing in between; the shell opens a new mail.
void open_mail(const char* address) { open_address("mailto:", address); }

}  // namespace

void show_about_dialog(StringVar* arguments, StringVar* result) {
  int32_t width = parse_extent(arguments[WIDTH]);
  int32_t height = parse_extent(arguments[HEIGHT]);
  const char* web = text_or_empty(arguments[WEB_ADDRESS]);
  const char* email = text_or_empty(arguments[EMAIL_ADDRESS]);
  DialogSkeleton dialog;
  if (!dialog.open(arguments[TITLE], width, height, arguments[HOST_WINDOW], 0)) return;

  use_font(HEADING_FONT, 16, FONT_BOLD | FONT_UNDERLINE);
  create_text_gadget(HEADING_TEXT, 0, 4, width, 30, arguments[HEADING], CENTRED);
  create_frame_gadget(FRAME, 6, 42, width - 12, height - 72, "");
  use_font(SUBHEADING_FONT, 9, FONT_BOLD);
  create_text_gadget(SUBHEADING_TEXT, 0, 37, width, 20, arguments[SUBHEADING], CENTRED);
  use_font(BODY_FONT, 9, 0);
  bool has_web = text_length(web) > 0, has_email = text_length(email) > 0;
  create_text_gadget(BODY_TEXT, 15, 65, width - 30, body_height(height, has_web || has_email), arguments[BODY],
                     CENTRED | TEXT_SCROLLS_WHEN_LONG);
  use_font(LINK_FONT, 8, 0);
  if (has_web) create_button_gadget(WEB_BUTTON, has_email ? width / 2 - 95 : width / 2 - 45, height - 53, 90, 20, "Visit Web Site");
  if (has_email) create_button_gadget(EMAIL_BUTTON, has_web ? width / 2 + 5 : width / 2 - 45, height - 53, 90, 20, "Email Us");
  HWND picture_label = nullptr;
  if (load_image(PICTURE_IMAGE, arguments[IMAGE_FILE])) {
    picture_label = add_hidden_label(arguments[HEADING], "Picture");
    create_image_gadget(PICTURE, 4, 4, 32, 32, image_handle(PICTURE_IMAGE));
  }
  layer_the_top(picture_label);
  use_font(OK_FONT, 9, 0);
  create_button_gadget(OK_BUTTON, width / 2 - 25, height - 27, 50, 23, "OK");
  if (dialog.replaced()) return;
  SetFocus(gadget_handle(OK_BUTTON));

  static constexpr int32_t endings[] = {OK_BUTTON, WEB_BUTTON, EMAIL_BUTTON};
  switch (dialog.wait_for_gadget(endings, 3)) {
    case DialogSkeleton::REPLACED:
      return;
    case WEB_BUTTON:
      string_assign(result, "Web");
      open_web_address(web);  // what the shell makes of it is not reported
      return;
    case EMAIL_BUTTON:
      string_assign(result, "Email");
      open_mail(email);
      return;
    default:  // OK, or the host's quit: the box is simply closed
      string_assign(result, "OK");
      return;
  }
}

}  // namespace vantrel
