// SPDX-License-Identifier: GPL-3.0-or-later
// The decoder front: frame lengths, refusals, the reservoir's first frames,
// exact output sizes and the options.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "mpeg/mpegdecoder.h"

using namespace lexoria::mpeg;

namespace {

// A stream of `frames` silent layer III frames: header, zero side
// information (no main data needed) and zero main data. `mainDataBegin`
// goes into the first frame's side information.
std::vector<uint8_t> SilentStream(const uint8_t header[4], uint32_t frameLength, int frames, int mainDataBegin = 0,
                                  bool mpeg1 = true) {
  std::vector<uint8_t> s(frameLength * frames + 512, 0);
  for (int f = 0; f < frames; ++f) std::memcpy(s.data() + f * frameLength, header, 4);
  if (mpeg1) {
    s[4] = static_cast<uint8_t>(mainDataBegin >> 1);
    s[5] = static_cast<uint8_t>((mainDataBegin & 1) << 7);
  } else {
    s[4] = static_cast<uint8_t>(mainDataBegin);
  }
  return s;
}

const uint8_t kMpeg1[4] = {0xFF, 0xFB, 0x90, 0x64};  // 417 bytes, 1152 x 2 channels
const uint8_t kMpeg2[4] = {0xFF, 0xF3, 0x80, 0xC0};  // 208 bytes, 576 x 1 channel

class DecoderFront : public ::testing::Test {
 protected:
  Decoder d;
};

TEST_F(DecoderFront, RefusesFourBytesAndShortFrames) {
  auto stream = SilentStream(kMpeg2, 208, 2);
  ASSERT_EQ(d.Start(stream.data(), static_cast<uint32_t>(stream.size())), Result::kOk);
  std::vector<uint8_t> out(1152 + 16, 0xAB);
  FrameRequest r;
  r.input = stream.data();
  r.inputLength = 4;
  r.output = out.data();
  EXPECT_EQ(d.Decode(r), Result::kTooLittleData);
  EXPECT_EQ(d.LastError(), kErrorTooLittleData);
  r.inputLength = 207;
  EXPECT_EQ(d.Decode(r), Result::kTooLittleData);
  EXPECT_EQ(d.LastError(), kErrorTooLittleData);
  EXPECT_EQ(out[0], 0xAB);  // nothing written
  r.inputLength = 208;
  ASSERT_EQ(d.Decode(r), Result::kOk);
  EXPECT_EQ(r.inputLength, 208u);
  EXPECT_EQ(r.outputLength, 1152u);
  EXPECT_EQ(r.bitrate, 64000u);
  EXPECT_EQ(out[0], 0);
  EXPECT_EQ(out[1151], 0);
  EXPECT_EQ(out[1152], 0xAB);  // exactly one frame of PCM
}

TEST_F(DecoderFront, PaddingMakesTheFrameOneByteLonger) {
  const uint8_t padded[4] = {0xFF, 0xFB, 0x92, 0x64};
  auto stream = SilentStream(padded, 418, 2);
  ASSERT_EQ(d.Start(stream.data(), static_cast<uint32_t>(stream.size())), Result::kOk);
  std::vector<uint8_t> out(4608);
  FrameRequest r;
  r.input = stream.data();
  r.inputLength = static_cast<uint32_t>(stream.size());
  r.output = out.data();
  ASSERT_EQ(d.Decode(r), Result::kOk);
  EXPECT_EQ(r.inputLength, 418u);
  EXPECT_EQ(r.outputLength, 4608u);
}

TEST_F(DecoderFront, FirstFrameReachingBeforeTheStreamWritesNothing) {
  auto stream = SilentStream(kMpeg1, 417, 3, 100);
  ASSERT_EQ(d.Start(stream.data(), static_cast<uint32_t>(stream.size())), Result::kOk);
  std::vector<uint8_t> out(4608, 0x5A);
  FrameRequest r;
  r.input = stream.data();
  r.inputLength = static_cast<uint32_t>(stream.size());
  r.output = out.data();
  ASSERT_EQ(d.Decode(r), Result::kNoOutput);  // a whole frame taken...
  EXPECT_EQ(r.outputLength, 4608u);
  EXPECT_EQ(out[0], 0x5A);  // ...but the output keeps its contents
  EXPECT_EQ(out[4607], 0x5A);
  r.input = stream.data() + 417;
  r.inputLength = 417 * 2;
  ASSERT_EQ(d.Decode(r), Result::kOk);
  EXPECT_EQ(out[0], 0);  // the second frame's data is fully held
}

TEST_F(DecoderFront, StrayHeaderOfAnotherVersionCannotOverrunTheOutput) {
  auto stream = SilentStream(kMpeg2, 208, 1);
  ASSERT_EQ(d.Start(stream.data(), static_cast<uint32_t>(stream.size())), Result::kOk);
  // An MPEG-1 frame in an MPEG-2 stream, measured at the stream's 22.05 kHz.
  auto other = SilentStream(kMpeg1, 836, 1);
  std::vector<uint8_t> out(1152 + 64, 0xCD);
  FrameRequest r;
  r.input = other.data();
  r.inputLength = static_cast<uint32_t>(other.size());
  r.output = out.data();
  d.Decode(r);
  EXPECT_EQ(out[1152], 0xCD);
}

TEST_F(DecoderFront, OptionsAndEqualizer) {
  DecoderOptions o;
  o = d.Options();
  EXPECT_EQ(o.reduction, 0u);
  EXPECT_EQ(o.conversion, 0u);
  EXPECT_EQ(o.frequencyLimit, 24000u);
  o.reduction = 2;
  o.conversion = 3;
  o.frequencyLimit = 8000;
  EXPECT_TRUE(d.SetOptions(o));
  DecoderOptions back;
  back = d.Options();
  EXPECT_EQ(back.reduction, 2u);
  EXPECT_EQ(back.conversion, 3u);
  EXPECT_EQ(back.frequencyLimit, 8000u);
  // A second start keeps the options; Reset restores the defaults.
  auto stream = SilentStream(kMpeg1, 417, 1);
  ASSERT_EQ(d.Start(stream.data(), static_cast<uint32_t>(stream.size())), Result::kOk);
  back = d.Options();
  EXPECT_EQ(back.reduction, 2u);
  d.Reset();
  back = d.Options();
  EXPECT_EQ(back.reduction, 0u);
  const int32_t bands[10] = {0, 0, 0, 0, 0, 0, 0, 0, 0, -200};
  d.SetEqualizer(bands);
  d.SetEqualizer(nullptr);
}

TEST_F(DecoderFront, StartRefusesAShortOrInvalidFirstFrame) {
  auto stream = SilentStream(kMpeg1, 417, 1);
  EXPECT_EQ(d.Start(stream.data(), 100), Result::kTooLittleData);
  EXPECT_EQ(d.LastError(), kErrorTooLittleData);
  stream[2] = 0xF0;
  EXPECT_EQ(d.Start(stream.data(), static_cast<uint32_t>(stream.size())), Result::kBadHeader);
  EXPECT_EQ(d.LastError(), kErrorBadHeader);
}

// Frames whose side information claims the longest part 2/3 for every
// granule and channel while main_data_begin stays 0: the claimed bits run
// far past what the reservoir holds once it has filled up. The decoder must
// stay inside the reservoir (the sanitizer builds check the addresses) and
// go on decoding whole frames.
TEST_F(DecoderFront, SideInformationClaimingMoreBitsThanTheReservoirHolds) {
  const uint8_t header[4] = {0xFF, 0xFB, 0xE4, 0x00};  // 320 kbit/s, 48 kHz, stereo: 960 bytes
  const int frames = 12;
  std::vector<uint8_t> stream(960 * frames, 0);
  for (int f = 0; f < frames; ++f) {
    uint8_t* frame = stream.data() + 960 * f;
    std::memcpy(frame, header, 4);
    // After main_data_begin (9), private bits (3) and scfsi (8): four
    // granule-channel records of 59 bits, each starting with part2_3_length.
    for (int gc = 0; gc < 4; ++gc) {
      const int bit = 32 + 20 + 59 * gc;
      for (int b = 0; b < 12; ++b) frame[(bit + b) / 8] |= static_cast<uint8_t>(0x80 >> ((bit + b) % 8));
    }
    for (int i = 4 + 32; i < 960; ++i) frame[i] = static_cast<uint8_t>(i * 37 + f);
  }
  ASSERT_EQ(d.Start(stream.data(), static_cast<uint32_t>(stream.size())), Result::kOk);
  std::vector<uint8_t> out(4608);
  for (int f = 0; f < frames; ++f) {
    FrameRequest r;
    r.input = stream.data() + 960 * f;
    r.inputLength = 960;
    r.output = out.data();
    ASSERT_TRUE(Decoded(d.Decode(r))) << "frame " << f;
    EXPECT_EQ(r.outputLength, 4608u);
  }
}

}  // namespace
