// SPDX-License-Identifier: GPL-3.0-or-later
// What the player plays, against mpadec's decoding of the same frames,
// sample for sample, on clips encoded here with lame; and cliptool over an
// archive of those clips.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "sound/captureoutput.h"
#include "sound/cliparchive.h"
#include "sound/clipstream.h"
#include "sound/loadclip.h"
#include "soundfixtures.h"

namespace lexoria::sound {
namespace {

using testing::Bytes;
namespace fs = std::filesystem;

struct Case {
  std::string name;
  Bytes clip;       // what the archive holds
  Bytes stream;     // the bare frames inside it
  uint32_t frames;  // frames in the stream
};

// Encoded once for all tests: lame takes a while.
class RenderTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!testing::HaveEncoder()) {
      s_skip = "sox or lame is not installed";
      return;
    }
    s_dir = new testing::TempDir;
    const fs::path work = s_dir->Path();
    const Bytes cbr = testing::Encode(work, 2.0, "-m m --resample 24 -b 48 -t");
    const Bytes vbr = testing::Encode(work, 2.0, "-m m --resample 24 -V 5");
    const Bytes padded = testing::Encode(work, 1.0, "-m m --resample 44.1 -b 64 -t");
    const Bytes longer = testing::Encode(work, 9.7, "-m m --resample 24 -b 48 -t");
    if (cbr.empty() || vbr.empty() || padded.empty() || longer.empty()) {
      s_skip = "lame could not encode the test signal";
      return;
    }
    auto add = [](std::string name, Bytes clip, Bytes stream) {
      const uint32_t frames = static_cast<uint32_t>(testing::SplitFrames(stream).size());
      s_cases.push_back({std::move(name), std::move(clip), std::move(stream), frames});
    };
    add("bare", cbr, cbr);
    for (ClipWrapper w :
         {ClipWrapper::WaveFact70, ClipWrapper::WaveFact72, ClipWrapper::WaveData58, ClipWrapper::Rmp3}) {
      add(WrapperName(w), testing::Wrap(cbr, w), cbr);
    }
    add("trailing tag", testing::WithTag(cbr), cbr);
    add("RIFF and a trailing tag", testing::WithTag(testing::Wrap(cbr, ClipWrapper::WaveFact70)), cbr);
    const std::vector<Bytes> frames = testing::SplitFrames(cbr);
    for (size_t k = 1; k <= 4; ++k) {
      const Bytes shortStream = testing::JoinFrames(frames, 0, k);
      add(std::to_string(k) + " frames", shortStream, shortStream);
    }
    add("VBR with a Xing header", vbr, vbr);
    add("MPEG-1 44.1 kHz with padding", padded, padded);
    add("400 frames", longer, longer);

    std::vector<Bytes> clips;
    for (const Case& c : s_cases) clips.push_back(c.clip);
    if (!WriteArchive(work, clips)) s_skip = "cannot write the archive";
  }

  static void TearDownTestSuite() {
    delete s_dir;
    s_dir = nullptr;
    s_cases.clear();
  }

  void SetUp() override {
    if (!s_skip.empty()) GTEST_SKIP() << s_skip;
  }

  static fs::path Tool(const char* name) {
    const char* runDir = std::getenv("LEXORIA_RUN_DIR");
    return runDir == nullptr ? fs::path() : fs::path(runDir) / name;
  }

  // Runs a cliptool command in the archive's folder; its exit status.
  static int Cliptool(const std::string& arguments, const fs::path& output = {}) {
    std::string command = "cd '";
    command.append(s_dir->Path().string()).append("' && '").append(Tool("cliptool").string()).append("' ");
    command.append(arguments).append(" >'").append(output.empty() ? "/dev/null" : output.string()).append("' 2>&1");
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  static inline std::string s_skip;
  static inline testing::TempDir* s_dir = nullptr;
  static inline std::vector<Case> s_cases;
};

