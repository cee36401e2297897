#include "scripted_platform.h"

namespace pax {

namespace {

constexpr int SCRIPTED_MAIN_WINDOW = 1;

// splitmix64: a fixed, well-mixed sequence for scripts that do not queue every value.
std::uint32_t NextInSequence(std::uint64_t& state) {
  std::uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return static_cast<std::uint32_t>((z ^ (z >> 31)) >> 32);
}

}  // namespace

void ScriptedPlatform::queueKinds(std::string_view digits) {
  for (char d : digits) {
    if (d < '0' || d > '3') throw std::invalid_argument("a tile kind is a digit from 0 to 3");
    queueRandom(static_cast<std::uint32_t>(d - '0') << 30);
  }
}

std::intptr_t ScriptedPlatform::createTopWindow(int window, int, int, int innerWidth,
                                                int innerHeight, std::string_view, std::uint32_t) {
  if (window != SCRIPTED_MAIN_WINDOW) return 0;
  windowOpen_ = true;
  clientWidth_ = innerWidth;
  clientHeight_ = innerHeight;
  return window;
}

std::intptr_t ScriptedPlatform::createPictureControl(int control, int, int, int, int,
                                                     const Image* image) {
  if (!windowOpen_ || control != 0) return 0;
  controlOpen_ = true;
  setPictureImage(control, image);
  return 1;
}

void ScriptedPlatform::setPictureImage(int control, const Image* image) {
  if (!controlOpen_ || control != 0) return;
  shown_ = image;
  ++framesPresented_;
}

void ScriptedPlatform::shutdownWindowLayer() {
  windowOpen_ = false;
  controlOpen_ = false;
  shown_ = nullptr;
}

int ScriptedPlatform::pollEvent() {
  if (events_.empty()) return EVENT_NONE;
  current_ = events_.front();
  events_.pop_front();
  return current_.code;
}

bool ScriptedPlatform::pointerInside(int window) const {
  return window == SCRIPTED_MAIN_WINDOW && windowOpen_ && pointerX_ >= 0 && pointerY_ >= 0 &&
         pointerX_ < clientWidth_ && pointerY_ < clientHeight_;
}

int ScriptedPlatform::pointerX(int window) {
  return pointerInside(window) ? pointerX_ : -1;
}
int ScriptedPlatform::pointerY(int window) {
  return pointerInside(window) ? pointerY_ : -1;
}

int ScriptedPlatform::askYesNo(std::string_view title, std::string_view text, int flags) {
  if (answers_.empty()) throw ScriptExhausted("the game asked a question and no answer was queued");
  const int answer = answers_.front();
  answers_.pop_front();
  questions_.push_back(
      Question{std::string(title), std::string(text), flags, answer, framesPresented_});
  onQuestion(questions_.back());
  return answer;
}

std::uint32_t ScriptedPlatform::nextRandom() {
  if (!random_.empty()) {
    const std::uint32_t value = random_.front();
    random_.pop_front();
    ++randomDrawn_;
    return value;
  }
  if (fallbackSeed_) {
    ++randomDrawn_;
    return NextInSequence(*fallbackSeed_);
  }
  throw ScriptExhausted("the game drew a random value and none was queued");
}

}  // namespace pax
