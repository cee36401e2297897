#include "replay.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <istream>
#include <ostream>

#include "game/frame_step.h"
#include "platform/ppm.h"
#include "platform/scripted/scripted_platform.h"

namespace pax::replay {

namespace {

// A word from the script as an error message may show it: printable ASCII, other bytes as \xNN,
// and at most a few dozen characters, so that a huge or hostile word cannot flood a terminal.
std::string Excerpt(std::string_view word) {
  constexpr std::size_t kLongest = 64;
  static constexpr char kHex[] = "0123456789abcdef";
  std::string shown;
  for (std::size_t i = 0; i < word.size() && i < kLongest; ++i) {
    const auto u = static_cast<unsigned char>(word[i]);
    if (u >= 0x20 && u < 0x7f) {
      shown += word[i];
    } else {
      shown += "\\x";
      shown += kHex[u >> 4];
      shown += kHex[u & 15];
    }
  }
  if (word.size() > kLongest) shown += "...";
  return shown;
}

template <typename T>
bool ParseNumber(std::string_view token, T& value) {
  const char* end = token.data() + token.size();
  auto [ptr, ec] = std::from_chars(token.data(), end, value);
  return ec == std::errc() && ptr == end;
}

// The words of one line, read one at a time so that a long line costs no more than itself.
class Words {
 public:
  explicit Words(std::string_view line) : rest_(line) {}

  // The next word, or an empty view at the end of the line.
  std::string_view next() {
    const auto begin = rest_.find_first_not_of(" \t\r\v\f");
    if (begin == std::string_view::npos) {
      rest_ = {};
      return {};
    }
    rest_.remove_prefix(begin);
    const auto end = std::min(rest_.find_first_of(" \t\r\v\f"), rest_.size());
    const std::string_view word = rest_.substr(0, end);
    rest_.remove_prefix(end);
    return word;
  }

  bool atEnd() {
    const auto begin = rest_.find_first_not_of(" \t\r\v\f");
    return begin == std::string_view::npos;
  }

 private:
  std::string_view rest_;
};

// Exactly `count` integers and nothing after them.
bool ParseInts(Words& words, std::size_t count, int* out) {
  for (std::size_t i = 0; i < count; ++i) {
    const std::string_view word = words.next();
    if (word.empty() || !ParseNumber(word, out[i])) return false;
  }
  return words.atEnd();
}

// Parses one command; answers an empty string or what is wrong with it.
std::string ParseCommand(std::string_view name, Words& words, Script& script) {
  int ints[3] = {};
  if (name == "kinds") {
    Kinds k;
    for (std::string_view word = words.next(); !word.empty(); word = words.next()) {
      for (char c : word) {
        if (c < '0' || c > '3') return "a tile kind is a digit from 0 to 3: " + Excerpt(word);
      }
      k.digits += word;
    }
    if (k.digits.empty()) return "usage: kinds DIGITS (each 0 to 3)";
    script.commands.emplace_back(std::move(k));
  } else if (name == "random") {
    Random r;
    for (std::string_view word = words.next(); !word.empty(); word = words.next()) {
      std::uint32_t v = 0;
      if (!ParseNumber(word, v)) return "not an unsigned 32-bit value: " + Excerpt(word);
      r.values.push_back(v);
    }
    if (r.values.empty()) return "usage: random VALUE... (unsigned 32-bit decimal)";
    script.commands.emplace_back(std::move(r));
  } else if (name == "pointer") {
    if (!ParseInts(words, 2, ints)) return "usage: pointer X Y";
    script.commands.emplace_back(Pointer{ints[0], ints[1]});
  } else if (name == "event") {
    if (!ParseInts(words, 3, ints)) return "usage: event CODE ACTION CONTROL";
    script.commands.emplace_back(Event{ints[0], ints[1], ints[2]});
  } else if (name == "dblclick") {
    if (!ParseInts(words, 2, ints)) return "usage: dblclick X Y";
    script.commands.emplace_back(DoubleClick{ints[0], ints[1]});
  } else if (name == "close") {
    if (!words.atEnd()) return "usage: close";
    script.commands.emplace_back(Close{});
  } else if (name == "answer") {
    const std::string_view word = words.next();
    if (!words.atEnd()) return "usage: answer yes|no|fail";
    if (word == "yes") {
      script.commands.emplace_back(Answer{IDYES});
    } else if (word == "no") {
      script.commands.emplace_back(Answer{IDNO});
    } else if (word == "fail") {
      script.commands.emplace_back(Answer{0});
    } else {
      return "usage: answer yes|no|fail";
    }
  } else if (name == "frames") {
    std::int64_t n = 0;
    const std::string_view word = words.next();
    if (word.empty() || !ParseNumber(word, n) || n < 0 || !words.atEnd()) {
      return "usage: frames N (N >= 0)";
    }
    script.commands.emplace_back(Frames{n});
  } else if (name == "dump") {
    const std::string_view word = words.next();
    if (word.empty() || !words.atEnd()) return "usage: dump PATH";
    script.commands.emplace_back(Dump{std::string(word)});
  } else {
    return "unknown command: " + Excerpt(name);
  }
  return "";
}

void WriteJsonString(std::ostream& out, std::string_view text) {
  out << '"';
  for (char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out << '\\' << c;
    } else if (c == '\n') {
      out << "\\n";
    } else if (u < 0x20) {
      static constexpr char kHex[] = "0123456789abcdef";
      out << "\\u00" << kHex[u >> 4] << kHex[u & 15];
    } else {
      out << c;
    }
  }
  out << '"';
}

// The shortest text that reads back as the same double.
std::string ExactDouble(double value) {
  char buffer[64];
  auto [ptr, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
  return ec == std::errc() ? std::string(buffer, ptr) : "null";
}

void WriteFrame(std::ostream& out, long long frame, const GameState& s) {
  std::string board;
  for (std::int32_t cell : s.board.cells) {
    board += cell == EMPTY_CELL ? '.' : static_cast<char>('0' + cell);
  }
  out << "{\"frame\":" << frame << ",\"time_left\":" << ExactDouble(s.timeLeft)
      << ",\"score\":" << s.score << ",\"shown_score\":" << s.shownScore
      << ",\"multiplier\":" << s.multiplier << ",\"shown_multiplier\":" << s.shownMultiplier
      << ",\"group_count\":" << s.groupCount << ",\"board\":\"" << board << "\"}\n";
}

// Writes the frame beside its destination and renames it into place, so that a failed write
// (a full disk, say) never leaves a truncated picture under the name asked for.
bool WritePpm(const Image& image, const std::string& path) {
  const std::string partial = path + ".partial";
  {
    std::ofstream file(partial, std::ios::binary | std::ios::trunc);
    if (!file) return false;
    const std::vector<std::uint8_t> bytes = EncodePpm(image);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file) {
      std::error_code ignored;
      std::filesystem::remove(partial, ignored);
      return false;
    }
  }
  std::error_code failed;
  std::filesystem::rename(partial, path, failed);
  if (failed) {
    std::error_code ignored;
    std::filesystem::remove(partial, ignored);
    return false;
  }
  return true;
}

// Reports each question on the output as it is asked.
class ReplayPlatform : public ScriptedPlatform {
 public:
  ReplayPlatform(TextEngine* text, std::ostream& out) : ScriptedPlatform(text), out_(out) {}

