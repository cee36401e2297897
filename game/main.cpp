// The program entry: the game takes no arguments and never returns; it ends through ExitGame.

#include "frame_step.h"

int main() {
  const auto platform = pax::CreatePlatform();
  pax::RunGame(*platform);
}
