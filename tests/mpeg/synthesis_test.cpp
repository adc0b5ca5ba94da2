// SPDX-License-Identifier: GPL-3.0-or-later
// The fast synthesis against the standard's matrixing and windowing
// computed directly in double precision.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "decoderstate.h"
#include "synthesiswindow.h"

using namespace lexoria::mpeg;

namespace {

double D(int i) { return WindowD(i); }

// Direct form: V (1024 FIFO) and 16 windowed sums per output.
struct DirectSynthesis {
  std::vector<double> v = std::vector<double>(1024, 0.0);
  void Slot(const float* s, double* out) {
    for (int i = 1023; i >= 64; --i) v[i] = v[i - 64];
    for (int i = 0; i < 64; ++i) {
      double sum = 0;
      for (int k = 0; k < 32; ++k) sum += std::cos((16 + i) * (2 * k + 1) * M_PI / 64) * s[k];
      v[i] = sum;
    }
    for (int j = 0; j < 32; ++j) {
      double sum = 0;
      for (int i = 0; i < 8; ++i) sum += D(64 * i + j) * v[128 * i + j] + D(64 * i + 32 + j) * v[128 * i + 96 + j];
      out[j] = sum;
    }
  }
};

TEST(Synthesis, PreciseFullRateMatchesTheStandardForm) {
  Decoder decoder;
  DecoderState& state = decoder.State();
  ResetSynthesis(state);
  std::mt19937 rng(7);
  std::uniform_real_distribution<float> dist(-3000.f, 3000.f);
  DirectSynthesis direct;
  SynthesisVariant3 variant = SelectSynthesis3(false, 0, true, true);
  double worst = 0;
  for (int granule = 0; granule < 4; ++granule) {
    std::vector<float> hybrid(576);
    for (float& x : hybrid) x = dist(rng);
    std::vector<float> copy = hybrid;
    int16_t pcm[576];
    variant(state, hybrid.data(), reinterpret_cast<uint8_t*>(pcm), 0);
    for (int slot = 0; slot < 18; ++slot) {
      double out[32];
      direct.Slot(copy.data() + 32 * slot, out);
      for (int j = 0; j < 32; ++j) {
        const double expected = std::max(-32768.0, std::min(32767.0, std::round(out[j])));
        worst = std::max(worst, std::fabs(pcm[32 * slot + j] - expected));
        if (std::fabs(pcm[32 * slot + j] - expected) > 1) {
          ADD_FAILURE() << "granule " << granule << " slot " << slot << " output " << j << ": " << pcm[32 * slot + j]
                        << " expected " << expected;
          return;
        }
      }
    }
  }
  EXPECT_LE(worst, 1.0);
}

}  // namespace

namespace {

// Peak of one granule of a tone in one subband through the full-rate variant.
int PeakOfSubband(DecoderState& state, int subband) {
  ResetSynthesis(state);
  SynthesisVariant3 variant = SelectSynthesis3(false, 0, true, false);
  int peak = 0;
  for (int granule = 0; granule < 3; ++granule) {
    std::vector<float> hybrid(576, 0.0f);
    for (int slot = 0; slot < 18; ++slot) hybrid[32 * slot + subband] = (slot % 2 ? -8000.0f : 8000.0f);
    int16_t pcm[576];
    variant(state, hybrid.data(), reinterpret_cast<uint8_t*>(pcm), 0);
    for (int16_t v : pcm) peak = std::max(peak, std::abs(int{v}));
  }
  return peak;
}

TEST(Synthesis, EqualizerScalesItsSubbandsOnly) {
  Decoder decoder;
  DecoderState& state = decoder.State();
  const int high = PeakOfSubband(state, 25);
  const int low = PeakOfSubband(state, 2);
  const int32_t bands[10] = {0, 0, 0, 0, 0, 0, 0, 0, 0, -200};  // -20 dB on subbands 20-31
  decoder.SetEqualizer(bands);
  EXPECT_NEAR(PeakOfSubband(state, 25), high / 10.0, high * 0.02 + 2);
  EXPECT_EQ(PeakOfSubband(state, 2), low);
  decoder.SetEqualizer(nullptr);
  EXPECT_EQ(PeakOfSubband(state, 25), high);
}

TEST(Synthesis, SilenceInSilenceOut) {
  Decoder decoder;
  DecoderState& state = decoder.State();
  for (bool eight : {false, true})
    for (uint32_t reduction = 0; reduction <= 2; ++reduction)
      for (bool one : {true, false}) {
        ResetSynthesis(state);
        std::vector<float> hybrid(2 * 576, 0.0f);
        std::vector<uint8_t> out(576 * 2 * 2, 0x55);
        SelectSynthesis3(eight, reduction, one, false)(state, hybrid.data(), out.data(), 0);
        const size_t samples = (576u >> reduction) * (one ? 1 : 2);
        for (size_t i = 0; i < samples; i += (one ? 1 : 2)) {
          if (eight) {
            ASSERT_EQ(out[i], 128) << reduction;
          } else {
            ASSERT_EQ(out[2 * i], 0) << reduction;
            ASSERT_EQ(out[2 * i + 1], 0) << reduction;
          }
        }
      }
}

}  // namespace

namespace {

// The PCM conversion at its edges, in both modes: the described truncation
// and precise rounding must both clamp to the 16-bit range, and the 8-bit
// form is the high byte offset by 128.
TEST(Synthesis, PcmConversionEdgeValues) {
  struct Case {
    float sum;
    bool precise;
    int16_t pcm16;
    uint8_t pcm8;
  };
  const Case cases[] = {
      {32767.9f, false, 32767, 255}, {32767.9f, true, 32767, 255}, {-32768.9f, false, -32768, 0},
      {-32768.9f, true, -32768, 0},  {1e9f, false, 32767, 255},    {-1e9f, false, -32768, 0},
      {-1.0f, false, -1, 127},       {-1.0f, true, -1, 127},       {-0.6f, false, 0, 128},
      {-0.6f, true, -1, 127},        {0.6f, false, 0, 128},        {0.6f, true, 1, 128},
      {255.9f, false, 255, 128},     {256.0f, false, 256, 129},    {-256.0f, false, -256, 127},
      {-257.0f, false, -257, 126},
  };
  for (const Case& c : cases) {
    uint8_t two[2] = {};
    ConvertSample(c.sum, false, c.precise, two);
    EXPECT_EQ(static_cast<int16_t>(two[0] | (two[1] << 8)), c.pcm16) << c.sum << (c.precise ? " precise" : "");
    uint8_t one = 0;
    ConvertSample(c.sum, true, c.precise, &one);
    EXPECT_EQ(one, c.pcm8) << c.sum << (c.precise ? " precise" : "") << " 8-bit";
  }
}

}  // namespace
