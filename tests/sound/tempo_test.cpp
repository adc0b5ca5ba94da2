// SPDX-License-Identifier: GPL-3.0-or-later
// Slow playback: the stretched block is 1/tempo as long and keeps its
// pitch (median F0 by autocorrelation over voiced frames), from the stretch
// itself, through the player, and through cliptool render --tempo on real
// recordings.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <numbers>
#include <string>
#include <vector>

#include "sound/captureoutput.h"
#include "sound/tempostretch.h"
#include "sound/waveplayer.h"
#include "soundfixtures.h"

namespace lexoria::sound {
namespace {

using testing::Bytes;
namespace fs = std::filesystem;

std::vector<float> ToMono(const Bytes& pcm, uint32_t channels) {
  std::vector<float> mono(pcm.size() / (2 * channels));
  for (size_t i = 0; i < mono.size(); ++i) {
    float sum = 0;
    for (uint32_t c = 0; c < channels; ++c) {
      int16_t s;
      std::memcpy(&s, pcm.data() + 2 * (i * channels + c), 2);
      sum += static_cast<float>(s);
    }
    mono[i] = sum / static_cast<float>(channels);
  }
  return mono;
}

// Median F0 over the voiced frames: 40 ms frames every 10 ms, voiced when
// loud (above a tenth of the loudest frame's RMS) and periodic (normalised
// autocorrelation peak above 0.6 between 70 and 400 Hz). 0 when no frame is.
double MedianF0(const std::vector<float>& x, uint32_t rate) {
  const size_t frame = rate * 40 / 1000;
  const size_t hop = rate / 100;
  const size_t minLag = rate / 400;
  const size_t maxLag = rate / 70;
  if (x.size() < frame + maxLag) return 0;
  std::vector<double> rms;
  for (size_t start = 0; start + frame + maxLag <= x.size(); start += hop) {
    double e = 0;
    for (size_t i = 0; i < frame; ++i) e += double(x[start + i]) * x[start + i];
    rms.push_back(std::sqrt(e / frame));
  }
  const double loudest = *std::max_element(rms.begin(), rms.end());
  std::vector<double> f0;
  for (size_t k = 0; k < rms.size(); ++k) {
    if (rms[k] < 0.1 * loudest) continue;
    const float* a = x.data() + k * hop;
    double best = 0;
    size_t bestLag = 0;
    for (size_t lag = minLag; lag <= maxLag; ++lag) {
      double r = 0, ea = 0, eb = 0;
      for (size_t i = 0; i < frame; ++i) {
        r += double(a[i]) * a[i + lag];
        ea += double(a[i]) * a[i];
        eb += double(a[i + lag]) * a[i + lag];
      }
      const double n = r / std::sqrt(ea * eb + 1e-9);
      if (n > best) {
        best = n;
        bestLag = lag;
      }
    }
    if (best > 0.6 && bestLag != 0) f0.push_back(double(rate) / double(bestLag));
  }
  if (f0.empty()) return 0;
  std::nth_element(f0.begin(), f0.begin() + static_cast<std::ptrdiff_t>(f0.size() / 2), f0.end());
  return f0[f0.size() / 2];
}

// Syllables of a voiced sound: harmonics of f0 under a rising and falling
// envelope, with pauses between.
Bytes Syllables(uint32_t rate, uint32_t channels, double f0, double seconds) {
  const size_t n = static_cast<size_t>(seconds * rate);
  Bytes pcm(n * channels * 2);
  for (size_t i = 0; i < n; ++i) {
    const double t = double(i) / rate;
    const double phase = std::fmod(t, 0.3) / 0.2;  // 0.2 s sound, 0.1 s pause
    const double envelope = phase < 1 ? std::sin(std::numbers::pi * phase) : 0;
    double v = 0;
    for (int h = 1; h <= 5; ++h) v += std::sin(2 * std::numbers::pi * f0 * h * t) / h;
    const int16_t s = static_cast<int16_t>(std::lrint(6000 * envelope * v));
    for (uint32_t c = 0; c < channels; ++c) std::memcpy(pcm.data() + 2 * (i * channels + c), &s, 2);
  }
  return pcm;
}

TEST(TempoStretch, SlowerByOneOverTempoWithThePitchKept) {
  struct Case {
    uint32_t rate;
    uint32_t channels;
    double f0;
    float tempo;
  };
  for (const Case c : {Case{24000, 1, 180, 0.7f}, Case{22050, 1, 240, 0.7f}, Case{44100, 2, 130, 0.7f},
                       Case{24000, 1, 180, 0.5f}, Case{24000, 1, 180, 1.5f}}) {
    SCOPED_TRACE(std::to_string(c.rate) + " Hz, " + std::to_string(c.channels) + " ch, tempo " +
                 std::to_string(c.tempo));
    const WaveFormat format = PcmFormat(c.rate, static_cast<uint16_t>(c.channels));
    const Bytes input = Syllables(c.rate, c.channels, c.f0, 1.5);
    std::vector<uint8_t> out;
    ASSERT_TRUE(StretchPcm(input.data(), static_cast<uint32_t>(input.size()), format, c.tempo, out));
    const size_t inFrames = input.size() / format.blockAlign;
    EXPECT_EQ(out.size() / format.blockAlign, static_cast<size_t>(std::lround(inFrames / c.tempo)));
    const double before = MedianF0(ToMono(input, c.channels), c.rate);
    const double after = MedianF0(ToMono(out, c.channels), c.rate);
    EXPECT_NEAR(before, c.f0, c.f0 * 0.02);
    EXPECT_NEAR(after, before, before * 0.05);
  }
}

TEST(TempoStretch, RefusesWhatItCannotStretch) {
  const Bytes pcm = Syllables(24000, 1, 180, 0.1);
  std::vector<uint8_t> out{1, 2, 3};
  WaveFormat eightBit = PcmFormat(24000, 1);
  eightBit.bitsPerSample = 8;
  EXPECT_FALSE(StretchPcm(pcm.data(), static_cast<uint32_t>(pcm.size()), eightBit, 0.7f, out));
  EXPECT_TRUE(out.empty());
  for (const float tempo : {0.0f, 0.2f, 5.0f, std::nanf("")})
    EXPECT_FALSE(StretchPcm(pcm.data(), static_cast<uint32_t>(pcm.size()), PcmFormat(24000, 1), tempo, out));
  EXPECT_FALSE(StretchPcm(pcm.data(), 1, PcmFormat(24000, 1), 0.7f, out));  // not one whole sample frame
  EXPECT_FALSE(StretchPcm(nullptr, 0, PcmFormat(24000, 1), 0.7f, out));
}

TEST(TempoStretch, ThePlayerWritesTheStretchedBlockOnlyWhenAsked) {
  CaptureOutput out;
  CWavePlayer player(&out);
  ASSERT_EQ(player.OpenFromMemory(testing::SilentFrames(40)), CWavePlayer::kSuccess);
  player.PrepareRange(0, 400000);
  const size_t normal = player.BlockSize();
  player.StartAtTempo(kSlowTempo);
  player.Stop();
  player.Start();
  player.Stop();
  player.StartAtTempo(kSlowTempo);  // the stretch made once is played again
  ASSERT_EQ(out.Writes().size(), 3u);
  const size_t frames = normal / 2;
  EXPECT_EQ(out.Writes()[0].size(), static_cast<size_t>(std::lround(frames / kSlowTempo)) * 2);
  EXPECT_EQ(out.Writes()[1].size(), normal);
  EXPECT_EQ(out.Writes()[2], out.Writes()[0]);
  EXPECT_EQ(out.Log(), "open write reset write reset write");
}

// cliptool render with and without --tempo on recordings of the content.
class RenderTempo : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* runDir = std::getenv("LEXORIA_RUN_DIR");
    const char* sourceDir = std::getenv("LEXORIA_SOURCE_DIR");
    if (runDir == nullptr || !fs::exists(fs::path(runDir) / "cliptool")) GTEST_SKIP() << "cliptool is not built";
    if (sourceDir == nullptr) GTEST_SKIP() << "LEXORIA_SOURCE_DIR is not set";
    m_tool = fs::path(runDir) / "cliptool";
    m_archive = fs::path(sourceDir) / "content" / "generated";
    if (!fs::exists(m_archive / "data.idx")) GTEST_SKIP() << "no sound archive in content/generated";
  }

