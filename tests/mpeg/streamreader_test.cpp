// SPDX-License-Identifier: GPL-3.0-or-later
// Frame headers, frame sync and the stream information of a first frame.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>

#include "mpeg/mpegdecoder.h"

using namespace lexoria::mpeg;

namespace {

class StreamReader : public ::testing::Test {
 protected:
  Decoder d;
};

struct HeaderCase {
  std::array<uint8_t, 4> bytes;
  bool valid;
  uint32_t error;  // expected last error when invalid
  uint32_t version, layer, crc, minLength, maxLength, pcmBytes;
};

// 156 bytes: a header followed by zeros (no VBR header).
std::vector<uint8_t> Frame(std::array<uint8_t, 4> header) {
  std::vector<uint8_t> f(400, 0);
  std::memcpy(f.data(), header.data(), 4);
  return f;
}

TEST_F(StreamReader, HeadersAndFrameLengths) {
  const HeaderCase cases[] = {
      // MPEG-1 layer III 128 kbit/s 44.1 kHz joint stereo, no CRC.
      {{0xFF, 0xFB, 0x90, 0x64}, true, 0, 1, 3, 0, 417, 418, 4608},
      // Same with padding: the frame is 418 bytes.
      {{0xFF, 0xFB, 0x92, 0x64}, true, 0, 1, 3, 0, 417, 418, 4608},
      // With CRC (protection bit 0).
      {{0xFF, 0xFA, 0x90, 0x64}, true, 0, 1, 3, 1, 417, 418, 4608},
      // MPEG-2 layer III 64 kbit/s 22.05 kHz mono: 576 samples.
      {{0xFF, 0xF3, 0x80, 0xC0}, true, 0, 2, 3, 0, 208, 209, 1152},
      // MPEG-2.5 (sync 1110) 8 kbit/s 8 kHz mono.
      {{0xFF, 0xE3, 0x18, 0xC0}, true, 0, 3, 3, 0, 72, 73, 1152},
      // MPEG-1 layer I 32 kbit/s 32 kHz stereo: (12 x 32000 / 32000) x 4 = 48.
      {{0xFF, 0xFF, 0x18, 0x00}, true, 0, 1, 1, 0, 48, 52, 1536},
      // MPEG-1 layer II 64 kbit/s 48 kHz stereo.
      {{0xFF, 0xFD, 0x44, 0x00}, true, 0, 1, 2, 0, 192, 193, 4608},
      // Free format, bitrate index 15, sampling index 3, layer code 0: error 4.
      {{0xFF, 0xFB, 0x00, 0x64}, false, 4, 0, 0, 0, 0, 0, 0},
      {{0xFF, 0xFB, 0xF0, 0x64}, false, 4, 0, 0, 0, 0, 0, 0},
      {{0xFF, 0xFB, 0x9C, 0x64}, false, 4, 0, 0, 0, 0, 0, 0},
      {{0xFF, 0xF9, 0x90, 0x64}, false, 4, 0, 0, 0, 0, 0, 0},
      // Not a sync: first byte, or second byte's top bits 1101.
      {{0xFE, 0xFB, 0x90, 0x64}, false, 3, 0, 0, 0, 0, 0, 0},
      {{0xFF, 0xDB, 0x90, 0x64}, false, 3, 0, 0, 0, 0, 0, 0},
  };
  for (const HeaderCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << std::hex << int(c.bytes[1]) << " " << int(c.bytes[2]));
    FrameInfo info;
    const auto frame = Frame(c.bytes);
    const Result result = d.ReadStreamInfo(frame.data(), 156, info, 1);
    EXPECT_EQ(result == Result::kOk, c.valid);
    if (!c.valid) {
      EXPECT_EQ(ErrorCode(result), c.error);
      EXPECT_EQ(d.LastError(), c.error);
      continue;
    }
    EXPECT_EQ(info.version, c.version);
    EXPECT_EQ(info.layer, c.layer);
    EXPECT_EQ(info.crc, c.crc);
    EXPECT_EQ(info.minFrameLength, c.minLength);
    EXPECT_EQ(info.maxFrameLength, c.maxLength);
    EXPECT_EQ(info.pcmBytesPerFrame, c.pcmBytes);
    EXPECT_EQ(info.totalFrames, 0u);
    EXPECT_NE(info.bitrate, 0u);
  }
}

TEST_F(StreamReader, RawFieldsAreStoredBeforeTheTests) {
  FrameHeader h;
  const uint8_t bytes[4] = {0xFE, 0xFB, 0x96, 0x6D};
  EXPECT_EQ(ReadFrameHeader(bytes, h), Result::kNoSync);
  EXPECT_EQ(h.bitrateIndex, 9u);
  EXPECT_EQ(h.samplingIndex, 1u);
  EXPECT_EQ(h.padding, 1u);
  EXPECT_EQ(h.mode, 1u);
  EXPECT_EQ(h.modeExtension, 2u);
  EXPECT_EQ(h.copyright, 1u);
  EXPECT_EQ(h.original, 1u);
  EXPECT_EQ(h.emphasis, 1u);
}

TEST_F(StreamReader, TooLittleData) {
  FrameInfo info;
  const auto frame = Frame({0xFF, 0xFB, 0x90, 0x64});
  EXPECT_EQ(d.ReadStreamInfo(frame.data(), 155, info, 1), Result::kTooLittleData);
  EXPECT_EQ(d.LastError(), kErrorTooLittleData);
}

