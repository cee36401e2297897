#include "replay.h"

#include <charconv>
#include <fstream>
#include <istream>
#include <limits>
#include <ostream>
#include <sstream>

#include "game/frame_step.h"
#include "platform/ppm.h"
#include "platform/scripted/scripted_platform.h"

namespace pax::replay {

namespace {

template <typename T>
bool ParseNumber(const std::string& token, T& value) {
  const char* end = token.data() + token.size();
  auto [ptr, ec] = std::from_chars(token.data(), end, value);
  return ec == std::errc() && ptr == end;
}

bool ParseInts(const std::vector<std::string>& args, std::vector<int>& out) {
  out.clear();
  for (const std::string& a : args) {
    int v = 0;
    if (!ParseNumber(a, v)) return false;
    out.push_back(v);
  }
  return true;
}

// Parses one command; answers an empty string or what is wrong with it.
std::string ParseCommand(const std::string& name, const std::vector<std::string>& args,
                         Script& script) {
  std::vector<int> ints;
  auto wantInts = [&](std::size_t n, const char* usage) -> std::string {
    if (args.size() != n || !ParseInts(args, ints)) return std::string("usage: ") + usage;
    return "";
  };
  if (name == "kinds") {
    if (args.empty()) return "usage: kinds DIGITS (each 0 to 3)";
    Kinds k;
    for (const std::string& a : args) {
      for (char c : a) {
        if (c < '0' || c > '3') return "a tile kind is a digit from 0 to 3: " + a;
      }
      k.digits += a;
    }
    script.commands.emplace_back(std::move(k));
  } else if (name == "random") {
    if (args.empty()) return "usage: random VALUE... (unsigned 32-bit decimal)";
    Random r;
    for (const std::string& a : args) {
      std::uint32_t v = 0;
      if (!ParseNumber(a, v)) return "not an unsigned 32-bit value: " + a;
      r.values.push_back(v);
    }
    script.commands.emplace_back(std::move(r));
  } else if (name == "pointer") {
    if (auto e = wantInts(2, "pointer X Y"); !e.empty()) return e;
    script.commands.emplace_back(Pointer{ints[0], ints[1]});
  } else if (name == "event") {
    if (auto e = wantInts(3, "event CODE ACTION CONTROL"); !e.empty()) return e;
    script.commands.emplace_back(Event{ints[0], ints[1], ints[2]});
  } else if (name == "dblclick") {
    if (auto e = wantInts(2, "dblclick X Y"); !e.empty()) return e;
    script.commands.emplace_back(DoubleClick{ints[0], ints[1]});
  } else if (name == "close") {
    if (!args.empty()) return "usage: close";
    script.commands.emplace_back(Close{});
  } else if (name == "answer") {
    if (args.size() != 1) return "usage: answer yes|no|fail";
    if (args[0] == "yes") {
      script.commands.emplace_back(Answer{IDYES});
    } else if (args[0] == "no") {
      script.commands.emplace_back(Answer{IDNO});
    } else if (args[0] == "fail") {
      script.commands.emplace_back(Answer{0});
    } else {
      return "usage: answer yes|no|fail";
    }
  } else if (name == "frames") {
    std::int64_t n = 0;
    if (args.size() != 1 || !ParseNumber(args[0], n) || n < 0) return "usage: frames N (N >= 0)";
    script.commands.emplace_back(Frames{n});
  } else if (name == "dump") {
    if (args.size() != 1) return "usage: dump PATH";
    script.commands.emplace_back(Dump{args[0]});
  } else {
    return "unknown command: " + name;
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

bool WritePpm(const Image& image, const std::string& path) {
  std::ofstream file(path, std::ios::binary);
  if (!file) return false;
  const std::vector<std::uint8_t> bytes = EncodePpm(image);
  file.write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  file.flush();
  return static_cast<bool>(file);
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
  for (int number = 1; std::getline(in, line); ++number) {
    if (const auto hash = line.find('#'); hash != std::string::npos) line.erase(hash);
    std::istringstream words(line);
    std::string name;
    if (!(words >> name)) continue;
    std::vector<std::string> args;
    for (std::string a; words >> a;) args.push_back(a);
    if (std::string problem = ParseCommand(name, args, script); !problem.empty()) {
      error = "line " + std::to_string(number) + ": " + problem;
      return false;
    }
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
        }
      } else if (const auto* dump = std::get_if<Dump>(&command)) {
        startOnce();
        if (!limits.allowDumps || !WritePpm(game.picture.frameImage, dump->path)) {
          err << "paxmorella-replay: cannot write " << dump->path << "\n";
          return 2;
        }
      }
    }
  } catch (const ProcessExit& exit) {
    out << "{\"exit\":" << exit.code << "}\n";
    return 0;
  } catch (const ScriptExhausted& e) {
    err << "paxmorella-replay: frame " << (started ? frame + 1 : 0) << ": " << e.what() << "\n";
    return 2;
  }
  return 0;
}

}  // namespace pax::replay
