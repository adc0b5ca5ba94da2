// SPDX-License-Identifier: GPL-3.0-or-later
// Layer I and II frames written by the test with a chosen allocation, scale
// factors and sample codes: the decoded subband values against the
// standard's dequantisation, value by value, for every allocation table,
// joint-stereo bound and band limit; refused and hostile frames.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "decoderstate.h"
#include "framebuilder.h"
#include "mpeg/mpegdecoder.h"

using namespace lexoria::mpeg;
using namespace layer12test;

namespace {

struct Case {
  const char* name;
  Header header;
  const Layout* (*layout)();  // nullptr for layer I
  uint32_t frequencyLimit = 24000;
  uint32_t conversion = 0;
  uint32_t reduction = 0;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

const Layout* B2a() { return &TableB2a(); }
const Layout* B2b() { return &TableB2b(); }
const Layout* B2c() { return &TableB2c(); }
const Layout* B2d() { return &TableB2d(); }
const Layout* Low() { return &TableLowRate(); }

// Random allocation values, the largest allowed shrinking until the frame
// holds every bit; subband 31 (layer I) and the top coded subband always
// carry samples, so skipping them is seen in the slots that follow.
Frame Build(const Case& c, std::mt19937& rng) {
  for (int maxValue = 15; maxValue > 0; --maxValue) {
    std::mt19937 attempt(rng());
    std::vector<std::array<int, 2>> alloc(32);
    int coded = 32;
    if (c.layout) {
      coded = 0;
      for (const Group& g : *c.layout()) coded += g.subbands;
    }
    int sb = 0;
    for (int group = 0; sb < coded; ++group) {
      const int groupMax =
          c.layout ? static_cast<int>((*c.layout())[static_cast<size_t>(group)].levels.size()) - 1 : 14;
      const int groupCount = c.layout ? (*c.layout())[static_cast<size_t>(group)].subbands : 32;
      for (int k = 0; k < groupCount; ++k, ++sb) {
        const int top = std::min(maxValue, groupMax);
        for (int& a : alloc[static_cast<size_t>(sb)]) a = static_cast<int>(attempt() % static_cast<uint32_t>(top + 1));
        if (sb == coded - 1) alloc[static_cast<size_t>(sb)] = {1, std::min(2, top)};
      }
    }
    Frame f = c.layout ? BuildLayer2(c.header, *c.layout(), alloc, attempt) : BuildLayer1(c.header, alloc, attempt);
    if (f.fits) return f;
  }
  ADD_FAILURE() << c.name << ": no allocation fits the frame";
  return {};
}

int ExpectedSubbands(const Case& c, int coded) {
  const int rate = SampleRate(c.header);
  const int fromLimit = static_cast<int>((rate / 2 + int64_t{c.frequencyLimit} * 64) / rate);
  int cap = 32 >> c.reduction;
  // The described top-subband cut applies from 32 kHz only: below it
  // subband 31 is audible and decoded at full rate.
  const bool lowRate = c.reduction == 0 && rate < 32000;
  if (cap > 8 && !(c.conversion & kConversionPrecise) && !lowRate) --cap;
  return std::min({fromLimit, cap, coded});
}

// Decodes one frame held in a buffer of exactly its size.
bool DecodeOne(Decoder& d, const std::vector<uint8_t>& bytes, const DecoderOptions& options,
               std::vector<uint8_t>& pcm) {
  d.Reset();
  d.SetOptions(options);
  std::vector<uint8_t> stream(bytes);
  if (d.Start(stream.data(), static_cast<uint32_t>(stream.size())) != Result::kOk) return false;
  pcm.assign(1152 * 2 * 2, 0);
  FrameRequest request;
  request.input = stream.data();
  request.inputLength = static_cast<uint32_t>(stream.size());
  request.output = pcm.data();
  return Decoded(d.Decode(request));
}

void ExpectSamples(Decoder& d, const Case& c, const Frame& f, int frameIndex) {
  const float* got = d.State().sampleBuffer;
  const int slots = c.layout ? 36 : 12;
  const int subbands = ExpectedSubbands(c, f.codedSubbands);
  int wrong = 0;
  for (int slot = 0; slot < slots; ++slot)
    for (int sb = 0; sb < 32; ++sb)
      for (int ch = 0; ch < f.channels; ++ch) {
        const int p = 64 * slot + f.channels * sb + ch;
        const double want = sb < subbands ? f.expected[static_cast<size_t>(p)] : 0.0;
        if (std::fabs(got[p] - want) > 1e-5 * std::fabs(want) + 1e-6 && ++wrong <= 5)
          ADD_FAILURE() << c.name << " frame " << frameIndex << " slot " << slot << " subband " << sb << " channel "
                        << ch << ": " << got[p] << ", expected " << want;
      }
}

// clang-format off
const Case kCases[] = {
    {"l1_mono_44k", {1, 1, 14, 0, 3, 0}, nullptr},
    {"l1_stereo_48k_crc", {1, 1, 14, 1, 0, 0, true}, nullptr},
    {"l1_dual_32k", {1, 1, 14, 2, 2, 0}, nullptr},
    {"l1_joint_bound4", {1, 1, 14, 0, 1, 0}, nullptr},
    {"l1_joint_bound16", {1, 1, 14, 1, 1, 3}, nullptr},
    {"l1_precise_all_32", {1, 1, 14, 0, 3, 0}, nullptr, 24000, kConversionPrecise},
    {"l1_stereo_precise_all_32", {1, 1, 14, 1, 0, 0}, nullptr, 24000, kConversionPrecise},
    {"l1_limit_7_subbands", {1, 1, 14, 0, 1, 1}, nullptr, 5000},
    {"l1_mpeg2_22k", {2, 1, 14, 0, 0, 0}, nullptr},
    {"l2_b2b_stereo_44k_160k", {1, 2, 10, 0, 0, 0}, B2b},
    {"l2_b2a_joint8_48k_128k", {1, 2, 8, 1, 1, 1}, B2a},
    {"l2_b2a_joint4_44k_crc", {1, 2, 8, 0, 1, 0, true}, B2a},
    {"l2_b2c_dual_48k_64k", {1, 2, 4, 1, 2, 0}, B2c},
    {"l2_b2d_stereo_32k_64k", {1, 2, 4, 2, 0, 0}, B2d},
    {"l2_b2a_mono_32k_56k", {1, 2, 3, 2, 3, 0}, B2a},
    {"l2_b2c_mono_44k_48k", {1, 2, 2, 0, 3, 0}, B2c},
    {"l2_b2b_mono_32k_192k", {1, 2, 10, 2, 3, 0}, B2b},
    {"l2_low_joint16_24k", {2, 2, 14, 1, 1, 3}, Low},
    {"l2_low_mono_16k", {2, 2, 8, 2, 3, 0}, Low},
    {"l2_low_stereo_22k", {2, 2, 12, 0, 0, 0}, Low},
    {"l2_mpeg25_12k", {3, 2, 8, 1, 0, 0}, Low},
    {"l2_limit_9_subbands", {1, 2, 10, 0, 1, 2}, B2b, 6000},
    {"l2_low_half_rate_15_subbands", {2, 2, 14, 1, 0, 0}, Low, 24000, 0, 1},
    {"l2_b2b_quarter_rate_8_subbands", {1, 2, 10, 0, 1, 3}, B2b, 24000, kConversion8Bit, 2},
    {"l1_half_rate_precise_16_subbands", {1, 1, 14, 0, 1, 2}, nullptr, 24000, kConversionPrecise | 1, 1},
};
// clang-format on

class Frames : public ::testing::TestWithParam<Case> {};

TEST_P(Frames, SubbandValuesAreTheStandardDequantisation) {
  const Case c = GetParam();
  std::mt19937 rng(12345);
  for (int trial = 0; trial < 4; ++trial) {
    const Frame f = Build(c, rng);
    ASSERT_TRUE(f.fits);
    DecoderOptions options;
    options.frequencyLimit = c.frequencyLimit;
    options.conversion = c.conversion;
    options.reduction = c.reduction;
    std::vector<uint8_t> pcm;
    Decoder d;
    ASSERT_TRUE(DecodeOne(d, f.bytes, options, pcm)) << c.name << " error " << d.LastError();
    ExpectSamples(d, c, f, trial);
    if (HasFailure()) return;
  }
}

INSTANTIATE_TEST_SUITE_P(Layer12, Frames, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The table goes with the bitrate: a 48 kHz stereo stream that drops from
// 128 kbit/s (27 subbands) to 64 kbit/s reads its second frame with the
// 8-subband table and leaves the subbands above it silent.
TEST(Layer2Stream, SecondFrameAtAnotherBitrateUsesItsOwnTable) {
  std::mt19937 rng(99);
  const Case first{"first", {1, 2, 8, 1, 0, 0}, B2a};
  const Case second{"second", {1, 2, 4, 1, 0, 0}, B2c};
  const Frame a = Build(first, rng);
  const Frame b = Build(second, rng);
  std::vector<uint8_t> stream(a.bytes);
  stream.insert(stream.end(), b.bytes.begin(), b.bytes.end());
  Decoder d;
  ASSERT_EQ(d.Start(stream.data(), static_cast<uint32_t>(stream.size())), Result::kOk);
  std::vector<uint8_t> pcm(1152 * 4);
  FrameRequest request;
  request.input = stream.data();
  request.inputLength = static_cast<uint32_t>(stream.size());
  request.output = pcm.data();
  ASSERT_EQ(d.Decode(request), Result::kOk);
  ExpectSamples(d, first, a, 0);
  FrameRequest next;
  next.input = stream.data() + a.bytes.size();
  next.inputLength = static_cast<uint32_t>(b.bytes.size());
  next.output = pcm.data();
  ASSERT_EQ(d.Decode(next), Result::kOk);
  ExpectSamples(d, second, b, 1);
}

// A first frame whose mode, rate and bitrate select no allocation table
// (stereo at 32 kbit/s): the stream is refused with error 4, and the layer
// routine of an earlier stream is not left installed.
TEST(Layer2Stream, FirstFrameWithoutTableIsRefused) {
  std::mt19937 rng(5);
  const Frame good = Build({"good", {1, 2, 8, 1, 0, 0}, B2a}, rng);
  std::vector<uint8_t> pcm;
  Decoder d;
  ASSERT_TRUE(DecodeOne(d, good.bytes, DecoderOptions{}, pcm));

  struct Refused {
    Header header;
  } const refused[] = {{{1, 2, 1, 1, 0, 0}}, {{1, 2, 5, 0, 1, 2}}, {{1, 2, 14, 2, 3, 0}}, {{1, 2, 11, 1, 3, 0}}};
  for (const Refused& r : refused) {
    BitWriter w;
    WriteHeader(w, r.header);
    std::vector<uint8_t> bytes = w.Bytes();
    bytes.resize(std::max(FrameBytes(r.header), 160) + 8, 0);
    std::memcpy(bytes.data() + FrameBytes(r.header), bytes.data(), 4);  // a second frame to offer
    d.Start(good.bytes.data(), static_cast<uint32_t>(good.bytes.size()));
    ASSERT_EQ(d.Start(bytes.data(), static_cast<uint32_t>(bytes.size())), Result::kBadHeader) << r.header.bitrateIndex;
    EXPECT_EQ(d.LastError(), kErrorBadHeader);
    std::vector<uint8_t> out(1152 * 4, 0x5A);
    FrameRequest request;
    request.input = bytes.data();
    request.inputLength = static_cast<uint32_t>(bytes.size());
    request.output = out.data();
    EXPECT_EQ(d.Decode(request), Result::kNotStarted);
    EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](uint8_t x) { return x == 0x5A; })) << "output written";
  }
}

