// SPDX-License-Identifier: GPL-3.0-or-later
// Conformance vectors decoded by mpadec against their reference PCM, and the
// illegal, unusual and cut streams decoded or refused without a fault.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "testsupport.h"

using namespace mpegtest;

namespace {

struct Vector {
  const char* name;
  // Largest difference allowed with the described arithmetic.
  int describedMax;
};

// Every layer III vector, MPEG-2 ones included: below 32 kHz subband 31 is
// decoded in the default mode too (it holds 10.7-11 kHz of
// M2L3_bitrate_22_all, which once cost that vector 17 LSB).
const Vector kLayer3Vectors[] = {
    {"l3-compl", 2}, {"l3-he_32khz", 2}, {"l3-he_48khz", 2},         {"l3-hecommon", 2},
    {"l3-si", 2},    {"l3-si_block", 2}, {"M2L3_bitrate_16_all", 2}, {"M2L3_bitrate_22_all", 2},
};

class Layer3Vector : public ::testing::TestWithParam<Vector> {};

Difference DecodeAndCompare(const std::string& name, const std::string& flags) {
  const std::string dir = VectorsDir();
  const std::string out = ::testing::TempDir() + "/" + name + (flags.empty() ? "" : ".precise") + ".raw";
  EXPECT_EQ(RunCommand(Quote(Mpadec()) + " " + flags + " " + Quote(dir + "/" + name + ".bit") + " " + Quote(out)), 0);
  const auto decoded = ReadPcm16(out);
  const auto reference = ReadPcm16(dir + "/" + name + ".pcm");
  EXPECT_GT(decoded.size(), 0u);
  // The references stop one frame short of a decoder that outputs every frame.
  EXPECT_GE(decoded.size(), reference.size());
  std::remove(out.c_str());
  return Compare(decoded, reference);
}

TEST_P(Layer3Vector, DescribedArithmeticWithinLimits) {
  if (!Exists(VectorsDir() + "/README.md"))
    MPEGTEST_SKIP_WITHOUT_VECTORS("conformance vectors not found (LEXORIA_SHARED_DIR)");
  const Vector v = GetParam();
  const Difference d = DecodeAndCompare(v.name, "");
  // Well inside ISO 11172-4's limited accuracy (RMS 4.6 LSB).
  EXPECT_LE(d.rms, 0.8) << v.name;
  EXPECT_LE(d.max, v.describedMax) << v.name;
}

TEST_P(Layer3Vector, PreciseWithinLimits) {
  if (!Exists(VectorsDir() + "/README.md"))
    MPEGTEST_SKIP_WITHOUT_VECTORS("conformance vectors not found (LEXORIA_SHARED_DIR)");
  const Vector v = GetParam();
  const Difference d = DecodeAndCompare(v.name, "--precise");
  EXPECT_LE(d.rms, 0.15) << v.name;
  EXPECT_LE(d.max, 2) << v.name;
}

INSTANTIATE_TEST_SUITE_P(Vectors, Layer3Vector, ::testing::ValuesIn(kLayer3Vectors), [](const auto& info) {
  std::string n = info.param.name;
  for (char& c : n)
    if (c == '-') c = '_';
  return n;
});

// Every illegal, unusual and cut stream: a clean exit (decoded or a one-line
// refusal), never a crash; under the sanitizers also no invalid access.
TEST(BadVectors, DecodedOrRefusedWithoutFault) {
  const std::string dir = VectorsDir();
  if (!Exists(dir + "/README.md")) MPEGTEST_SKIP_WITHOUT_VECTORS("conformance vectors not found (LEXORIA_SHARED_DIR)");
  const char* names[] = {"ILL2_layer1.bit",
                         "ILL2_mono.bit",
                         "ILL2_overalloc1.bit",
                         "ILL2_overalloc2.bit",
                         "ILL4_sync.bit",
                         "l3-nonstandard-id3v1.bit",
                         "l3-nonstandard-id3v2.bit",
                         "l3-nonstandard-sideinfo-size.bit",
                         "l3-nonstandard-small.bit",
                         "l3-nonstandard-vbrtag-oob-read.bit",
                         "l3-compl-cut.mp3"};
  for (const char* name : names) {
    for (const char* flags : {"", "--precise --channels mix", "--reduction 2 --8bit"}) {
      const std::string out = ::testing::TempDir() + "/bad.raw";
      const int status =
          RunCommand(Quote(Mpadec()) + " " + flags + " " + Quote(dir + "/" + name) + " " + Quote(out) + " 2>/dev/null");
      EXPECT_TRUE(status == 0 || status == 1) << name << " " << flags << ": status " << status;
      std::remove(out.c_str());
    }
  }
}

// Tags around the frames are skipped: the tagged vectors decode to the same
// samples as their references.
TEST(BadVectors, TaggedStreamsDecodeTheirFrames) {
  const std::string dir = VectorsDir();
  if (!Exists(dir + "/README.md")) MPEGTEST_SKIP_WITHOUT_VECTORS("conformance vectors not found (LEXORIA_SHARED_DIR)");
  for (const char* name : {"l3-nonstandard-id3v1", "l3-nonstandard-id3v2"}) {
    const std::string out = ::testing::TempDir() + "/tagged.raw";
    ASSERT_EQ(RunCommand(Quote(Mpadec()) + " --precise " + Quote(dir + "/" + name + ".bit") + " " + Quote(out)), 0)
        << name;
    const auto decoded = ReadPcm16(out);
    const auto reference = ReadPcm16(dir + "/" + name + ".pcm");
    ASSERT_FALSE(decoded.empty()) << name;
    EXPECT_LE(Compare(decoded, reference).max, 2) << name;
    std::remove(out.c_str());
  }
}

}  // namespace
