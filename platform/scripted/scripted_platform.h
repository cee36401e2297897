#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace pax {

// What exitProcess does on the scripted platform: the game's way out unwinds to the test or
// tool that drives it.
struct ProcessExit {
  int code;
};

// A script ran out of what the game asked for (random values, answers).
class ScriptExhausted : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A font engine without glyphs: every text measures 0 and paints nothing. The scripted platform
// uses it unless a real engine is handed in.
class NullTextEngine : public TextEngine {
 public:
  FontHandle createFont(std::string_view, int) override { return 0; }
  void freeFont(FontHandle) override {}
  int measureText(FontHandle, std::string_view) override { return 0; }
  void rasterizeText(FontHandle, std::string_view, TextMask& mask) override { mask = TextMask{}; }
};

// The platform for tests and the replay tool: events, pointer, answers and random values come
// from a script queued in advance; nothing sleeps and nothing reaches a screen. The game-facing
// behaviour follows the real platforms: one event per poll, a poll with nothing waiting leaves
// the last event's action and control in place, and the pointer answers -1 on both axes while
// it is outside the window or no window is open.
class ScriptedPlatform : public Platform {
 public:
  struct Event {
    int code;
    int action;
    int control;
  };
  struct Question {
    std::string title;
    std::string text;
    int flags;
    int answer;
    int framesPresented;  // setPictureImage calls before the box opened
  };

  explicit ScriptedPlatform(TextEngine* text = nullptr) : text_(text ? text : &nullText_) {}

  // The script.
  void queueEvent(Event e) { events_.push_back(e); }
  void queueRandom(std::uint32_t value) { random_.push_back(value); }
  // A random value for each kind, such that UniformInt(3) of it gives that kind.
  void queueKinds(std::string_view digits);
  void queueAnswer(int answer) { answers_.push_back(answer); }
  void setPointer(int x, int y) {
    pointerX_ = x;
    pointerY_ = y;
  }
  // Past the queued values, draw from a fixed pseudo-random sequence instead of failing.
  void fallBackToSequence(std::uint64_t seed) { fallbackSeed_ = seed; }

  // What the game did.
  const std::vector<Question>& questions() const { return questions_; }
  int framesPresented() const { return framesPresented_; }
  long long sleptMs() const { return sleptMs_; }
  std::uint64_t randomDrawn() const { return randomDrawn_; }
  bool windowOpen() const { return windowOpen_; }
  const Image* shownImage() const { return shown_; }

  // Platform.
  void initWindowLayer() override {}
  std::intptr_t createTopWindow(int window, int x, int y, int innerWidth, int innerHeight,
                                std::string_view title, std::uint32_t flags) override;
  std::intptr_t createPictureControl(int control, int x, int y, int width, int height,
                                     const Image* image) override;
  void setPictureImage(int control, const Image* image) override;
  void shutdownWindowLayer() override;
  int pollEvent() override;
  int eventAction() override { return current_.action; }
  int eventControl() override { return current_.control; }
  int pointerX(int window) override;
  int pointerY(int window) override;
  int askYesNo(std::string_view title, std::string_view text, int flags) override;
  void sleepMs(int milliseconds) override { sleptMs_ += milliseconds; }
  std::uint32_t nextRandom() override;
  TextEngine& textEngine() override { return *text_; }
  [[noreturn]] void exitProcess(int code) override { throw ProcessExit{code}; }

 protected:
  // Called when the box opens, for tools that report the question as it is asked.
  virtual void onQuestion(const Question&) {}

 private:
  bool pointerInside(int window) const;

  NullTextEngine nullText_;
  TextEngine* text_;
  std::deque<Event> events_;
  std::deque<std::uint32_t> random_;
  std::deque<int> answers_;
  std::optional<std::uint64_t> fallbackSeed_;
  Event current_{EVENT_NONE, ACTION_NONE, -1};
  int pointerX_ = -1;
  int pointerY_ = -1;
  bool windowOpen_ = false;
  int clientWidth_ = 0;
  int clientHeight_ = 0;
  bool controlOpen_ = false;
  const Image* shown_ = nullptr;
  int framesPresented_ = 0;
  long long sleptMs_ = 0;
  std::uint64_t randomDrawn_ = 0;
  std::vector<Question> questions_;
};

}  // namespace pax
