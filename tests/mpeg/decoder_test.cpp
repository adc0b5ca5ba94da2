// The decoder front: frame lengths, refusals, the reservoir's first frames,
// exact output sizes and the options.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "mpegdecoder.h"

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

class Decoder : public ::testing::Test {
 protected:
  void SetUp() override { DecoderInit(); }
};

TEST_F(Decoder, RefusesFourBytesAndShortFrames) {
  auto stream = SilentStream(kMpeg2, 208, 2);
  ASSERT_EQ(DecoderStart(stream.data(), static_cast<uint32_t>(stream.size())), 1);
  std::vector<uint8_t> out(1152 + 16, 0xAB);
  FrameRequest r;
  r.input = stream.data();
  r.inputLength = 4;
  r.output = out.data();
  EXPECT_EQ(DecodeFrame(r), 0);
  EXPECT_EQ(DecoderLastError(), kErrorTooLittleData);
  r.inputLength = 207;
  EXPECT_EQ(DecodeFrame(r), 0);
  EXPECT_EQ(DecoderLastError(), kErrorTooLittleData);
  EXPECT_EQ(out[0], 0xAB);  // nothing written
  r.inputLength = 208;
  ASSERT_EQ(DecodeFrame(r), 1);
  EXPECT_EQ(r.inputLength, 208u);
  EXPECT_EQ(r.outputLength, 1152u);
  EXPECT_EQ(r.bitrate, 64000u);
  EXPECT_EQ(out[0], 0);
  EXPECT_EQ(out[1151], 0);
  EXPECT_EQ(out[1152], 0xAB);  // exactly one frame of PCM
}

TEST_F(Decoder, PaddingMakesTheFrameOneByteLonger) {
  const uint8_t padded[4] = {0xFF, 0xFB, 0x92, 0x64};
  auto stream = SilentStream(padded, 418, 2);
  ASSERT_EQ(DecoderStart(stream.data(), static_cast<uint32_t>(stream.size())), 1);
  std::vector<uint8_t> out(4608);
  FrameRequest r;
  r.input = stream.data();
  r.inputLength = static_cast<uint32_t>(stream.size());
  r.output = out.data();
  ASSERT_EQ(DecodeFrame(r), 1);
  EXPECT_EQ(r.inputLength, 418u);
  EXPECT_EQ(r.outputLength, 4608u);
}

TEST_F(Decoder, FirstFrameReachingBeforeTheStreamWritesNothing) {
  auto stream = SilentStream(kMpeg1, 417, 3, 100);
  ASSERT_EQ(DecoderStart(stream.data(), static_cast<uint32_t>(stream.size())), 1);
  std::vector<uint8_t> out(4608, 0x5A);
  FrameRequest r;
  r.input = stream.data();
  r.inputLength = static_cast<uint32_t>(stream.size());
  r.output = out.data();
  ASSERT_EQ(DecodeFrame(r), 1);  // reported as a full frame...
  EXPECT_EQ(r.outputLength, 4608u);
  EXPECT_EQ(out[0], 0x5A);  // ...but the output keeps its contents
  EXPECT_EQ(out[4607], 0x5A);
  r.input = stream.data() + 417;
  r.inputLength = 417 * 2;
  ASSERT_EQ(DecodeFrame(r), 1);
  EXPECT_EQ(out[0], 0);  // the second frame's data is fully held
}

TEST_F(Decoder, StrayHeaderOfAnotherVersionCannotOverrunTheOutput) {
  auto stream = SilentStream(kMpeg2, 208, 1);
  ASSERT_EQ(DecoderStart(stream.data(), static_cast<uint32_t>(stream.size())), 1);
  // An MPEG-1 frame in an MPEG-2 stream, measured at the stream's 22.05 kHz.
  auto other = SilentStream(kMpeg1, 836, 1);
  std::vector<uint8_t> out(1152 + 64, 0xCD);
  FrameRequest r;
  r.input = other.data();
  r.inputLength = static_cast<uint32_t>(other.size());
  r.output = out.data();
  DecodeFrame(r);
  EXPECT_EQ(out[1152], 0xCD);
}

TEST_F(Decoder, OptionsAndEqualizer) {
  DecoderOptions o;
  DecoderGetOptions(o);
  EXPECT_EQ(o.reduction, 0u);
  EXPECT_EQ(o.conversion, 0u);
  EXPECT_EQ(o.frequencyLimit, 24000u);
  o.reduction = 2;
  o.conversion = 3;
  o.frequencyLimit = 8000;
  EXPECT_EQ(DecoderSetOptions(o), 1);
  DecoderOptions back;
  DecoderGetOptions(back);
  EXPECT_EQ(back.reduction, 2u);
  EXPECT_EQ(back.conversion, 3u);
  EXPECT_EQ(back.frequencyLimit, 8000u);
  // A second start keeps the options; DecoderInit resets them.
  auto stream = SilentStream(kMpeg1, 417, 1);
  ASSERT_EQ(DecoderStart(stream.data(), static_cast<uint32_t>(stream.size())), 1);
  DecoderGetOptions(back);
  EXPECT_EQ(back.reduction, 2u);
  DecoderInit();
  DecoderGetOptions(back);
  EXPECT_EQ(back.reduction, 0u);
  const int32_t bands[10] = {0, 0, 0, 0, 0, 0, 0, 0, 0, -200};
  EXPECT_EQ(DecoderSetEqualizer(bands), 1);
  EXPECT_EQ(DecoderSetEqualizer(nullptr), 1);
}

TEST_F(Decoder, StartRefusesAShortOrInvalidFirstFrame) {
  auto stream = SilentStream(kMpeg1, 417, 1);
  EXPECT_EQ(DecoderStart(stream.data(), 100), 0);
  EXPECT_EQ(DecoderLastError(), kErrorTooLittleData);
  stream[2] = 0xF0;
  EXPECT_EQ(DecoderStart(stream.data(), static_cast<uint32_t>(stream.size())), 0);
  EXPECT_EQ(DecoderLastError(), kErrorBadHeader);
}

}  // namespace
