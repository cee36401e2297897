#include "tools/replay/replay.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

namespace pax::replay {
namespace {

// A board with one pair of 1s at the top of column 0 and no other group.
constexpr const char* kDeal =
    "kinds 1123012301 0230123012 2301230123 3012301230 0123012301\n"
    "kinds 1230123012 2301230123 3012301230 0123012301 1230123012\n";

struct Outcome {
  int status = -1;
  std::vector<std::string> lines;
  std::string err;
};

Outcome RunText(const std::string& text) {
  std::istringstream in(text);
  Script script;
  std::string error;
  Outcome run;
  if (!ParseScript(in, script, error)) {
    run.status = 2;
    run.err = error;
    return run;
  }
  std::ostringstream out, err;
  run.status = RunScript(script, nullptr, out, err);
  std::istringstream lines(out.str());
  for (std::string line; std::getline(lines, line);) run.lines.push_back(line);
  run.err = err.str();
  return run;
}

TEST(ReplayScript, MalformedLinesAreNamed) {
  const std::pair<const char*, const char*> cases[] = {
      {"frames 1\nbogus\n", "line 2: unknown command: bogus"},
      {"kinds 0124\n", "line 1: a tile kind"},
      {"kinds\n", "line 1: usage: kinds"},
      {"random 4294967296\n", "line 1: not an unsigned 32-bit value"},
      {"random -1\n", "line 1: not an unsigned 32-bit value"},
      {"pointer 1\n", "line 1: usage: pointer X Y"},
      {"pointer 1 2x\n", "line 1: usage: pointer X Y"},
      {"event 1 2\n", "line 1: usage: event"},
      {"# comment\n\nanswer maybe\n", "line 3: usage: answer"},
      {"close now\n", "line 1: usage: close"},
      {"frames -3\n", "line 1: usage: frames"},
      {"dump\n", "line 1: usage: dump"},
      {"dump a b\n", "line 1: usage: dump"},
      {"frames 1 2\n", "line 1: usage: frames"},
      {"\xEF\xBB\xBF"
       "frames 1\n\xEF\xBB\xBF"
       "frames 1\n",
       "line 2: unknown command: \\xef\\xbb\\xbfframes"},
  };
  for (auto [text, message] : cases) {
    const Outcome run = RunText(text);
    EXPECT_EQ(run.status, 2) << text;
    EXPECT_NE(run.err.find(message), std::string::npos) << text << " gave " << run.err;
    EXPECT_TRUE(run.lines.empty()) << "nothing runs before the whole script is read";
  }
}

TEST(ReplayScript, ErrorsShowAShortPrintableExcerptOfTheWord) {
  const std::string hostile = "\x1b]0;owned\x07\x1b[2J" + std::string(10'000'000, '7');
  const std::pair<std::string, std::string> cases[] = {
      {"kinds " + hostile + "\n",
       "line 1: a tile kind is a digit from 0 to 3: \\x1b]0;owned\\x07\\x1b[2J777"},
      {"random 1 " + hostile + "\n", "line 1: not an unsigned 32-bit value: \\x1b]0;owned"},
      {hostile + "\n", "line 1: unknown command: \\x1b]0;owned"},
  };
  for (const auto& [text, message] : cases) {
    const Outcome run = RunText(text);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err.rfind(message, 0), 0u) << run.err.substr(0, 200);
    EXPECT_LT(run.err.size(), 200u);
    EXPECT_TRUE(run.err.ends_with("...")) << run.err.substr(0, 200);
    for (char c : run.err) EXPECT_TRUE(c >= 0x20 && c < 0x7f) << static_cast<int>(c);
  }
}

TEST(ReplayScript, AByteOrderMarkStartsTheFirstLineUnseen) {
  const Outcome run = RunText("\xEF\xBB\xBF" + std::string(kDeal) + "frames 1\n");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.lines.size(), 2u);
}

TEST(ReplayScript, PrintsStartUpFramesAndTheRemoval) {
  const Outcome run = RunText(std::string(kDeal) +
                              "dblclick 20 60   # the lower tile of the pair\n"
                              "kinds 2 3\n"
                              "frames 2\n");
  ASSERT_EQ(run.status, 0) << run.err;
  ASSERT_EQ(run.lines.size(), 3u);
  EXPECT_EQ(run.lines[0],
            "{\"frame\":0,\"time_left\":100,\"score\":0,\"shown_score\":0,\"multiplier\":10,"
            "\"shown_multiplier\":10,\"group_count\":0,\"board\":\"11230123010230123012230123012330"
            "12301230012301230112301230122301230123301230123001230123011230123012\"}");
  EXPECT_NE(run.lines[1].find("\"frame\":1,\"time_left\":94.9,\"score\":20,\"shown_score\":0"),
            std::string::npos)
      << run.lines[1];
  EXPECT_NE(run.lines[1].find("\"group_count\":2,\"board\":\"3223"), std::string::npos)
      << run.lines[1];
  EXPECT_NE(run.lines[2].find("\"frame\":2,\"time_left\":94.80000000000001,\"score\":20,"
                              "\"shown_score\":10"),
            std::string::npos)
      << run.lines[2];
}

