// SPDX-License-Identifier: GPL-3.0-or-later
// cliptool build and extract on small folders of clips.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "sound/cliparchive.h"
#include "soundfixtures.h"

namespace lexoria::sound {
namespace {

using testing::Bytes;
using testing::SilentFrames;
namespace fs = std::filesystem;

class CliptoolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* runDir = std::getenv("LEXORIA_RUN_DIR");
    if (runDir == nullptr || !fs::exists(fs::path(runDir) / "cliptool")) GTEST_SKIP() << "cliptool is not built";
    m_tool = fs::path(runDir) / "cliptool";
    fs::create_directory(m_dir / "clips");
  }

  int Run(const std::string& arguments) {
    std::string command = "cd '";
    command.append(m_dir.Path().string()).append("' && '").append(m_tool.string()).append("' ").append(arguments);
    command.append(" >/dev/null 2>&1");
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  void AddClip(const std::string& name, const Bytes& bytes) { testing::WriteFile(m_dir / "clips" / name, bytes); }

  testing::TempDir m_dir;
  fs::path m_tool;
};

TEST_F(CliptoolTest, BuildsTheArchiveInNumberOrder) {
  const std::vector<Bytes> clips = {SilentFrames(3), testing::WithTag(SilentFrames(1)), SilentFrames(7)};
  // Written out of order, with files that are not clips beside them.
  AddClip("0003.mp3", clips[2]);
  AddClip("0001.mp3", clips[0]);
  AddClip("0002.mp3", clips[1]);
  AddClip("notes.txt", {'x'});
  AddClip("12.mp3", {'y'});
  ASSERT_EQ(Run("build clips"), 0);

  testing::TempDir reference;
  testing::WriteArchiveFiles(reference.Path(), clips);
  EXPECT_EQ(testing::ReadFile(m_dir / "data.dat"), testing::ReadFile(reference / "data.dat"));
  EXPECT_EQ(testing::ReadFile(m_dir / "data.idx"), testing::ReadFile(reference / "data.idx"));

  for (int n = 1; n <= 3; ++n) {
    SCOPED_TRACE(n);
    ASSERT_EQ(Run("extract " + std::to_string(n) + " out.mp3"), 0);
    EXPECT_EQ(testing::ReadFile(m_dir / "out.mp3"), clips[static_cast<size_t>(n - 1)]);
  }
  EXPECT_NE(Run("extract 4 out.mp3"), 0);
  EXPECT_NE(Run("extract 0 out.mp3"), 0);
}

TEST_F(CliptoolTest, RefusesAFolderWithAGap) {
  AddClip("0001.mp3", SilentFrames(2));
  AddClip("0003.mp3", SilentFrames(2));
  EXPECT_NE(Run("build clips"), 0);
  EXPECT_FALSE(fs::exists(m_dir / "data.idx"));
  EXPECT_NE(Run("build empty-folder"), 0);
}

TEST_F(CliptoolTest, CheckNamesEachBadClip) {
  Bytes riff = testing::Wrap(SilentFrames(3), ClipWrapper::WaveData58);
  riff[50] = 'X';
  // Silent frames, an unknown RIFF layout, silent frames: check refuses
  // silence too, but render plays it.
  testing::WriteArchiveFiles(m_dir.Path(), {SilentFrames(3), riff, SilentFrames(2)});
  EXPECT_EQ(Run("check"), 1);
  EXPECT_EQ(Run("list"), 0);
  EXPECT_EQ(Run("render 2 out.wav"), 1);
  EXPECT_EQ(Run("render 3 out.wav"), 0);
  fs::remove(m_dir / "data.dat");
  EXPECT_EQ(Run("check"), 1);
  EXPECT_EQ(Run("list"), 1);
}

// Play must sound at once: a clip whose speech starts more than 70 ms in
// (here a tone behind five silent frames, 120 ms) is named by check.
TEST_F(CliptoolTest, CheckRefusesSpeechThatStartsLate) {
  if (!testing::HaveEncoder()) GTEST_SKIP() << "sox or lame is missing";
  const Bytes tone = testing::Encode(m_dir.Path(), 1.0, "-m m --resample 24 -b 48 -t");
  ASSERT_FALSE(tone.empty());
  Bytes late = SilentFrames(5);
  late.insert(late.end(), tone.begin(), tone.end());
  testing::WriteArchiveFiles(m_dir.Path(), {tone});
  EXPECT_EQ(Run("check"), 0);
  testing::WriteArchiveFiles(m_dir.Path(), {tone, late});
  EXPECT_EQ(Run("check"), 1);
}

}  // namespace
}  // namespace lexoria::sound