// Frames of all one bits (every allocation at its largest, forbidden values
// included) and of all zero bits, in buffers of exactly the frame's size: the
// decoder stays inside the buffer (the sanitizer build sees any stray read)
// and writes exactly one frame of PCM, whatever the options.
TEST(HostileFrames, StayInsideTheirBuffer) {
  const Header headers[] = {{1, 1, 1, 0, 1, 0},       {1, 1, 14, 1, 3, 0}, {1, 1, 14, 2, 0, 0, true},
                            {2, 1, 1, 0, 1, 3},       {1, 2, 4, 1, 0, 0},  {1, 2, 2, 0, 3, 0},
                            {1, 2, 14, 1, 1, 3},      {2, 2, 1, 2, 1, 0},  {3, 2, 14, 0, 3, 0},
                            {1, 2, 10, 0, 2, 0, true}};
  struct Options {
    uint32_t reduction, conversion;
  } const optionSets[] = {{0, 0}, {0, kConversionPrecise}, {1, 1}, {2, 8 | 3}, {1, 2 | kConversionPrecise}};
  for (const Header& h : headers)
    for (uint8_t fill : {uint8_t{0xFF}, uint8_t{0x00}, uint8_t{0xA5}})
      for (const Options& o : optionSets) {
        BitWriter w;
        WriteHeader(w, h);
        std::vector<uint8_t> bytes(static_cast<size_t>(std::max(FrameBytes(h), 156)), fill);
        std::memcpy(bytes.data(), w.Bytes().data(), 4);
        DecoderOptions options;
        options.reduction = o.reduction;
        options.conversion = o.conversion;
        Decoder d;
        d.SetOptions(options);
        std::vector<uint8_t> stream(bytes.begin(), bytes.begin() + FrameBytes(h));
        if (stream.size() < 156) continue;  // too short to start a stream with
        ASSERT_EQ(d.Start(stream.data(), static_cast<uint32_t>(stream.size())), Result::kOk);
        const uint32_t outputBytes = d.State().outputBytesPerFrame;
        std::vector<uint8_t> out(outputBytes + 64, 0x5A);
        FrameRequest request;
        request.input = stream.data();
        request.inputLength = static_cast<uint32_t>(stream.size());
        request.output = out.data();
        ASSERT_TRUE(Decoded(d.Decode(request)));
        EXPECT_EQ(request.outputLength, outputBytes);
        EXPECT_TRUE(std::all_of(out.begin() + outputBytes, out.end(), [](uint8_t x) { return x == 0x5A; }))
            << "layer " << h.layer << " wrote past its frame of PCM";
      }
}

}  // namespace
