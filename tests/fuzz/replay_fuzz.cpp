// Any bytes as a replay script: the parser and the scripted run must end with status 0 or 2,
// never crash or run away. Frames are bounded and dumps refused, so nothing is written.

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "tools/replay/replay.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  pax::replay::Script script;
  std::string error;
  if (!pax::replay::ParseScript(in, script, error)) {
    if (error.rfind("line ", 0) != 0) std::abort();
    return 0;
  }
  std::ostringstream out, err;
  const int status =
      pax::replay::RunScript(script, nullptr, out, err, {.maxFrames = 200, .allowDumps = false});
  if (status != 0 && status != 2) std::abort();
  if (status == 2 && err.str().empty()) std::abort();
  return 0;
}