TEST_F(RenderTest, PlaysExactlyWhatMpadecDecodes) {
  for (size_t i = 0; i < s_cases.size(); ++i) {
    const Case& c = s_cases[i];
    SCOPED_TRACE(c.name);
    std::string why;
    const Bytes oracle = testing::DecodeWithMpadec(s_dir->Path(), c.stream, why);
    if (oracle.empty()) GTEST_SKIP() << why;

    CaptureOutput out;
    CWavePlayer player(&out);
    int32_t current = -1;
    ASSERT_EQ(LoadClip(static_cast<int32_t>(i + 1), player, current, nullptr, s_dir->Path()), ClipStatus::Loaded);
    player.Stop();
    player.Start();
    ASSERT_EQ(out.Writes().size(), 1u);
    const Bytes& played = out.Writes()[0];

    const uint32_t frames = std::min(c.frames, CWavePlayer::kMaxFramesPerBlock);
    const size_t pcm = player.PcmBytesPerFrame();
    const size_t sounding = size_t{frames} * pcm;
    EXPECT_EQ(player.FramesDecoded(), frames);
    EXPECT_GE(player.FramesPerBlock(), frames);
    EXPECT_EQ(played.size(), size_t{player.FramesPerBlock()} * pcm);
    ASSERT_GE(played.size(), sounding);
    // mpadec leaves out a first frame that only carries a VBR tag; the
    // player decodes it like any frame, to silence.
    const size_t tagBytes = WalkStream(c.stream.data(), static_cast<uint32_t>(c.stream.size())).vbrHeader ? pcm : 0;
    EXPECT_TRUE(std::all_of(played.begin(), played.begin() + static_cast<std::ptrdiff_t>(tagBytes),
                            [](uint8_t b) { return b == 0; }));
    ASSERT_GE(oracle.size(), sounding - tagBytes);
    const auto mismatch = std::mismatch(played.begin() + static_cast<std::ptrdiff_t>(tagBytes),
                                        played.begin() + static_cast<std::ptrdiff_t>(sounding), oracle.begin());
    EXPECT_EQ(mismatch.first - played.begin(), static_cast<std::ptrdiff_t>(sounding)) << "first differing byte";
    EXPECT_TRUE(std::all_of(played.begin() + static_cast<std::ptrdiff_t>(sounding), played.end(), [](uint8_t b) {
      return b == 0;
    })) << "slots after the last frame are silent";
  }
}

TEST_F(RenderTest, CliptoolRendersWhatThePlayerPlays) {
  if (!fs::exists(Tool("cliptool"))) GTEST_SKIP() << "cliptool is not built";
  for (size_t i = 0; i < s_cases.size(); ++i) {
    SCOPED_TRACE(s_cases[i].name);
    const int32_t n = static_cast<int32_t>(i + 1);
    const fs::path wav = s_dir->Path() / "render.wav";
    ASSERT_EQ(Cliptool("render " + std::to_string(n) + " render.wav"), 0);
    const Bytes file = testing::ReadFile(wav);

    CaptureOutput out;
    CWavePlayer player(&out);
    int32_t current = -1;
    LoadClip(n, player, current, nullptr, s_dir->Path());
    player.Start();
    ASSERT_EQ(out.Writes().size(), 1u);
    ASSERT_EQ(file.size(), 44 + out.Writes()[0].size());
    EXPECT_TRUE(std::equal(file.begin() + 44, file.end(), out.Writes()[0].begin()));
    // The header carries the output format.
    const uint32_t rate = file[24] | file[25] << 8 | file[26] << 16;
    EXPECT_EQ(rate, player.SampleRate());
    EXPECT_EQ(file[22], player.Channels());
  }
}

TEST_F(RenderTest, CliptoolChecksEveryClip) {
  if (!fs::exists(Tool("cliptool"))) GTEST_SKIP() << "cliptool is not built";
  const fs::path report = s_dir->Path() / "check.txt";
  // The 400-frame clip is bad: the program plays its first 300. So, for
  // the book, is a clip whose speech starts late: the one-frame clip ends
  // within the encoder's delay, and the VBR clip's Xing frame adds 24 ms of
  // silence to it. Every other clip passes.
  EXPECT_EQ(Cliptool("check", report), 1);
  const Bytes text = testing::ReadFile(report);
  const std::string lines(text.begin(), text.end());
  EXPECT_NE(lines.find("clip " + std::to_string(s_cases.size()) + ": 407 frames: only the first 300"),
            std::string::npos)
      << lines;
  for (size_t k = 0; k < s_cases.size(); ++k) {
    const std::string& name = s_cases[k].name;
    if (name == "1 frames" || name == "VBR with a Xing header" || name == "400 frames") continue;
    EXPECT_EQ(lines.find("clip " + std::to_string(k + 1) + ": "), std::string::npos) << name << "\n" << lines;
  }

  const fs::path listing = s_dir->Path() / "list.txt";
  ASSERT_EQ(Cliptool("list", listing), 0);
  const Bytes listed = testing::ReadFile(listing);
  const std::string list(listed.begin(), listed.end());
  EXPECT_EQ(static_cast<size_t>(std::count(list.begin(), list.end(), '\n')), s_cases.size() + 1);
  EXPECT_NE(list.find("VBR"), std::string::npos);
  EXPECT_NE(list.find("\t" + std::to_string(s_cases.back().frames) + "\t"), std::string::npos) << list;
}

}  // namespace
}  // namespace lexoria::sound
