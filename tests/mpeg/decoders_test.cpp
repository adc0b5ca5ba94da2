// SPDX-License-Identifier: GPL-3.0-or-later
// Caller-owned decoders: each holds its whole stream state, so two decoders
// used in turn or on two threads give what each gives alone; and the status
// of a decode tells a written frame, a frame with no output yet and each
// error apart.
#include <gtest/gtest.h>

#include <cstring>
#include <thread>
#include <vector>

#include "mpeg/mpegdecoder.h"
#include "streamrun.h"
#include "testsupport.h"

using namespace lexoria::mpeg;
using mpegtest::Stream;
using mpegtest::StreamRun;

namespace {

// Two streams unlike in every way that lives in the state: layer, channels,
// rate, reservoir, options.
std::vector<Stream> TwoStreams() {
  const std::string dir = mpegtest::VectorsDir();
  if (dir.empty() || !mpegtest::Exists(dir + "/l3-compl.bit") || !mpegtest::Exists(dir + "/l2-fl10.bit")) return {};
  Stream a{mpegtest::ReadBytes(dir + "/l3-compl.bit"), {}};
  Stream b{mpegtest::ReadBytes(dir + "/l2-fl10.bit"), {}};
  b.options.conversion = kConversionPrecise | 1;  // mixed to one channel, rounded
  if (mpegtest::Exists(dir + "/M2L3_bitrate_22_all.bit")) {
    Stream c{mpegtest::ReadBytes(dir + "/M2L3_bitrate_22_all.bit"), {}};
    c.options.reduction = 1;
    return {a, b, c};
  }
  return {a, b};
}

TEST(Decoders, TwoInTurnGiveWhatEachGivesAlone) {
  const std::vector<Stream> streams = TwoStreams();
  if (streams.empty()) MPEGTEST_SKIP_WITHOUT_VECTORS("conformance vectors not found");
  for (size_t i = 0; i + 1 < streams.size(); ++i) {
    const std::vector<uint8_t> aloneA = StreamRun(streams[i]).Run();
    const std::vector<uint8_t> aloneB = StreamRun(streams[i + 1]).Run();
    ASSERT_FALSE(aloneA.empty());
    ASSERT_FALSE(aloneB.empty());
    StreamRun a(streams[i]);
    StreamRun b(streams[i + 1]);
    bool more = true;
    while (more) {
      more = a.Step();
      more = b.Step() || more;
    }
    EXPECT_TRUE(a.Pcm() == aloneA) << "stream " << i;
    EXPECT_TRUE(b.Pcm() == aloneB) << "stream " << i + 1;
  }
}

// Also built with ThreadSanitizer by scripts/test: the table build and the
// decoding must share nothing writable.
TEST(Decoders, TwoThreadsGiveWhatEachGivesAlone) {
  const std::vector<Stream> streams = TwoStreams();
  if (streams.empty()) MPEGTEST_SKIP_WITHOUT_VECTORS("conformance vectors not found");
  std::vector<std::vector<uint8_t>> alone;
  for (const Stream& s : streams) alone.push_back(StreamRun(s).Run());
  std::vector<std::vector<uint8_t>> threaded(streams.size());
  std::vector<std::thread> threads;
  for (size_t i = 0; i < streams.size(); ++i)
    threads.emplace_back([&, i] { threaded[i] = StreamRun(streams[i]).Run(); });
  for (std::thread& t : threads) t.join();
  for (size_t i = 0; i < streams.size(); ++i) EXPECT_TRUE(threaded[i] == alone[i]) << "stream " << i;
}

// Input with no frame sync, on two threads at once: every reader call and
// every decoder call fails, and each decoder keeps its own failure. The
// readers keep nothing, so ThreadSanitizer (scripts/test) sees no shared
// write, and neither decoder ends with the other's error.
TEST(Decoders, TwoThreadsOnInputWithoutSyncKeepTheirOwnErrors) {
  struct Feed {
    std::vector<uint8_t> bytes;
    uint32_t decodeLength;  // bytes offered to each Decode
    uint32_t error;         // what every failure of this feed reports
  };
  std::vector<uint8_t> noise(4096);
  for (size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<uint8_t>((i * 29 + 7) % 0xF0);  // never 0xFF
  const Feed feeds[2] = {{noise, 1024, kErrorNoSync}, {std::vector<uint8_t>(100, 0), 4, kErrorTooLittleData}};
  uint32_t lastErrors[2] = {};
  uint32_t wrongResults[2] = {};
  std::vector<std::thread> threads;
  for (int t = 0; t < 2; ++t)
    threads.emplace_back([&, t] {
      const Feed& feed = feeds[t];
      const int32_t length = static_cast<int32_t>(feed.bytes.size());
      Decoder d;
      std::vector<uint8_t> out(4608);
      for (int round = 0; round < 200; ++round) {
        uint32_t offset = 0;
        FrameHeader header;
        FrameInfo info;
        if (FindFrameSync(feed.bytes.data(), length, offset) != Result::kTooLittleData) ++wrongResults[t];
        if (ReadFrameHeader(feed.bytes.data(), header) == Result::kOk) ++wrongResults[t];
        if (ErrorCode(d.ReadStreamInfo(feed.bytes.data(), length, info, 1)) != feed.error) ++wrongResults[t];
        if (ErrorCode(d.Start(feed.bytes.data(), static_cast<uint32_t>(length))) != feed.error) ++wrongResults[t];
        FrameRequest r;
        r.input = feed.bytes.data() + round % 64;
        r.inputLength = feed.decodeLength;
        r.output = out.data();
        if (ErrorCode(d.Decode(r)) != feed.error) ++wrongResults[t];
      }
      lastErrors[t] = d.LastError();
    });
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(wrongResults[0], 0u);
  EXPECT_EQ(wrongResults[1], 0u);
  EXPECT_EQ(lastErrors[0], kErrorNoSync);
  EXPECT_EQ(lastErrors[1], kErrorTooLittleData);
}

// Silent layer III frames (zero side information) with main_data_begin in
// the first one.
std::vector<uint8_t> SilentFrames(int frames, int mainDataBegin) {
  const uint8_t header[4] = {0xFF, 0xFB, 0x90, 0x64};  // 417 bytes, 128 kbit/s, 44.1 kHz stereo
  std::vector<uint8_t> s(417 * frames + 512, 0);
  for (int f = 0; f < frames; ++f) std::memcpy(s.data() + 417 * f, header, 4);
  s[4] = static_cast<uint8_t>(mainDataBegin >> 1);
  s[5] = static_cast<uint8_t>((mainDataBegin & 1) << 7);
  return s;
}

TEST(Decoders, StatusTellsEachOutcomeApart) {
  std::vector<uint8_t> stream = SilentFrames(3, 100);
  std::vector<uint8_t> out(4608, 0x5A);
  Decoder d;
  FrameRequest r;
  r.input = stream.data();
  r.inputLength = static_cast<uint32_t>(stream.size());
  r.output = out.data();
  EXPECT_EQ(d.Decode(r), Result::kNotStarted);
  EXPECT_EQ(d.LastError(), kErrorBadHeader);
  ASSERT_EQ(d.Start(stream.data(), static_cast<uint32_t>(stream.size())), Result::kOk);

  struct Case {
    const char* what;
    size_t offset;
    uint32_t length;
    uint8_t byte1;  // second header byte
    uint8_t byte2;  // third header byte
    Result status;
    uint32_t error;
  };
  const Case cases[] = {
      {"four bytes", 0, 4, 0xFB, 0x90, Result::kTooLittleData, kErrorTooLittleData},
      {"cut frame", 0, 416, 0xFB, 0x90, Result::kTooLittleData, kErrorTooLittleData},
      {"no sync", 0, 417, 0x7B, 0x90, Result::kNoSync, kErrorNoSync},
      {"free bitrate", 0, 417, 0xFB, 0x00, Result::kBadHeader, kErrorBadHeader},
      {"reserved rate", 0, 417, 0xFB, 0x9C, Result::kBadHeader, kErrorBadHeader},
      {"data before the stream", 0, 417, 0xFB, 0x90, Result::kNoOutput, 0},
      {"second frame", 417, 834, 0xFB, 0x90, Result::kOk, 0},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> copy = stream;
    copy[c.offset + 1] = c.byte1;
    copy[c.offset + 2] = c.byte2;
    std::fill(out.begin(), out.end(), 0x5A);
    r = FrameRequest{};
    r.input = copy.data() + c.offset;
    r.inputLength = c.length;
    r.output = out.data();
    const Result status = d.Decode(r);
    EXPECT_EQ(status, c.status) << c.what;
    if (c.error != 0) {
      EXPECT_EQ(d.LastError(), c.error) << c.what;
    }
    EXPECT_EQ(ErrorCode(status), c.error) << c.what;
    // Only a decoded frame writes its output.
    EXPECT_EQ(out[0] == 0x5A && out[4607] == 0x5A, status != Result::kOk) << c.what;
    if (status == Result::kOk || status == Result::kNoOutput) {
      EXPECT_EQ(r.outputLength, 4608u) << c.what;
    }
  }
}

TEST(Decoders, EachKeepsItsOwnOptionsAndErrors) {
  Decoder a;
  Decoder b;
  DecoderOptions o;
  o.reduction = 2;
  ASSERT_TRUE(a.SetOptions(o));
  o.reduction = 3;
  EXPECT_FALSE(b.SetOptions(o));
  EXPECT_EQ(a.Options().reduction, 2u);
  EXPECT_EQ(b.Options().reduction, 0u);
  const std::vector<uint8_t> stream = SilentFrames(1, 0);
  EXPECT_EQ(a.Start(stream.data(), 100), Result::kTooLittleData);
  EXPECT_EQ(a.LastError(), kErrorTooLittleData);
  EXPECT_EQ(b.LastError(), 0u);
  a.Reset();
  EXPECT_EQ(a.Options().reduction, 0u);
}

}  // namespace
