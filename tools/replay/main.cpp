// paxmorella-replay SCRIPT: runs the game's real start-up and frame loop on a scripted platform
// and prints what happens, one JSON object per line.

#include <fstream>
#include <iostream>

#include "replay.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: paxmorella-replay SCRIPT\n";
    return 2;
  }
  std::ifstream in(argv[1]);
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
  const int status = pax::replay::RunScript(script, nullptr, std::cout, std::cerr);
  std::cout.flush();
  return status;
}