TEST_F(StreamReader, FindFrameSyncScansUpToFourBeforeTheEnd) {
  uint32_t offset = 99;
  const uint8_t three[3] = {0xFF, 0xFB, 0x90};
  EXPECT_EQ(FindFrameSync(three, 3, offset), Result::kTooLittleData);
  EXPECT_EQ(offset, 0u);
  const uint8_t found[8] = {0, 0xFF, 0x12, 0xFF, 0xE3, 0, 0, 0};
  EXPECT_EQ(FindFrameSync(found, 8, offset), Result::kOk);
  EXPECT_EQ(offset, 3u);
  // A sync starting in the last three bytes is not found.
  const uint8_t late[6] = {0, 0, 0, 0xFF, 0xFB, 0};
  EXPECT_EQ(FindFrameSync(late, 6, offset), Result::kTooLittleData);
}

struct VbrCase {
  std::array<uint8_t, 4> header;
  size_t tagOffset;  // where the tag is looked for
};

TEST_F(StreamReader, XingHeaderPlaceAndCounts) {
  const VbrCase cases[] = {
      {{0xFF, 0xFB, 0x90, 0x44}, 36},  // MPEG-1 stereo
      {{0xFF, 0xFB, 0x90, 0xC4}, 21},  // MPEG-1 mono
      {{0xFF, 0xFA, 0x90, 0xC4}, 23},  // MPEG-1 mono with CRC
      {{0xFF, 0xF3, 0x80, 0x44}, 21},  // MPEG-2 stereo
      {{0xFF, 0xF3, 0x80, 0xC4}, 13},  // MPEG-2 mono
  };
  for (const VbrCase& c : cases) {
    auto frame = Frame(c.header);
    std::memcpy(frame.data() + c.tagOffset, "Xing\0\0\0\x01\0\0\0\x64\0\x01\0\0", 16);
    FrameInfo info;
    ASSERT_EQ(d.ReadStreamInfo(frame.data(), 156, info, 1), Result::kOk) << c.tagOffset;
    EXPECT_EQ(info.totalFrames, 100u);
    EXPECT_EQ(info.totalBytes, 65536u);  // read although only the frames flag is set
    EXPECT_EQ(info.bitrate, 0u);
    EXPECT_NE(info.vbrFrameLength, 0u);
    EXPECT_LT(info.minFrameLength, info.maxFrameLength);
  }
  // MPEG-1 layer III: lowest 32 kbit/s, highest 320 kbit/s at 44.1 kHz.
  auto frame = Frame({0xFF, 0xFB, 0x90, 0x44});
  std::memcpy(frame.data() + 36, "Xing\0\0\0\x03\0\0\0\x64\0\x01\0\0", 16);
  FrameInfo info;
  ASSERT_EQ(d.ReadStreamInfo(frame.data(), 156, info, 1), Result::kOk);
  EXPECT_EQ(info.minFrameLength, 32000u * 144 / 44100);
  EXPECT_EQ(info.maxFrameLength, 320000u * 144 / 44100 + 1);
  EXPECT_EQ(info.vbrFrameLength, 417u);
}

TEST_F(StreamReader, XingWithoutCountsIsRefused) {
  auto frame = Frame({0xFF, 0xFB, 0x90, 0x44});
  std::memcpy(frame.data() + 36, "Xing\0\0\0\x0C", 8);
  FrameInfo info;
  EXPECT_EQ(d.ReadStreamInfo(frame.data(), 156, info, 1), Result::kBadHeader);
  EXPECT_EQ(d.LastError(), kErrorBadHeader);
}

TEST_F(StreamReader, VbriCounts) {
  auto frame = Frame({0xFF, 0xFB, 0x90, 0x44});
  const uint8_t vbri[18] = {'V', 'B', 'R', 'I', 0, 1, 0, 0, 0, 0, 0, 0, 0x10, 0, 0, 0, 0, 0x2A};
  std::memcpy(frame.data() + 36, vbri, sizeof vbri);
  FrameInfo info;
  ASSERT_EQ(d.ReadStreamInfo(frame.data(), 156, info, 1), Result::kOk);
  EXPECT_EQ(info.totalBytes, 0x1000u);
  EXPECT_EQ(info.totalFrames, 0x2Au);
}

TEST_F(StreamReader, OutputFormatFollowsTheOptions) {
  const auto frame = Frame({0xFF, 0xFB, 0x90, 0x64});
  DecoderOptions options;
  options.reduction = 1;
  options.conversion = kConversion8Bit | 1;
  ASSERT_TRUE(d.SetOptions(options));
  FrameInfo info;
  ASSERT_EQ(d.ReadStreamInfo(frame.data(), 156, info, 1), Result::kOk);
  EXPECT_EQ(info.outputChannels, 1u);
  EXPECT_EQ(info.outputBits, 8u);
  EXPECT_EQ(info.sampleRate, 22050u);
  EXPECT_EQ(info.pcmBytesPerFrame, 576u);
  // Only full, half and quarter rate exist.
  options.reduction = 3;
  EXPECT_FALSE(d.SetOptions(options));
}

}  // namespace
