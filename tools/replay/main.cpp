// paxmorella-replay SCRIPT: runs the game's real start-up and frame loop on a scripted platform
// and prints what happens, one JSON object per line.

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <system_error>

#include "replay.h"
#ifdef PAX_HAVE_FREETYPE
#include "platform/fonts/freetype_text_engine.h"
#endif

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: paxmorella-replay SCRIPT\n";
    return 2;
  }
#ifdef SIGPIPE
  // A reader that goes away early is a failed write (status 2), not a silent death.
  std::signal(SIGPIPE, SIG_IGN);
#endif
  std::error_code ignored;
  if (std::filesystem::is_directory(argv[1], ignored)) {
    std::cerr << "paxmorella-replay: " << argv[1] << " is a directory, not a script\n";
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::cerr << "paxmorella-replay: cannot read " << argv[1] << "\n";
    return 2;
  }
  pax::replay::Script script;
  std::string error;
  if (!pax::replay::ParseScript(in, script, error)) {
    std::cerr << "paxmorella-replay: " << argv[1] << ": " << error << "\n";
    return 2;
  }
  std::ios::sync_with_stdio(false);
#ifdef PAX_HAVE_FREETYPE
  // Dumped frames show the texts as the Linux build draws them, at 96 dpi.
  pax::FreeTypeTextEngine text(96);
  int status = pax::replay::RunScript(script, &text, std::cout, std::cerr);
#else
  int status = pax::replay::RunScript(script, nullptr, std::cout, std::cerr);
#endif
  // The last lines reach the reader only now; a full disk or a closed pipe shows here.
  if (!std::cout.flush() && status == 0) {
    std::cerr << "paxmorella-replay: cannot write the output\n";
    status = 2;
  }
  return status;
}