TEST(ReplayScript, QuestionAndExitAreReported) {
  const Outcome run = RunText(std::string(kDeal) + "answer no\nframes 1001\nframes 5\n");
  ASSERT_EQ(run.status, 0) << run.err;
  ASSERT_EQ(run.lines.size(), 1003u) << "frame 0, 1000 frames, the question, the exit";
  EXPECT_EQ(run.lines[1001], "{\"ask\":\"Game Over - Score: 0.\\nPlay again?\",\"answer\":7}");
  EXPECT_EQ(run.lines[1002], "{\"exit\":0}");
}

TEST(ReplayScript, RunningShortOfTheScriptIsAnError) {
  const std::pair<std::string, const char*> cases[] = {
      {"kinds 0123\nframes 1\n", "frame 0: the game drew a random value"},
      {std::string(kDeal) + "frames 1001\n", "frame 1001: the game asked a question"},
      {std::string(kDeal) + "dblclick 20 20\nframes 1\n", "frame 1: the game drew a random value"},
  };
  for (const auto& [text, message] : cases) {
    const Outcome run = RunText(text);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
  }
}

TEST(ReplayScript, DumpWritesTheFrameAsBinaryPpm) {
  const auto path = std::filesystem::temp_directory_path() / "pax_replay_dump_test.ppm";
  const Outcome run = RunText(std::string(kDeal) + "dump " + path.string() + "\n");
  ASSERT_EQ(run.status, 0) << run.err;
  std::ifstream file(path, std::ios::binary);
  std::string magic;
  int width = 0, height = 0, maxval = 0;
  file >> magic >> width >> height >> maxval;
  EXPECT_EQ(magic, "P6");
  EXPECT_EQ(width, 421);
  EXPECT_EQ(height, 450);
  EXPECT_EQ(maxval, 255);
  // Windows refuses to remove a file that is still open.
  file.close();
  EXPECT_EQ(std::filesystem::file_size(path), 15u + 421u * 450u * 3u);
  std::filesystem::remove(path);

  const Outcome bad = RunText(std::string(kDeal) + "dump /nonexistent/dir/frame.ppm\n");
  EXPECT_EQ(bad.status, 2);
  EXPECT_NE(bad.err.find("cannot write"), std::string::npos);
}

// An output that takes nothing, as a full disk or a pipe whose reader has gone.
class RefusingBuffer : public std::streambuf {
 protected:
  int_type overflow(int_type) override { return traits_type::eof(); }
};

TEST(ReplayScript, AnOutputThatCannotBeWrittenIsAnError) {
  std::istringstream in(std::string(kDeal) + "answer no\nframes 1001\n");
  Script script;
  std::string error;
  ASSERT_TRUE(ParseScript(in, script, error)) << error;
  RefusingBuffer refusing;
  std::ostream out(&refusing);
  std::ostringstream err;
  EXPECT_EQ(RunScript(script, nullptr, out, err), 2);
  EXPECT_EQ(err.str(), "paxmorella-replay: cannot write the output\n");
}

TEST(ReplayScript, ADumpAppearsWholeOrNotAtAll) {
  const auto dir = std::filesystem::temp_directory_path() / "pax_replay_dump_whole";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir / "taken");
  const auto path = dir / "frame.ppm";
  std::ofstream(path) << "an older picture";

  // Replacing an existing file leaves the new picture and no partial file.
  ASSERT_EQ(RunText(std::string(kDeal) + "dump " + path.string() + "\n").status, 0);
  EXPECT_EQ(std::filesystem::file_size(path), 15u + 421u * 450u * 3u);

  // A name held by a directory cannot take the picture: an error, and nothing is left behind.
  const Outcome bad = RunText(std::string(kDeal) + "dump " + (dir / "taken").string() + "\n");
  EXPECT_EQ(bad.status, 2);
  EXPECT_NE(bad.err.find("cannot write"), std::string::npos);
  std::vector<std::string> left;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    left.push_back(entry.path().filename().string());
  }
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"frame.ppm", "taken"}));
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace pax::replay
