// SPDX-License-Identifier: GPL-3.0-or-later
// Whole layer I and II streams through mpadec: the conformance vectors
// against their references, streams made with twolame and ffmpeg against
// mpg123 (a black-box oracle), every output variant against the full-rate
// 16-bit decode of the same stream, and the illegal vectors.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "../mpeg/testsupport.h"

using namespace mpegtest;

namespace {

std::string CacheDir() { return LAYER12_TEST_CACHE; }

// Scratch files of this process: several build folders may run these tests at once.
std::string Scratch(const std::string& name) {
  return ::testing::TempDir() + "/layer12-" + std::to_string(getpid()) + "-" + name;
}

bool HaveVectors() { return !VectorsDir().empty() && Exists(VectorsDir() + "/README.md"); }

// mpadec with flags into a temporary file; its 16-bit samples or raw bytes.
bool Decode(const std::string& flags, const std::string& input, std::vector<uint8_t>& bytes) {
  const std::string out = Scratch("out.raw");
  const int status = RunCommand(Quote(Mpadec()) + " " + flags + " " + Quote(input) + " " + Quote(out));
  bytes = ReadBytes(out);
  std::remove(out.c_str());
  return status == 0;
}
std::vector<int16_t> Samples(const std::vector<uint8_t>& b) {
  std::vector<int16_t> s(b.size() / 2);
  for (size_t i = 0; i < s.size(); ++i) s[i] = static_cast<int16_t>(b[2 * i] | (b[2 * i + 1] << 8));
  return s;
}

// ---- Conformance vectors ------------------------------------------------

struct Vector {
  const char* name;
  // l1-fl6 is a sweep up to the top of the band at an MPEG-1 rate: its
  // subband 31, which the described 31 subbands leave out at 32 kHz and up
  // (it lies above 15 kHz there), carries signal. Below 32 kHz (l2-test32,
  // 24 kHz) subband 31 is decoded in the default mode as well.
  bool topSubbandSilent;
};
const Vector kVectors[] = {{"l1-fl1", true},  {"l1-fl2", true},  {"l1-fl3", true},   {"l1-fl4", true},
                           {"l1-fl6", false}, {"l1-fl7", true},  {"l2-fl10", true},  {"l2-fl11", true},
                           {"l2-fl12", true}, {"l2-fl14", true}, {"l2-test32", true}};

void PrintTo(const Vector& v, std::ostream* os) { *os << v.name; }

class Layer12Vector : public ::testing::TestWithParam<Vector> {};

TEST_P(Layer12Vector, WithinLimitsDescribedAndPrecise) {
  if (!HaveVectors()) MPEGTEST_SKIP_WITHOUT_VECTORS("conformance vectors not found (LEXORIA_SHARED_DIR)");
  const Vector v = GetParam();
  const std::string bit = VectorsDir() + "/" + v.name + ".bit";
  const auto reference = ReadPcm16(VectorsDir() + "/" + v.name + ".pcm");
  std::vector<uint8_t> out;
  ASSERT_TRUE(Decode("--precise", bit, out)) << v.name;
  const Difference precise = Compare(Samples(out), reference);
  EXPECT_GT(precise.compared, 10000u) << v.name;
  EXPECT_LE(precise.rms, 0.15) << v.name << " --precise, max " << precise.max;
  EXPECT_LE(precise.max, 2) << v.name << " --precise";
  ASSERT_TRUE(Decode("", bit, out)) << v.name;
  const Difference plain = Compare(Samples(out), reference);
  EXPECT_EQ(plain.compared, precise.compared) << v.name;
  if (v.topSubbandSilent) {
    EXPECT_LE(plain.rms, 0.8) << v.name << ", max " << plain.max;
    EXPECT_LE(plain.max, 2) << v.name;
  } else {
    EXPECT_GT(plain.rms, 0.8) << v.name << ": subband 31 was expected to be left out";
  }
}

INSTANTIATE_TEST_SUITE_P(Vectors, Layer12Vector, ::testing::ValuesIn(kVectors), [](const auto& info) {
  std::string n = info.param.name;
  for (char& c : n)
    if (c == '-') c = '_';
  return n;
});

// Illegal layer I/II vectors: decoded or refused with a message, never a
// crash, under every output form.
TEST(Layer12BadVectors, DecodedOrRefusedWithoutFault) {
  if (!HaveVectors()) MPEGTEST_SKIP_WITHOUT_VECTORS("conformance vectors not found (LEXORIA_SHARED_DIR)");
  for (const char* name : {"ILL2_layer1", "ILL2_mono", "ILL2_overalloc1", "ILL2_overalloc2", "ILL4_sync"})
    for (const char* flags : {"", "--precise", "--channels mix --8bit", "--reduction 1 --channels right",
                              "--reduction 2 --channels left --precise"}) {
      const int status = RunCommand(Quote(Mpadec()) + " " + flags + " " + Quote(VectorsDir() + "/" + name + ".bit") +
                                    " /dev/null 2>/dev/null");
      EXPECT_TRUE(status == 0 || status == 1) << name << " " << flags << ": status " << status;
    }
}

// ---- Encoded streams against mpg123 ---------------------------------------

struct Stream {
  const char* name;
  int rate;
  int channels;
  const char* signal;   // sox synth arguments
  const char* encoder;  // the command after the input file name is replaced in
};

#define TONES "synth 1 sine 220-880 sine 660 pinknoise vol 0.3"
const Stream kStreams[] = {
    {"tl_32k_stereo", 32000, 2, TONES, "twolame --quiet -m s -b 192"},
    {"tl_32k_stereo_64k", 32000, 2, TONES, "twolame --quiet -m s -b 64"},
    {"tl_44k_joint", 44100, 2, TONES, "twolame --quiet -m j -b 192"},
    {"tl_44k_joint_crc", 44100, 2, TONES, "twolame --quiet -m j -b 128 -p"},
    {"tl_48k_dual", 48000, 2, TONES, "twolame --quiet -m d -b 192"},
    {"tl_48k_stereo_64k", 48000, 2, TONES, "twolame --quiet -m s -b 64"},
    {"tl_48k_mono", 48000, 1, TONES, "twolame --quiet -m m -b 96"},
    {"tl_44k_mono_48k", 44100, 1, TONES, "twolame --quiet -m m -b 48"},
    {"tl_16k_joint", 16000, 2, TONES, "twolame --quiet -m j -b 64"},
    {"tl_22k_stereo", 22050, 2, TONES, "twolame --quiet -m s -b 96"},
    {"tl_24k_mono", 24000, 1, TONES, "twolame --quiet -m m -b 48"},
    {"ff_32k_stereo", 32000, 2, TONES, "ffmpeg -loglevel error -y -i IN -c:a mp2 -b:a 128k"},
    {"ff_44k_stereo", 44100, 2, TONES, "ffmpeg -loglevel error -y -i IN -c:a mp2 -b:a 192k"},
    {"ff_48k_mono", 48000, 1, TONES, "ffmpeg -loglevel error -y -i IN -c:a mp2 -b:a 96k"},
    {"ff_16k_mono", 16000, 1, TONES, "ffmpeg -loglevel error -y -i IN -c:a mp2 -b:a 32k"},
    {"ff_22k_stereo", 22050, 2, TONES, "ffmpeg -loglevel error -y -i IN -c:a mp2 -b:a 64k"},
    {"ff_24k_stereo", 24000, 2, TONES, "ffmpeg -loglevel error -y -i IN -c:a mp2 -b:a 96k"},
};

bool Tools() { return RunCommand("command -v sox twolame ffmpeg mpg123 >/dev/null 2>&1") == 0; }

// Makes (once, in the build folder) the stream and mpg123's decoding of it.
bool Prepare(const Stream& s, std::string& mp2, std::string& oracle) {
  mp2 = CacheDir() + "/" + s.name + ".mp2";
  oracle = CacheDir() + "/" + s.name + ".mpg123.raw";
  return MakeEncodedStream(mp2, s.rate, s.channels, s.signal, s.encoder) && MakeOracleDecode(mp2, oracle);
}

void PrintTo(const Stream& s, std::ostream* os) { *os << s.name; }

class Layer2Oracle : public ::testing::TestWithParam<Stream> {};

TEST_P(Layer2Oracle, SameFramesAndPreciseSamples) {
  if (!Tools()) GTEST_SKIP() << "sox, twolame, ffmpeg or mpg123 not installed";
  const Stream s = GetParam();
  std::string mp2, oracle;
  ASSERT_TRUE(Prepare(s, mp2, oracle)) << s.name;
  std::vector<uint8_t> out;
  ASSERT_TRUE(Decode("--precise", mp2, out));
  const auto mine = Samples(out);
  const auto theirs = ReadPcm16(oracle);
  const size_t frameSamples = 1152u * static_cast<size_t>(s.channels);
  ASSERT_GT(theirs.size(), 10 * frameSamples) << s.name;
  EXPECT_EQ(mine.size(), theirs.size() / frameSamples * frameSamples) << s.name << ": frames differ";
  const Difference d = Compare(mine, theirs);
  EXPECT_LE(d.rms, 0.15) << s.name << " max " << d.max;
}

INSTANTIATE_TEST_SUITE_P(Encoded, Layer2Oracle, ::testing::ValuesIn(kStreams),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- Output variants ------------------------------------------------------

// Every channel row at every rate and in both formats, against the full-rate
// 16-bit decode with both channels: the first and second channel only rows
// are that decode's left and right samples at their rate, the mix is their
// mean within 1.5 LSB (it is synthesised from averaged subband samples and
// rounded once, while left and right are rounded separately), 8-bit output is the 16-bit value shifted and flipped,
// a one-channel stream ignores the channel option, and a reduced rate keeps
// every second or fourth sample of the full rate for these low-pitched
// signals within 2 LSB RMS once the filters have started up.
void CheckVariants(const std::string& input, int channels, bool lowPitched) {
  const char* rows[] = {"both", "mix", "left", "right"};
  std::vector<uint8_t> fullBytes;
  ASSERT_TRUE(Decode("", input, fullBytes));
  const auto full = Samples(fullBytes);
  ASSERT_FALSE(full.empty());
  for (int r = 0; r < 3; ++r) {
    const std::string rate = "--reduction " + std::to_string(r);
    std::vector<uint8_t> bothBytes;
    ASSERT_TRUE(Decode(rate, input, bothBytes));
    const auto both = Samples(bothBytes);
    ASSERT_EQ(both.size(), full.size() >> r) << input << " " << rate;
    if (r > 0 && lowPitched) {
      std::vector<int16_t> kept;
      for (size_t i = 0; i < both.size(); i += static_cast<size_t>(channels))
        for (int c = 0; c < channels; ++c) kept.push_back(full[(i << r) + static_cast<size_t>(c)]);
      // From the second frame on: the filters start up differently.
      const size_t skip = (1152u >> r) * static_cast<size_t>(channels);
      ASSERT_GT(both.size(), skip);
      const std::vector<int16_t> settled(both.begin() + static_cast<long>(skip), both.end());
      const std::vector<int16_t> keptSettled(kept.begin() + static_cast<long>(skip), kept.end());
      EXPECT_LE(Compare(settled, keptSettled).rms, 2.0) << input << " " << rate;
    }
    for (const char* row : rows) {
      const std::string flags = rate + " --channels " + row;
      std::vector<uint8_t> b16, b8;
      ASSERT_TRUE(Decode(flags, input, b16)) << flags;
      ASSERT_TRUE(Decode(flags + " --8bit", input, b8)) << flags;
      const auto s16 = Samples(b16);
      ASSERT_EQ(b8.size(), s16.size()) << input << " " << flags;
      size_t wrong8 = 0;
      for (size_t i = 0; i < s16.size(); ++i) wrong8 += b8[i] != static_cast<uint8_t>((s16[i] >> 8) ^ 128);
      EXPECT_EQ(wrong8, 0u) << input << " " << flags << " --8bit";
      if (channels == 1 || std::string(row) == "both") {
        EXPECT_EQ(s16, both) << input << " " << flags;
        continue;
      }
      ASSERT_EQ(s16.size() * 2, both.size()) << input << " " << flags;
      size_t wrong = 0;
      for (size_t i = 0; i < s16.size(); ++i) {
        const int l = both[2 * i], rr = both[2 * i + 1];
        if (std::string(row) == "left")
          wrong += s16[i] != l;
        else if (std::string(row) == "right")
          wrong += s16[i] != rr;
        else
          wrong += std::abs(2 * s16[i] - (l + rr)) > 3;
      }
      EXPECT_EQ(wrong, 0u) << input << " " << flags;
    }
  }
}

TEST(Layer12Variants, EveryRowRateAndFormat) {
  if (!Tools()) GTEST_SKIP() << "sox, twolame, ffmpeg or mpg123 not installed";
  struct Input {
    Stream stream;
    bool lowPitched;
  } const inputs[] = {
      {{"var_48k_stereo", 48000, 2, "synth 1 sine 440 sine 700 vol 0.4", "twolame --quiet -m s -b 192"}, true},
      {{"var_44k_joint", 44100, 2, "synth 1 sine 300 sine 500 vol 0.4", "twolame --quiet -m j -b 128"}, true},
      {{"var_32k_mono", 32000, 1, "synth 1 sine 350 vol 0.5", "twolame --quiet -m m -b 96"}, true},
  };
  for (const Input& in : inputs) {
    std::string mp2, oracle;
    ASSERT_TRUE(Prepare(in.stream, mp2, oracle)) << in.stream.name;
    CheckVariants(mp2, in.stream.channels, in.lowPitched);
  }
  if (HaveVectors()) {
    CheckVariants(VectorsDir() + "/l1-fl7.bit", 2, false);
    CheckVariants(VectorsDir() + "/l1-fl4.bit", 1, false);
  }
}

// A layer II stream whose first frame selects no allocation table (stereo
// at 32 kbit/s) is reported as not decodable.
TEST(Layer12Refusal, StreamWithoutTableIsNotDecodable) {
  const std::string path = Scratch("notable.mp2");
  std::vector<uint8_t> frame(144 * 32000 / 48000, 0);
  const uint8_t header[4] = {0xFF, 0xFD, 0x14, 0x04};  // MPEG-1 layer II, 32 kbit/s, 48 kHz, stereo
  std::FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  for (int i = 0; i < 4; ++i) {
    std::copy(header, header + 4, frame.begin());
    std::fwrite(frame.data(), 1, frame.size(), f);
  }
  std::fclose(f);
  const std::string err = path + ".err";
  EXPECT_EQ(RunCommand(Quote(Mpadec()) + " " + Quote(path) + " /dev/null 2>" + Quote(err)), 1);
  const auto message = ReadBytes(err);
  EXPECT_NE(std::string(message.begin(), message.end()).find("not decodable (error 4)"), std::string::npos);
  std::remove(path.c_str());
  std::remove(err.c_str());
}

}  // namespace
