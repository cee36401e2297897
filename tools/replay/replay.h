#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <variant>
#include <vector>

#include "platform/platform.h"

namespace pax::replay {

// One line of a replay script.
struct Kinds {
  std::string digits;
};
struct Random {
  std::vector<std::uint32_t> values;
};
struct Pointer {
  int x, y;
};
struct Event {
  int code, action, control;
};
struct DoubleClick {
  int x, y;
};
struct Close {};
struct Answer {
  int result;
};
struct Frames {
  std::int64_t count;
};
struct Dump {
  std::string path;
};
using Command =
    std::variant<Kinds, Random, Pointer, Event, DoubleClick, Close, Answer, Frames, Dump>;

struct Script {
  std::vector<Command> commands;
};

// Reads a whole script. On a malformed line answers false and sets `error` to a message that
// names the line.
bool ParseScript(std::istream& in, Script& script, std::string& error);

// Bounds for running scripts that nobody has read, such as a fuzzer's.
struct RunLimits {
  std::int64_t maxFrames = -1;  // more frame steps than this end the run with status 2; -1: none
  bool allowDumps = true;       // false: a dump is an error instead of a file write
};

// Runs the script against the real start-up and frame loop on the scripted platform and writes
// one JSON line per frame, question and exit to `out`. Answers the tool's exit status: 0 when the
// script ran through or the game exited, 2 when the script was short of what the game asked for
// or a dump could not be written (with a one-line message on `err`).
int RunScript(const Script& script, TextEngine* text, std::ostream& out, std::ostream& err,
              const RunLimits& limits = {});

}  // namespace pax::replay