  int Render(const std::string& arguments) {
    const std::string command =
        "cd '" + m_archive.string() + "' && '" + m_tool.string() + "' render " + arguments + " >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  // The samples of a file cliptool wrote (a 44-byte header).
  static std::vector<float> Samples(const fs::path& file) {
    const Bytes bytes = testing::ReadFile(file);
    if (bytes.size() <= 44) return {};
    return ToMono(Bytes(bytes.begin() + 44, bytes.end()), bytes[22]);
  }

  testing::TempDir m_dir;
  fs::path m_tool;
  fs::path m_archive;
};

TEST_F(RenderTempo, ASlowRenderLastsOneOverTempoAndKeepsThePitch) {
  for (const int clip : {1, 100, 400}) {
    SCOPED_TRACE("clip " + std::to_string(clip));
    const fs::path normalFile = m_dir / "normal.wav";
    const fs::path slowFile = m_dir / "slow.wav";
    ASSERT_EQ(Render(std::to_string(clip) + " '" + normalFile.string() + "'"), 0);
    ASSERT_EQ(Render("--tempo 0.7 " + std::to_string(clip) + " '" + slowFile.string() + "'"), 0);
    const std::vector<float> normal = Samples(normalFile);
    const std::vector<float> slow = Samples(slowFile);
    ASSERT_FALSE(normal.empty());
    EXPECT_NEAR(double(slow.size()) / double(normal.size()), 1 / 0.7, 0.03 / 0.7);
    const uint32_t rate = testing::ReadFile(normalFile)[24] | (testing::ReadFile(normalFile)[25] << 8);
    const double f0 = MedianF0(normal, rate);
    ASSERT_GT(f0, 0) << "no voiced frame";
    EXPECT_NEAR(MedianF0(slow, rate), f0, f0 * 0.05);
  }
}

TEST_F(RenderTempo, AWrongTempoIsAUsageError) {
  for (const char* tempo : {"0", "fast", "9", "0.7x"})
    EXPECT_EQ(Render(std::string("--tempo ") + tempo + " 1 '" + (m_dir / "x.wav").string() + "'"), 2) << tempo;
}

}  // namespace
}  // namespace lexoria::sound