 protected:
  void onQuestion(const Question& q) override {
    out_ << "{\"ask\":";
    WriteJsonString(out_, q.text);
    out_ << ",\"answer\":" << q.answer << "}\n";
  }

 private:
  std::ostream& out_;
};

}  // namespace

bool ParseScript(std::istream& in, Script& script, std::string& error) {
  std::string line;
  for (long long number = 1; std::getline(in, line); ++number) {
    std::string_view text = line;
    // Editors on some systems start a UTF-8 file with a byte-order mark.
    if (number == 1 && text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    if (const auto hash = text.find('#'); hash != std::string_view::npos)
      text = text.substr(0, hash);
    Words words(text);
    const std::string_view name = words.next();
    if (name.empty()) continue;
    if (std::string problem = ParseCommand(name, words, script); !problem.empty()) {
      error = "line " + std::to_string(number) + ": " + problem;
      return false;
    }
  }
  if (in.bad()) {
    error = "cannot read the script";
    return false;
  }
  return true;
}

int RunScript(const Script& script, TextEngine* text, std::ostream& out, std::ostream& err,
              const RunLimits& limits) {
  ReplayPlatform platform(text, out);
  Game game(platform);
  bool started = false;
  long long frame = 0;

  auto startOnce = [&] {
    if (started) return;
    StartGame(game);
    started = true;
    WriteFrame(out, 0, game.state);
  };
  // A closed pipe or a full disk: the lines the caller asked for are lost, and it must know.
  auto outputLost = [&] {
    if (out) return false;
    err << "paxmorella-replay: cannot write the output\n";
    return true;
  };

  try {
    for (const Command& command : script.commands) {
      if (const auto* k = std::get_if<Kinds>(&command)) {
        platform.queueKinds(k->digits);
      } else if (const auto* r = std::get_if<Random>(&command)) {
        for (std::uint32_t v : r->values) platform.queueRandom(v);
      } else if (const auto* p = std::get_if<Pointer>(&command)) {
        platform.setPointer(p->x, p->y);
      } else if (const auto* e = std::get_if<Event>(&command)) {
        platform.queueEvent({e->code, e->action, e->control});
      } else if (const auto* d = std::get_if<DoubleClick>(&command)) {
        platform.setPointer(d->x, d->y);
        platform.queueEvent({EVENT_CONTROL, ACTION_LEFT_DOUBLE_CLICK, BOARD_VIEW});
      } else if (std::holds_alternative<Close>(command)) {
        platform.queueEvent({EVENT_CLOSE_REQUEST, ACTION_NONE, -1});
      } else if (const auto* a = std::get_if<Answer>(&command)) {
        platform.queueAnswer(a->result);
      } else if (const auto* f = std::get_if<Frames>(&command)) {
        startOnce();
        for (std::int64_t i = 0; i < f->count; ++i) {
          if (limits.maxFrames >= 0 && frame >= limits.maxFrames) {
            err << "paxmorella-replay: more than " << limits.maxFrames << " frames\n";
            return 2;
          }
          FrameStep(game);
          WriteFrame(out, ++frame, game.state);
          if (outputLost()) return 2;
        }
      } else if (const auto* dump = std::get_if<Dump>(&command)) {
        startOnce();
        if (!limits.allowDumps || !WritePpm(game.picture.frameImage, dump->path)) {
          err << "paxmorella-replay: cannot write " << Excerpt(dump->path) << "\n";
          return 2;
        }
      }
    }
  } catch (const ProcessExit& exit) {
    out << "{\"exit\":" << exit.code << "}\n";
    return outputLost() ? 2 : 0;
  } catch (const ScriptExhausted& e) {
    err << "paxmorella-replay: frame " << (started ? frame + 1 : 0) << ": " << e.what() << "\n";
    return 2;
  }
  return outputLost() ? 2 : 0;
}

}  // namespace pax::replay
