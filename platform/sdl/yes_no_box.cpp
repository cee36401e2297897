#include "yes_no_box.h"

#include <algorithm>

#include "platform/canvas.h"

namespace pax::sdl {

namespace {

// Spacing at 96 dpi, in the proportions of a Windows message box.
constexpr int TEXT_MARGIN = 16;    // around the text, on the white area
constexpr int STRIP_PADDING = 11;  // above and below the buttons
constexpr int STRIP_MARGIN = 12;   // right of the last button, left of the first at least
constexpr int BUTTON_GAP = 8;
constexpr int BUTTON_MIN_WIDTH = 75;
constexpr int BUTTON_HEIGHT = 23;
constexpr int LABEL_PADDING = 10;  // left and right of a label that needs a wider button

int Scaled(int pixels, int dpi) {
  return (pixels * dpi + 48) / 96;
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  for (;;) {
    const std::size_t feed = text.find('\n');
    lines.emplace_back(text.substr(0, feed));
    if (feed == std::string_view::npos) return lines;
    text.remove_prefix(feed + 1);
  }
}

bool Inside(Rect r, Point p) {
  return p.x >= r.x && p.y >= r.y && p.x < r.x + r.width && p.y < r.y + r.height;
}

// A rectangle's outline, `thickness` pixels wide inside it.
void Outline(Canvas& canvas, Rect r, int thickness, Rgb colour) {
  canvas.fillRect(r.x, r.y, r.width, thickness, colour);
  canvas.fillRect(r.x, r.y + r.height - thickness, r.width, thickness, colour);
  canvas.fillRect(r.x, r.y, thickness, r.height, colour);
  canvas.fillRect(r.x + r.width - thickness, r.y, thickness, r.height, colour);
}

}  // namespace

BoxLayout LayOutYesNoBox(TextEngine& engine, FontHandle font, std::string_view text, int dpi) {
  BoxLayout box;
  TextMask probe;
  engine.rasterizeText(font, "Yes", probe);
  box.lineHeight = probe.height;
  box.lines = SplitLines(text);

  const int margin = Scaled(TEXT_MARGIN, dpi);
  int textWidth = 0;
  for (std::size_t i = 0; i < box.lines.size(); ++i) {
    textWidth = std::max(textWidth, engine.measureText(font, box.lines[i]));
    box.lineAt.push_back({margin, margin + static_cast<int>(i) * box.lineHeight});
  }
  box.stripTop = 2 * margin + static_cast<int>(box.lines.size()) * box.lineHeight;

  box.buttons = {BoxButton{"Yes", IDYES, {}}, BoxButton{"No", IDNO, {}}};
  const int buttonHeight = std::max(Scaled(BUTTON_HEIGHT, dpi), box.lineHeight + 4);
  int buttonsWidth = Scaled(BUTTON_GAP, dpi) * static_cast<int>(box.buttons.size() - 1);
  for (BoxButton& b : box.buttons) {
    b.rect.width = std::max(Scaled(BUTTON_MIN_WIDTH, dpi),
                            engine.measureText(font, b.label) + 2 * Scaled(LABEL_PADDING, dpi));
    b.rect.height = buttonHeight;
    buttonsWidth += b.rect.width;
  }
  const int stripMargin = Scaled(STRIP_MARGIN, dpi);
  box.width = std::max(textWidth + 2 * margin, buttonsWidth + 2 * stripMargin);
  box.height = box.stripTop + buttonHeight + 2 * Scaled(STRIP_PADDING, dpi);

  int x = box.width - stripMargin - buttonsWidth;
  for (BoxButton& b : box.buttons) {
    b.rect.x = x;
    b.rect.y = box.stripTop + Scaled(STRIP_PADDING, dpi);
    x += b.rect.width + Scaled(BUTTON_GAP, dpi);
  }
  return box;
}

bool YesNoBox::key(BoxKey k) {
  const int count = static_cast<int>(layout_.buttons.size());
  const int before = focus_;
  switch (k) {
    case BoxKey::Return:
    case BoxKey::Space:
      result_ = layout_.buttons[static_cast<std::size_t>(focus_)].result;
      break;
    case BoxKey::Tab:
    case BoxKey::Right:
    case BoxKey::Down:
      focus_ = (focus_ + 1) % count;
      break;
    case BoxKey::BackTab:
    case BoxKey::Left:
    case BoxKey::Up:
      focus_ = (focus_ + count - 1) % count;
      break;
    case BoxKey::Y:
      result_ = IDYES;
      break;
    case BoxKey::N:
    case BoxKey::Escape:
      result_ = IDNO;
      break;
    case BoxKey::Other:
      break;
  }
  return focus_ != before;
}

std::optional<int> YesNoBox::buttonAt(Point p) const {
  for (std::size_t i = 0; i < layout_.buttons.size(); ++i) {
    if (Inside(layout_.buttons[i].rect, p)) return static_cast<int>(i);
  }
  return std::nullopt;
}

// A press on a button takes the focus to it and holds it down; the button is chosen when the
// press ends over it, so that a press can still be taken back by moving away.
bool YesNoBox::leftDown(Point p) {
  held_ = buttonAt(p);
  pointerOver_ = held_.has_value();
  if (held_) focus_ = *held_;
  return held_.has_value();
}

bool YesNoBox::pointerMoved(Point p) {
  if (!held_) return false;
  const bool over = buttonAt(p) == held_;
  const bool changed = over != pointerOver_;
  pointerOver_ = over;
  return changed;
}

bool YesNoBox::leftUp(Point p) {
  if (!held_) return false;
  if (buttonAt(p) == held_) result_ = layout_.buttons[static_cast<std::size_t>(*held_)].result;
  held_.reset();
  pointerOver_ = false;
  return true;
}

void DrawYesNoBox(Image& image, TextEngine& engine, FontHandle font, const YesNoBox& box) {
  const BoxLayout& layout = box.layout();
  Canvas canvas(image, engine);
  canvas.selectFont(font);
  canvas.selectTransparentText();
  canvas.fillRect(0, 0, layout.width, layout.stripTop, BOX_TEXT_AREA);
  canvas.fillRect(0, layout.stripTop, layout.width, layout.height - layout.stripTop,
                  BOX_BUTTON_STRIP);
  for (std::size_t i = 0; i < layout.lines.size(); ++i) {
    canvas.drawText(layout.lineAt[i].x, layout.lineAt[i].y, layout.lines[i], BOX_TEXT);
  }
  for (std::size_t i = 0; i < layout.buttons.size(); ++i) {
    const BoxButton& b = layout.buttons[i];
    const bool focused = box.focus() == static_cast<int>(i);
    const bool pressed = box.pressed() == static_cast<int>(i);
    canvas.fillRect(b.rect.x, b.rect.y, b.rect.width, b.rect.height,
                    pressed ? BOX_PRESSED_FACE : BOX_BUTTON_FACE);
    // The focus is a thicker border in the accent colour: it is also the button that Return
    // and Space choose.
    if (focused) {
      Outline(canvas, b.rect, 2, BOX_FOCUS_BORDER);
    } else {
      Outline(canvas, b.rect, 1, BOX_BUTTON_BORDER);
    }
    const int labelWidth = canvas.measureText(b.label);
    canvas.drawText(b.rect.x + (b.rect.width - labelWidth) / 2,
                    b.rect.y + (b.rect.height - layout.lineHeight) / 2, b.label, BOX_TEXT);
  }
}

}  // namespace pax::sdl
