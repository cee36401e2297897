// pax-e2e-inspect: reads screenshots of the game for the end-to-end test (run-e2e).
//   layout SHOT.ppm              the fixed pixels of the layout are right
//   board SHOT.ppm TILES_DIR     prints the board; fails when a cell shows none of the tiles
//   bar SHOT.ppm                 prints the width of the time bar's fill
//   pick BOARD                   prints "X Y X2 Y2": a cell to double-click, one to click once
//   removal BEFORE AFTER X Y     AFTER is BEFORE with the group at (X, Y) removed
//   unscale SHOT.ppm S OUT.ppm   writes the frame that SHOT shows at scale S; fails when a
//                                block of S x S pixels holds more than one colour
// Screenshots are binary PPM files (import -window ID ppm:FILE). Exit status 0 when the check
// holds, 1 when it does not (with the reason on standard error), 2 on a usage error.

#include <array>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "board_reading.h"
#include "platform/bmp.h"
#include "platform/ppm.h"

namespace {

std::vector<std::uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

pax::Image ReadPpm(const std::string& path) {
  return pax::DecodePpm(ReadFile(path));
}

int Fail(const std::string& why) {
  std::cerr << "pax-e2e-inspect: " << why << "\n";
  return 1;
}

int Usage() {
  std::cerr << "usage: pax-e2e-inspect layout SHOT | board SHOT TILES_DIR | bar SHOT | pick BOARD"
               " | removal BEFORE AFTER X Y | unscale SHOT S OUT\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) return Usage();
  const std::string& command = args[0];

  if (command == "layout" && args.size() == 2) {
    const pax::Image shot = ReadPpm(args[1]);
    if (shot.empty()) return Fail("cannot read " + args[1]);
    const std::vector<std::string> faults = pax::e2e::LayoutFaults(shot);
    for (const std::string& fault : faults) std::cerr << "pax-e2e-inspect: " << fault << "\n";
    return faults.empty() ? 0 : 1;
  }
  if (command == "board" && args.size() == 3) {
    const pax::Image shot = ReadPpm(args[1]);
    if (shot.empty()) return Fail("cannot read " + args[1]);
    std::array<pax::Image, 4> tiles;
    for (std::size_t kind = 0; kind < tiles.size(); ++kind) {
      const std::string path = args[2] + "/tile" + std::to_string(kind) + ".bmp";
      tiles[kind] = pax::DecodeBmp(ReadFile(path));
      if (tiles[kind].empty()) return Fail("cannot read " + path);
    }
    const std::string board = pax::e2e::ReadBoard(shot, tiles);
    std::cout << board << "\n";
    return board.find('?') == std::string::npos ? 0 : Fail("cells without a tile: " + board);
  }
  if (command == "bar" && args.size() == 2) {
    const pax::Image shot = ReadPpm(args[1]);
    if (shot.empty()) return Fail("cannot read " + args[1]);
    const std::optional<int> fill = pax::e2e::BarFill(shot);
    if (!fill) return Fail("no time bar in " + args[1]);
    std::cout << *fill << "\n";
    return 0;
  }
  if (command == "pick" && args.size() == 2) {
    const auto targets = pax::e2e::PickTargets(args[1]);
    if (!targets) return Fail("the board has fewer than two groups: " + args[1]);
    std::cout << (*targets)[0].x << " " << (*targets)[0].y << " " << (*targets)[1].x << " "
              << (*targets)[1].y << "\n";
    return 0;
  }
  if (command == "removal" && args.size() == 5) {
    const std::string fault =
        pax::e2e::RemovalFault(args[1], args[2], {std::stoi(args[3]), std::stoi(args[4])});
    return fault.empty() ? 0 : Fail(fault);
  }
  if (command == "unscale" && args.size() == 4) {
    const pax::Image shot = ReadPpm(args[1]);
    if (shot.empty()) return Fail("cannot read " + args[1]);
    std::string fault;
    const std::optional<pax::Image> frame = pax::e2e::Unscale(shot, std::stoi(args[2]), fault);
    if (!frame) return Fail(fault);
    const std::vector<std::uint8_t> ppm = pax::EncodePpm(*frame);
    std::ofstream out(args[3], std::ios::binary);
    out.write(reinterpret_cast<const char*>(ppm.data()), static_cast<std::streamsize>(ppm.size()));
    return out ? 0 : Fail("cannot write " + args[3]);
  }
  return Usage();
}
