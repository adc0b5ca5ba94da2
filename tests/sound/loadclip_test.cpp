// SPDX-License-Identifier: GPL-3.0-or-later
// LoadClip over archives built here: the clip reaches the player, and every
// failure leaves the previous clip in place.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "sound/captureoutput.h"
#include "sound/cliparchive.h"
#include "sound/loadclip.h"
#include "soundfixtures.h"

namespace lexoria::sound {
namespace {

using testing::Bytes;
using testing::kMpeg2MonoFrameBytes;
using testing::SilentFrames;
namespace fs = std::filesystem;

size_t OpenDescriptors() {
  size_t n = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator("/proc/self/fd")) ++n;
  return n;
}

void PatchFile(const fs::path& path, size_t at, const Bytes& bytes) {
  Bytes content = testing::ReadFile(path);
  if (content.size() < at + bytes.size()) content.resize(at + bytes.size());
  std::memcpy(content.data() + at, bytes.data(), bytes.size());
  testing::WriteFile(path, content);
}

Bytes Le32(uint32_t v) { return {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)}; }

// Three clips of 5, 8 and 12 frames: the stream length tells them apart.
class LoadClipTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::WriteArchiveFiles(m_dir.Path(), {SilentFrames(5), SilentFrames(8), SilentFrames(12)});
  }
  ClipStatus Load(int32_t n) {
    return LoadClip(
        n, m_player, m_current, [this](std::string_view text) { m_messages.emplace_back(text); }, m_dir.Path());
  }
  static uint32_t LengthOf(uint32_t frames) { return frames * kMpeg2MonoFrameBytes; }

  testing::TempDir m_dir;
  CaptureOutput m_out;
  CWavePlayer m_player{&m_out};
  int32_t m_current = -1;
  std::vector<std::string> m_messages;
};

TEST_F(LoadClipTest, HandsTheClipToThePlayerPreparedFromItsStart) {
  EXPECT_EQ(Load(3), ClipStatus::Loaded);
  EXPECT_EQ(m_current, 3);
  EXPECT_EQ(m_player.State(), CWavePlayer::kOpen);
  EXPECT_EQ(m_player.StreamLength(), LengthOf(12));
  EXPECT_EQ(m_player.EndMs(), m_player.DurationMs()) << "PrepareRange(0, 400000), clamped";
  EXPECT_EQ(m_player.FramesDecoded(), m_player.FramesPerBlock() / 4);
  EXPECT_TRUE(m_messages.empty());

  // Another phrase: the previous clip is closed first.
  EXPECT_EQ(Load(1), ClipStatus::Loaded);
  EXPECT_EQ(m_player.StreamLength(), LengthOf(5));
  EXPECT_EQ(m_out.Log(), "open close open");
}

TEST_F(LoadClipTest, TheCurrentClipIsNotLoadedAgain) {
  ASSERT_EQ(Load(2), ClipStatus::Loaded);
  m_player.Start();
  const uint32_t decoded = m_player.FramesDecoded();
  fs::remove(m_dir / "data.dat");
  fs::remove(m_dir / "data.idx");
  m_out.ClearLog();
  EXPECT_EQ(Load(2), ClipStatus::AlreadyLoaded);
  EXPECT_TRUE(m_messages.empty());
  EXPECT_EQ(m_out.Log(), "");
  EXPECT_EQ(m_player.State(), CWavePlayer::kPlaying);
  EXPECT_EQ(m_player.FramesDecoded(), decoded);
  // Reset to -1 (leaving for related phrases), the same number reloads.
  m_current = -1;
  EXPECT_EQ(Load(2), ClipStatus::NoDataFile);
}

