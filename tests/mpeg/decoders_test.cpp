// Caller-owned decoders: each holds its whole stream state, so two decoders
// used in turn or on two threads give what each gives alone; and the status
// of a decode tells a written frame, a frame with no output yet and each
// error apart.
#include <gtest/gtest.h>

#include <cstring>
#include <thread>
#include <vector>

#include "mpegdecoder.h"
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
  if (streams.empty()) GTEST_SKIP() << "conformance vectors not found";
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
  if (streams.empty()) GTEST_SKIP() << "conformance vectors not found";
  std::vector<std::vector<uint8_t>> alone;
  for (const Stream& s : streams) alone.push_back(StreamRun(s).Run());
  std::vector<std::vector<uint8_t>> threaded(streams.size());
  std::vector<std::thread> threads;
  for (size_t i = 0; i < streams.size(); ++i)
    threads.emplace_back([&, i] { threaded[i] = StreamRun(streams[i]).Run(); });
  for (std::thread& t : threads) t.join();
  for (size_t i = 0; i < streams.size(); ++i) EXPECT_TRUE(threaded[i] == alone[i]) << "stream " << i;
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
  EXPECT_EQ(d.Decode(r), DecodeStatus::kNotStarted);
  EXPECT_EQ(d.LastError(), kErrorBadHeader);
  ASSERT_TRUE(d.Start(stream.data(), static_cast<uint32_t>(stream.size())));

  struct Case {
    const char* what;
    size_t offset;
    uint32_t length;
    uint8_t byte1;  // second header byte
    uint8_t byte2;  // third header byte
    DecodeStatus status;
    uint32_t error;
  };
  const Case cases[] = {
      {"four bytes", 0, 4, 0xFB, 0x90, DecodeStatus::kTooLittleData, kErrorTooLittleData},
      {"cut frame", 0, 416, 0xFB, 0x90, DecodeStatus::kTooLittleData, kErrorTooLittleData},
      {"no sync", 0, 417, 0x7B, 0x90, DecodeStatus::kNoSync, kErrorNoSync},
      {"free bitrate", 0, 417, 0xFB, 0x00, DecodeStatus::kBadHeader, kErrorBadHeader},
      {"reserved rate", 0, 417, 0xFB, 0x9C, DecodeStatus::kBadHeader, kErrorBadHeader},
      {"data before the stream", 0, 417, 0xFB, 0x90, DecodeStatus::kNoOutput, 0},
      {"second frame", 417, 834, 0xFB, 0x90, DecodeStatus::kDecoded, 0},
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
    const DecodeStatus status = d.Decode(r);
    EXPECT_EQ(status, c.status) << c.what;
    if (c.error != 0) {
      EXPECT_EQ(d.LastError(), c.error) << c.what;
    }
    EXPECT_EQ(StatusError(status), c.error) << c.what;
    // Only a decoded frame writes its output.
    EXPECT_EQ(out[0] == 0x5A && out[4607] == 0x5A, status != DecodeStatus::kDecoded) << c.what;
    if (status == DecodeStatus::kDecoded || status == DecodeStatus::kNoOutput) {
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
  EXPECT_FALSE(a.Start(stream.data(), 100));
  EXPECT_EQ(a.LastError(), kErrorTooLittleData);
  EXPECT_EQ(b.LastError(), 0u);
  // The default instance behind the free functions is a third one.
  DecoderInit();
  DecoderOptions def;
  DecoderGetOptions(def);
  EXPECT_EQ(def.reduction, 0u);
  a.Reset();
  EXPECT_EQ(a.Options().reduction, 0u);
}

}  // namespace
