// SPDX-License-Identifier: GPL-3.0-or-later
// Reduced rates, 8-bit output and the channel conversions of layer III,
// each checked against the full-rate 16-bit stereo decoding of one stream.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "testsupport.h"

using namespace mpegtest;

namespace {

std::string Stream() {
  const std::string mp3 = std::string(MPEG_TEST_CACHE) + "/conversion.mp3";
  MakeEncodedStream(mp3, 44100, 2, "synth 2 sine 220-440 sine 660 pinknoise vol 0.4", "lame --quiet -m j -b 128");
  return mp3;
}

std::vector<uint8_t> Decode(const std::string& mp3, const std::string& flags) {
  const std::string out = ::testing::TempDir() + "/conversion.raw";
  EXPECT_EQ(RunCommand(Quote(Mpadec()) + " " + flags + " " + Quote(mp3) + " " + Quote(out)), 0) << flags;
  auto bytes = ReadBytes(out);
  std::remove(out.c_str());
  return bytes;
}

std::vector<int16_t> Samples16(const std::vector<uint8_t>& b) {
  std::vector<int16_t> s(b.size() / 2);
  for (size_t i = 0; i < s.size(); ++i) s[i] = static_cast<int16_t>(b[2 * i] | (b[2 * i + 1] << 8));
  return s;
}

std::vector<int16_t> Channel(const std::vector<int16_t>& stereo, int ch) {
  std::vector<int16_t> out(stereo.size() / 2);
  for (size_t i = 0; i < out.size(); ++i) out[i] = stereo[2 * i + ch];
  return out;
}

// The reduced-rate window is the full one decimated, so it lets some aliasing
// through: a working variant scores near 20 dB, a broken one near 0.
// Signal-to-error ratio in dB of `reduced` against `full` low-passed and
// decimated by `factor`, at the best whole-sample lag.
double ReducedRateSnr(const std::vector<int16_t>& full, const std::vector<int16_t>& reduced, int factor) {
  const int taps = 63;
  const double fc = 0.45 / factor;
  std::vector<double> h(taps);
  double sum = 0;
  for (int n = 0; n < taps; ++n) {
    const double m = n - (taps - 1) / 2.0;
    const double sinc = m == 0 ? 2 * fc : std::sin(2 * M_PI * fc * m) / (M_PI * m);
    h[n] = sinc * (0.54 - 0.46 * std::cos(2 * M_PI * n / (taps - 1)));
    sum += h[n];
  }
  std::vector<double> ref;
  for (size_t i = 0; i + taps < full.size(); i += factor) {
    double acc = 0;
    for (int k = 0; k < taps; ++k) acc += h[k] / sum * full[i + k];
    ref.push_back(acc);
  }
  double best = 0;
  for (int lag = -40; lag <= 40; ++lag) {
    double err = 0, sig = 0;
    for (size_t i = 2000 / factor; i + 100 < ref.size(); ++i) {
      const long j = static_cast<long>(i) + lag;
      if (j < 0 || j >= static_cast<long>(reduced.size())) continue;
      err += (reduced[j] - ref[i]) * (reduced[j] - ref[i]);
      sig += ref[i] * ref[i];
    }
    if (err > 0) best = std::max(best, 10 * std::log10(sig / err));
  }
  return best;
}

class Conversion : public ::testing::Test {
 protected:
  void SetUp() override {
    if (RunCommand("command -v sox lame >/dev/null 2>&1") != 0) GTEST_SKIP() << "sox or lame not installed";
    mp3_ = Stream();
    ASSERT_TRUE(Exists(mp3_));
  }
  std::string mp3_;
};

TEST_F(Conversion, EveryRateFormatAndChannelVariant) {
  for (int reduction = 0; reduction <= 2; ++reduction) {
    const std::string rate = " --reduction " + std::to_string(reduction);
    const auto stereo16 = Samples16(Decode(mp3_, rate));
    ASSERT_FALSE(stereo16.empty());
    const auto left = Channel(stereo16, 0);
    const auto right = Channel(stereo16, 1);
    // 8-bit is the 16-bit value shifted and offset, sample for sample.
    const auto stereo8 = Decode(mp3_, rate + " --8bit");
    ASSERT_EQ(stereo8.size(), stereo16.size()) << reduction;
    for (size_t i = 0; i < stereo8.size(); ++i)
      ASSERT_EQ(stereo8[i], static_cast<uint8_t>((stereo16[i] >> 8) ^ 128)) << reduction << " at " << i;
    // One channel of two is that channel's decoding.
    for (const char* bits : {"", " --8bit"}) {
      const bool eight = bits[0] != 0;
      const auto l = Decode(mp3_, rate + bits + " --channels left");
      const auto r = Decode(mp3_, rate + bits + " --channels right");
      ASSERT_EQ(l.size() * (eight ? 2 : 1), left.size() * 2) << reduction << bits;
      if (eight) {
        for (size_t i = 0; i < l.size(); ++i) {
          ASSERT_EQ(l[i], static_cast<uint8_t>((left[i] >> 8) ^ 128));
          ASSERT_EQ(r[i], static_cast<uint8_t>((right[i] >> 8) ^ 128));
        }
      } else {
        EXPECT_EQ(Samples16(l), left) << reduction;
        EXPECT_EQ(Samples16(r), right) << reduction;
      }
      // The mix is the mean of the two channels.
      const auto mixBytes = Decode(mp3_, rate + bits + " --channels mix");
      ASSERT_EQ(mixBytes.size(), l.size());
      const auto mix16 = eight ? std::vector<int16_t>() : Samples16(mixBytes);
      int worst = 0;
      for (size_t i = 0; i < left.size(); ++i) {
        const int mean = (left[i] + right[i]) / 2;
        const int got = eight ? static_cast<int8_t>(mixBytes[i] ^ 128) * 256 : mix16[i];
        worst = std::max(worst, std::abs(got - (eight ? (mean >> 8) * 256 : mean)));
      }
      // Rounding of the two paths differs by a few LSB, one step at 8 bits.
      EXPECT_LE(worst, eight ? 256 : 3) << reduction << bits;
    }
  }
}

TEST_F(Conversion, ReducedRatesFollowTheLowPassedFullRate) {
  const auto full = Channel(Samples16(Decode(mp3_, "")), 0);
  const auto half = Channel(Samples16(Decode(mp3_, "--reduction 1")), 0);
  const auto quarter = Channel(Samples16(Decode(mp3_, "--reduction 2")), 0);
  EXPECT_EQ(half.size() * 2, full.size());
  EXPECT_EQ(quarter.size() * 4, full.size());
  EXPECT_GT(ReducedRateSnr(full, half, 2), 15.0);
  EXPECT_GT(ReducedRateSnr(full, quarter, 4), 15.0);
}

}  // namespace
