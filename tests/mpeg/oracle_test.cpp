// SPDX-License-Identifier: GPL-3.0-or-later
// Streams made with sox and lame, decoded by mpadec and by mpg123 (a black
// box oracle): the same frames, and with --precise the same samples within
// 0.15 LSB RMS. The streams are made once and kept in the build folder.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "testsupport.h"

using namespace mpegtest;

namespace {

struct Stream {
  const char* name;
  const char* sox;   // sox arguments after the output file: the signal
  const char* lame;  // lame options
  int rate;
  int channels;
};

// A music-like signal: a chord with vibrato and a little noise.
#define MUSIC "synth 2 sine 220 sine 330 sine 554 sine 880 pinknoise vol 0.3 remix -"
const Stream kStreams[] = {
    {"m1_44_stereo_cbr128", "synth 2 sine 220-440 sine 660 vol 0.4", "-m s -b 128", 44100, 2},
    {"m1_48_joint_cbr128", "synth 2 sine 300 sine 450 pinknoise vol 0.3", "-m j -b 128", 48000, 2},
    {"m1_44_mono", "synth 2 sine 440 pinknoise vol 0.3", "-m m -b 64", 44100, 1},
    {"m1_44_vbr_v2", "synth 2 sine 220 sine 330 pinknoise vol 0.3", "-m j -V2", 44100, 2},
    {"m2_16_stereo", "synth 2 sine 300 sine 500 vol 0.4", "-m j -b 48", 16000, 2},
    {"m2_22_mono", "synth 2 sine 400 pinknoise vol 0.3", "-m m -b 32", 22050, 1},
    {"m2_24_stereo", "synth 2 sine 350 sine 520 pinknoise vol 0.3", "-m s -b 64", 24000, 2},
    {"m25_8_mono", "synth 2 sine 300 pinknoise vol 0.3", "-m m -b 16", 8000, 1},
    {"m25_11_stereo", "synth 2 sine 250 sine 410 vol 0.4", "-m j -b 32", 11025, 2},
    {"m25_12_mono", "synth 2 sine 500 pinknoise vol 0.3", "-m m -b 24", 12000, 1},
    // Clicks in silence: attacks that force short and mixed blocks.
    {"m1_44_transient", "synth 0.04 square 300 pad 0 0.3 repeat 6 vol 0.8", "-m j -b 128", 44100, 2},
};

std::string CacheDir() { return MPEG_TEST_CACHE; }

bool Tools() { return RunCommand("command -v sox lame mpg123 >/dev/null 2>&1") == 0; }

// Makes (once) the stream and mpg123's decoding of it.
bool Prepare(const Stream& s, std::string& mp3, std::string& oracle) {
  mp3 = CacheDir() + "/" + s.name + ".mp3";
  oracle = CacheDir() + "/" + s.name + ".mpg123.raw";
  return MakeEncodedStream(mp3, s.rate, s.channels, s.sox, "lame --quiet " + std::string(s.lame)) &&
         MakeOracleDecode(mp3, oracle, "--no-gapless");
}

class Oracle : public ::testing::TestWithParam<Stream> {};

TEST_P(Oracle, SameFramesAndPreciseSamples) {
  if (!Tools()) GTEST_SKIP() << "sox, lame or mpg123 not installed";
  const Stream s = GetParam();
  std::string mp3, oracle;
  ASSERT_TRUE(Prepare(s, mp3, oracle)) << s.name;
  const std::string out = ::testing::TempDir() + "/" + s.name + ".raw";
  ASSERT_EQ(RunCommand(Quote(Mpadec()) + " --precise " + Quote(mp3) + " " + Quote(out)), 0);
  const auto mine = ReadPcm16(out);
  const auto theirs = ReadPcm16(oracle);
  const size_t frameSamples = (s.rate >= 32000 ? 1152 : 576) * s.channels;
  EXPECT_EQ(mine.size() / frameSamples, theirs.size() / frameSamples) << s.name;
  const Difference d = Compare(mine, theirs);
  EXPECT_LE(d.rms, 0.15) << s.name << " max " << d.max;
  std::remove(out.c_str());
}

INSTANTIATE_TEST_SUITE_P(Lame, Oracle, ::testing::ValuesIn(kStreams),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