// Every way a load can fail: the message (if any), and the player and the
// current clip number still those of clip 2.
TEST_F(LoadClipTest, FailuresKeepThePreviousClip) {
  struct Row {
    const char* name;
    std::function<void(const fs::path&)> damage;
    int32_t n;
    ClipStatus status;
    const char* message;  // nullptr: none
  };
  const auto noChange = [](const fs::path&) {};
  const Row rows[] = {
      {"data.dat missing", [](const fs::path& d) { fs::remove(d / "data.dat"); }, 3, ClipStatus::NoDataFile,
       "Can't find sound file!"},
      {"data.idx missing", [](const fs::path& d) { fs::remove(d / "data.idx"); }, 3, ClipStatus::NoIndexFile, nullptr},
      {"both missing", [](const fs::path& d) { fs::remove(d / "data.idx"), fs::remove(d / "data.dat"); }, 3,
       ClipStatus::NoDataFile, "Can't find sound file!"},
      {"clip 0", noChange, 0, ClipStatus::NoSuchClip, nullptr},
      {"clip -1", noChange, -1, ClipStatus::NoSuchClip, nullptr},
      {"lowest clip number", noChange, INT32_MIN, ClipStatus::NoSuchClip, nullptr},
      {"one past the last clip", noChange, 4, ClipStatus::NoSuchClip, nullptr},
      {"a trailing partial entry",
       [](const fs::path& d) {
         PatchFile(d / "data.idx", 24, {1, 2, 3, 4});
       },
       4, ClipStatus::NoSuchClip, nullptr},
      {"empty index", [](const fs::path& d) { testing::WriteFile(d / "data.idx", {}); }, 1, ClipStatus::NoSuchClip,
       nullptr},
      {"format value 2101", [](const fs::path& d) { PatchFile(d / "data.dat", 8, Le32(2101)); }, 3,
       ClipStatus::BadHeader, "This file is not in right format!"},
      {"magic differs in its last byte", [](const fs::path& d) { PatchFile(d / "data.dat", 7, {'L'}); }, 3,
       ClipStatus::BadHeader, "This file is not in right format!"},
      {"data.dat shorter than its header",
       [](const fs::path& d) {
         testing::WriteFile(d / "data.dat", {'z', 'a'});
       },
       3, ClipStatus::BadHeader, "This file is not in right format!"},
      {"body wholly beyond data.dat", [](const fs::path& d) { PatchFile(d / "data.idx", 16, Le32(1u << 30)); }, 3,
       ClipStatus::BadEntry, nullptr},
      {"body partly beyond data.dat",
       [](const fs::path& d) { PatchFile(d / "data.idx", 20, Le32(12 * kMpeg2MonoFrameBytes + 1)); }, 3,
       ClipStatus::BadEntry, nullptr},
      {"offset and size wrapping 32 bits",
       [](const fs::path& d) {
         PatchFile(d / "data.idx", 16, Le32(0xFFFFFF00u)), PatchFile(d / "data.idx", 20, Le32(0x200));
       },
       3, ClipStatus::BadEntry, nullptr},
      {"body of size 0", [](const fs::path& d) { PatchFile(d / "data.idx", 20, Le32(0)); }, 3, ClipStatus::BadEntry,
       nullptr},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    SetUp();
    m_current = -1;
    m_messages.clear();
    ASSERT_EQ(Load(2), ClipStatus::Loaded);
    m_player.Start();
    row.damage(m_dir.Path());
    m_out.ClearLog();
    const size_t descriptors = OpenDescriptors();

    EXPECT_EQ(Load(row.n), row.status);
    EXPECT_EQ(OpenDescriptors(), descriptors) << "both files are closed";
    if (row.message == nullptr) {
      EXPECT_TRUE(m_messages.empty());
    } else {
      EXPECT_EQ(m_messages, std::vector<std::string>{row.message});
    }
    EXPECT_EQ(m_current, 2);
    EXPECT_EQ(m_player.StreamLength(), LengthOf(8));
    EXPECT_EQ(m_out.Log(), "") << "the player was not touched";
    // The play button still plays clip 2.
    m_player.Stop();
    m_player.Start();
    ASSERT_EQ(m_out.Writes().size(), 1u);
  }
}

TEST_F(LoadClipTest, TheLastClipLoads) {
  EXPECT_EQ(Load(3), ClipStatus::Loaded);
  EXPECT_EQ(Load(4), ClipStatus::NoSuchClip);
  EXPECT_EQ(m_current, 3);
}

// A clip the player refuses: it counts as loaded (the old clip is gone) and
// play is silent.
TEST_F(LoadClipTest, AClipThePlayerRefusesLeavesItClosed) {
  Bytes riff = testing::Wrap(SilentFrames(4), ClipWrapper::WaveData58);
  std::memcpy(riff.data() + 50, "junk", 4);
  testing::WriteArchiveFiles(m_dir.Path(), {SilentFrames(5), riff});
  ASSERT_EQ(Load(1), ClipStatus::Loaded);
  EXPECT_EQ(Load(2), ClipStatus::NotPlayable);
  EXPECT_EQ(m_current, 2);
  EXPECT_EQ(m_player.State(), CWavePlayer::kClosed);
  m_out.ClearLog();
  m_player.Stop();
  m_player.Start();
  EXPECT_EQ(m_out.Log(), "");
}

TEST(ClipArchive, WriterAndReaderAgree) {
  testing::TempDir dir;
  const std::vector<Bytes> clips = {SilentFrames(2), Bytes{1, 2, 3}, testing::WithTag(SilentFrames(7))};
  ASSERT_TRUE(WriteArchive(dir.Path(), clips));
  // Same bytes as the archive written field by field.
  testing::TempDir reference;
  testing::WriteArchiveFiles(reference.Path(), clips);
  EXPECT_EQ(testing::ReadFile(dir / "data.dat"), testing::ReadFile(reference / "data.dat"));
  EXPECT_EQ(testing::ReadFile(dir / "data.idx"), testing::ReadFile(reference / "data.idx"));

  for (size_t i = 0; i < clips.size(); ++i) {
    Bytes body;
    ASSERT_EQ(ReadClip(dir.Path(), static_cast<int32_t>(i + 1), body), ClipStatus::Loaded);
    EXPECT_EQ(body, clips[i]);
  }
  std::vector<ClipEntry> entries;
  uint64_t bodyBytes = 0;
  ASSERT_EQ(ReadArchiveIndex(dir.Path(), entries, bodyBytes), ClipStatus::Loaded);
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[1].offset, 2 * kMpeg2MonoFrameBytes);
  EXPECT_EQ(entries[2].size, 7 * kMpeg2MonoFrameBytes + 128);
  EXPECT_EQ(bodyBytes, 2 * kMpeg2MonoFrameBytes + 3 + 7 * kMpeg2MonoFrameBytes + 128);
}

}  // namespace
}  // namespace lexoria::sound
