// SPDX-License-Identifier: GPL-3.0-or-later
// CWavePlayer on streams whose framing is exact and known: frames of a
// valid header followed by zeros, which decode to silence.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <thread>
#include <vector>

#include "sound/captureoutput.h"
#include "sound/waveplayer.h"
#include "soundfixtures.h"

namespace lexoria::sound {
namespace {

using testing::Bytes;
using testing::kMpeg2MonoFrameBytes;
using testing::kMpeg2MonoPcmBytes;
using testing::SilentFrames;

// Opens `clip` and prepares it the way LoadClip does.
uint32_t OpenAndPrepare(CWavePlayer& player, Bytes clip) {
  const uint32_t code = player.OpenFromMemory(std::move(clip));
  player.PrepareRange(0, 400000);
  return code;
}

TEST(WavePlayer, OpensWithTheFirstHeadersFormat) {
  CaptureOutput out;
  CWavePlayer player(&out);
  ASSERT_EQ(player.OpenFromMemory(SilentFrames(10)), CWavePlayer::kSuccess);
  EXPECT_EQ(player.State(), CWavePlayer::kOpen);
  EXPECT_EQ(out.Log(), "open");
  EXPECT_EQ(out.Format(), PcmFormat(24000, 1));
  EXPECT_EQ(out.Format().avgBytesPerSec, 48000u);
  EXPECT_EQ(player.LowSamplingFrequency(), 1);
  EXPECT_EQ(player.KbitRate(), 48);
  EXPECT_EQ(player.SampleRate(), 24000);
  EXPECT_EQ(player.Channels(), 1);
  EXPECT_EQ(player.PcmBytesPerFrame(), kMpeg2MonoPcmBytes);
  EXPECT_EQ(player.StreamLength(), 10 * kMpeg2MonoFrameBytes);

  // MPEG-1, 128 kbit/s, 44.1 kHz, joint stereo.
  const uint8_t stereo[4] = {0xFF, 0xFB, 0x90, 0x44};
  CaptureOutput out2;
  CWavePlayer player2(&out2);
  ASSERT_EQ(player2.OpenFromMemory(SilentFrames(4, stereo, 417)), CWavePlayer::kSuccess);
  EXPECT_EQ(out2.Format(), PcmFormat(44100, 2));
  EXPECT_EQ(player2.LowSamplingFrequency(), 0);
  EXPECT_EQ(player2.KbitRate(), 128);
  EXPECT_EQ(player2.NominalFrameLength(), 417);
  EXPECT_EQ(player2.PcmBytesPerFrame(), 1152u * 4);
}

// Every operation from every state: its code, the state after it and the
// device calls it makes.
TEST(WavePlayer, StateMachine) {
  enum Op { OpOpen, OpPrepare, OpStart, OpStop, OpPause, OpResume, OpClose };
  struct Row {
    uint32_t from;
    Op op;
    uint32_t code;
    uint32_t to;
    const char* deviceCalls;  // made by the operation itself
  };
  const Row rows[] = {
      {CWavePlayer::kClosed, OpPrepare, 0, CWavePlayer::kClosed, ""},
      {CWavePlayer::kClosed, OpStart, 0, CWavePlayer::kClosed, ""},
      {CWavePlayer::kClosed, OpStop, 0, CWavePlayer::kClosed, ""},
      {CWavePlayer::kClosed, OpPause, 4, CWavePlayer::kClosed, ""},
      {CWavePlayer::kClosed, OpResume, 4, CWavePlayer::kClosed, ""},
      {CWavePlayer::kClosed, OpClose, 0, CWavePlayer::kClosed, ""},
      {CWavePlayer::kClosed, OpOpen, 0, CWavePlayer::kOpen, "open"},
      {CWavePlayer::kOpen, OpOpen, 0, CWavePlayer::kOpen, ""},
      {CWavePlayer::kOpen, OpPrepare, 0, CWavePlayer::kOpen, ""},
      {CWavePlayer::kOpen, OpStart, 0, CWavePlayer::kPlaying, "write"},
      {CWavePlayer::kOpen, OpStop, 0, CWavePlayer::kOpen, ""},
      {CWavePlayer::kOpen, OpPause, 4, CWavePlayer::kOpen, ""},
      {CWavePlayer::kOpen, OpResume, 4, CWavePlayer::kOpen, ""},
      {CWavePlayer::kOpen, OpClose, 0, CWavePlayer::kClosed, "close"},
      {CWavePlayer::kPlaying, OpStart, 0, CWavePlayer::kPlaying, "write"},
      {CWavePlayer::kPlaying, OpStop, 0, CWavePlayer::kOpen, "reset"},
      {CWavePlayer::kPlaying, OpPause, 0, CWavePlayer::kPaused, "pause"},
      {CWavePlayer::kPlaying, OpResume, 4, CWavePlayer::kPlaying, ""},
      {CWavePlayer::kPlaying, OpClose, 0, CWavePlayer::kClosed, "reset close"},
      {CWavePlayer::kPaused, OpPause, 4, CWavePlayer::kPaused, ""},
      {CWavePlayer::kPaused, OpResume, 0, CWavePlayer::kPlaying, "restart"},
      {CWavePlayer::kPaused, OpStop, 0, CWavePlayer::kOpen, "reset"},
      {CWavePlayer::kPaused, OpStart, 0, CWavePlayer::kPlaying, "write"},
      {CWavePlayer::kPaused, OpClose, 0, CWavePlayer::kClosed, "reset close"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(::testing::Message() << "from state " << row.from << ", operation " << row.op);
    CaptureOutput out;
    CWavePlayer player(&out);
    if (row.from != CWavePlayer::kClosed) {
      ASSERT_EQ(OpenAndPrepare(player, SilentFrames(8)), 0u);
    }
    if (row.from >= CWavePlayer::kPlaying) player.Start();
    if (row.from == CWavePlayer::kPaused) player.Pause();
    ASSERT_EQ(player.State(), row.from);
    out.ClearLog();

    uint32_t code = 99;
    Bytes other = SilentFrames(3);
    switch (row.op) {
      case OpOpen: code = player.OpenFromMemory(std::move(other)); break;
      case OpPrepare: code = player.PrepareRange(0, 400000); break;
      case OpStart: code = player.Start(); break;
      case OpStop: code = player.Stop(); break;
      case OpPause: code = player.Pause(); break;
      case OpResume: code = player.Resume(); break;
      case OpClose: code = player.Close(); break;
    }
    EXPECT_EQ(code, row.code);
    EXPECT_EQ(player.State(), row.to);
    EXPECT_EQ(out.Log(), row.deviceCalls);
    if (row.op == OpOpen && row.from != CWavePlayer::kClosed) {
      // Refused while a clip is held: the caller keeps its buffer.
      EXPECT_EQ(other.size(), 3 * kMpeg2MonoFrameBytes);
      EXPECT_EQ(player.StreamLength(), 8 * kMpeg2MonoFrameBytes);
    }
  }
}

TEST(WavePlayer, DecodesAQuarterAtSelectionAndTheRestOnceAtStart) {
  CaptureOutput out;
  CWavePlayer player(&out);
  Bytes clip = SilentFrames(40);
  ASSERT_EQ(player.OpenFromMemory(std::move(clip)), 0u);
  EXPECT_TRUE(clip.empty()) << "the player takes the clip";
  player.PrepareRange(0, 400000);
  // 5760 bytes at 48 kbit/s: 960 ms, frames 0 to 40 of 24 ms.
  EXPECT_EQ(player.DurationMs(), 960u);
  EXPECT_EQ(player.FramesPerBlock(), 41u);
  EXPECT_EQ(player.FramesDecoded(), 10u);
  EXPECT_FALSE(player.RestDecoded());

  player.Stop();
  player.Start();
  EXPECT_EQ(player.FramesDecoded(), 40u) << "every frame, the last one included";
  EXPECT_TRUE(player.RestDecoded());
  EXPECT_EQ(player.StreamOffset(), player.StreamLength());

  // The play button again: the same block, nothing decoded again.
  player.Stop();
  player.Start();
  EXPECT_EQ(player.FramesDecoded(), 40u);
  EXPECT_EQ(out.Log(), "open write reset write");
  ASSERT_EQ(out.Writes().size(), 2u);
  EXPECT_EQ(out.Writes()[0].size(), 41u * kMpeg2MonoPcmBytes);
  EXPECT_EQ(out.Writes()[0], out.Writes()[1]);
}

TEST(WavePlayer, PauseAndResumeKeepTheBlock) {
  CaptureOutput out;
  CWavePlayer player(&out);
  OpenAndPrepare(player, SilentFrames(20));
  player.Start();
  EXPECT_EQ(player.Pause(), 0u);
  EXPECT_EQ(player.Pause(), 4u);
  EXPECT_EQ(player.Resume(), 0u);
  EXPECT_EQ(player.Resume(), 4u);
  EXPECT_EQ(out.Log(), "open write pause restart");
  EXPECT_EQ(player.State(), CWavePlayer::kPlaying);
  EXPECT_EQ(out.Writes().size(), 1u);
}

// Clips of 1 to 4 frames of 144 bytes: fewer than the 156 bytes the stream
// reader wants, so each frame must be read with the bytes really left and
// the zeroed room after the clip.
TEST(WavePlayer, ShortClipsDecodeEveryFrame) {
  struct Row {
    uint32_t frames;
    uint32_t framesPerBlock;
    uint32_t atSelection;
  };
  const Row rows[] = {{1, 2, 0}, {2, 3, 0}, {3, 4, 1}, {4, 5, 1}};
  for (const Row& row : rows) {
    SCOPED_TRACE(::testing::Message() << row.frames << " frames");
    CaptureOutput out;
    CWavePlayer player(&out);
    ASSERT_EQ(OpenAndPrepare(player, SilentFrames(row.frames)), 0u);
    EXPECT_EQ(player.FramesPerBlock(), row.framesPerBlock);
    EXPECT_EQ(player.FramesDecoded(), row.atSelection);
    player.Start();
    EXPECT_EQ(player.FramesDecoded(), row.frames);
    ASSERT_EQ(out.Writes().size(), 1u);
    EXPECT_EQ(out.Writes()[0].size(), row.framesPerBlock * kMpeg2MonoPcmBytes);
  }
}

TEST(WavePlayer, PlayRange) {
  struct Row {
    uint32_t start, end;
    uint32_t wantStart, wantEnd, framesPerBlock;
  };
  // 40 frames: 960 ms.
  const Row rows[] = {
      {0, 400000, 0, 960, 41},                            // clamped to the duration
      {500, 100, 0, 960, 41},                             // start after end: the whole clip
      {0, 0, 0, 960, 41},                                 // (0, 0): the whole frames
      {0, 480, 0, 480, 21},    {2000, 3000, 0, 960, 41},  // both beyond the duration
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(::testing::Message() << "range " << row.start << " to " << row.end);
    CWavePlayer player;
    ASSERT_EQ(player.OpenFromMemory(SilentFrames(40)), 0u);
    player.PrepareRange(row.start, row.end);
    EXPECT_EQ(player.StartMs(), row.wantStart);
    EXPECT_EQ(player.EndMs(), row.wantEnd);
    EXPECT_EQ(player.FramesPerBlock(), row.framesPerBlock);
  }
}

// Nothing in the program starts later than 0, but the range allows it: the
// block begins at the start frame and the write inside it, on a sample.
TEST(WavePlayer, ALaterStartBeginsInsideItsFrame) {
  CaptureOutput out;
  CWavePlayer player(&out);
  ASSERT_EQ(player.OpenFromMemory(SilentFrames(40)), 0u);
  player.PrepareRange(490, 960);
  EXPECT_EQ(player.FramesPerBlock(), 21u);  // frames 20 to 40
  player.Start();
  EXPECT_EQ(player.FramesDecoded(), 20u);
  EXPECT_EQ(player.StreamOffset(), player.StreamLength());
  ASSERT_EQ(out.Writes().size(), 1u);
  // 10 ms into frame 20: 240 samples of 2 bytes.
  EXPECT_EQ(out.Writes()[0].size(), 21u * kMpeg2MonoPcmBytes - 480);
}

TEST(WavePlayer, CutsALongClipAfter300Frames) {
  CaptureOutput out;
  CWavePlayer player(&out);
  OpenAndPrepare(player, SilentFrames(400));
  EXPECT_EQ(player.FramesPerBlock(), 300u);
  EXPECT_EQ(player.FramesDecoded(), 75u);
  player.Start();
  EXPECT_EQ(player.FramesDecoded(), 300u);
  EXPECT_EQ(player.StreamOffset(), 300 * kMpeg2MonoFrameBytes);
  ASSERT_EQ(out.Writes().size(), 1u);
  EXPECT_EQ(out.Writes()[0].size(), 300u * kMpeg2MonoPcmBytes);
}

TEST(WavePlayer, FindsTheStreamInEveryWrapper) {
  struct Row {
    ClipWrapper wrapper;
    uint32_t streamStart;
  };
  const Row rows[] = {{ClipWrapper::Bare, 0},
                      {ClipWrapper::WaveFact70, 70},
                      {ClipWrapper::WaveFact72, 72},
                      {ClipWrapper::WaveData58, 58},
                      {ClipWrapper::Rmp3, 16}};
  for (const Row& row : rows) {
    for (bool tag : {false, true}) {
      SCOPED_TRACE(::testing::Message() << WrapperName(row.wrapper) << (tag ? " with a tag" : ""));
      const Bytes stream = SilentFrames(6);
      Bytes clip = testing::Wrap(stream, row.wrapper);
      if (tag) clip = testing::WithTag(clip);
      const size_t size = clip.size();
      CaptureOutput out;
      CWavePlayer player(&out);
      ASSERT_EQ(OpenAndPrepare(player, std::move(clip)), 0u);
      EXPECT_EQ(player.StreamStart(), row.streamStart);
      EXPECT_EQ(player.StreamLength(), size - row.streamStart - (tag ? 128 : 0));
      EXPECT_EQ(player.StreamLength(), stream.size());
      player.Start();
      EXPECT_EQ(player.FramesDecoded(), 6u);
    }
  }
}

TEST(WavePlayer, ATagShortensTheDurationBy128Bytes) {
  // 10 frames (1440 bytes, 240 ms) and a tag: 1568 bytes would be 256 ms.
  CWavePlayer player;
  player.OpenFromMemory(testing::WithTag(SilentFrames(10)));
  EXPECT_EQ(player.DurationMs(), 240u);
}

// Clips with no stream the player can time or decode: refused, the player
// stays closed and the device is never opened.
TEST(WavePlayer, RefusesClipsWithoutAUsableStream) {
  auto withHeader = [](uint8_t b1, uint8_t b2, uint8_t b3) {
    const uint8_t header[4] = {0xFF, b1, b2, b3};
    return SilentFrames(5, header);
  };
  Bytes id3 = {'I', 'D', '3', 3, 0, 0, 0, 0, 0, 10};
  id3.resize(20, 0);
  const Bytes frames = SilentFrames(5);
  id3.insert(id3.end(), frames.begin(), frames.end());
  Bytes unknownRiff = testing::Wrap(frames, ClipWrapper::WaveData58);
  std::memcpy(unknownRiff.data() + 50, "LIST", 4);
  Bytes riffOnly = testing::Wrap({}, ClipWrapper::WaveData58);

  struct Row {
    const char* name;
    Bytes clip;
  };
  const Row rows[] = {
      {"empty", {}},
      {"three bytes", {0xFF, 0xF3, 0x64}},
      {"bitrate index 0 (free format)", withHeader(0xF3, 0x04, 0xC4)},
      {"bitrate index 15", withHeader(0xF3, 0xF4, 0xC4)},
      {"sampling index 3", withHeader(0xF3, 0x6C, 0xC4)},
      {"layer code 0", withHeader(0xF1, 0x64, 0xC4)},
      {"no frame sync", Bytes(400, 0x20)},
      {"a leading ID3 tag", id3},
      {"RIFF of no known layout", unknownRiff},
      {"RIFF with nothing after its header", riffOnly},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    CaptureOutput out;
    CWavePlayer player(&out);
    EXPECT_EQ(OpenAndPrepare(player, row.clip), CWavePlayer::kNotPlayable);
    EXPECT_EQ(player.State(), CWavePlayer::kClosed);
    EXPECT_EQ(player.Stop(), 0u);
    EXPECT_EQ(player.Start(), 0u);
    EXPECT_EQ(player.State(), CWavePlayer::kClosed);
    EXPECT_EQ(out.Log(), "");
    // And a good clip still opens afterwards.
    EXPECT_EQ(OpenAndPrepare(player, SilentFrames(3)), 0u);
  }
}

TEST(WavePlayer, WithoutADeviceEverythingButTheSoundWorks) {
  for (bool deviceFails : {false, true}) {
    SCOPED_TRACE(deviceFails ? "device cannot be opened" : "no device at all");
    CaptureOutput failing;
    failing.SetOpenFails(true);
    CWavePlayer player(deviceFails ? &failing : nullptr);
    ASSERT_EQ(OpenAndPrepare(player, SilentFrames(12)), 0u);
    EXPECT_EQ(player.State(), CWavePlayer::kOpen);
    EXPECT_FALSE(player.DeviceOpen());
    EXPECT_EQ(player.Start(), 0u);
    EXPECT_EQ(player.State(), CWavePlayer::kPlaying);
    EXPECT_EQ(player.FramesDecoded(), 12u);
    EXPECT_EQ(player.Pause(), 0u);
    EXPECT_EQ(player.Resume(), 0u);
    EXPECT_EQ(player.Close(), 0u);
    EXPECT_EQ(failing.Log(), deviceFails ? "open-failed" : "");
  }
}

TEST(WavePlayer, CloseForgetsTheClip) {
  CaptureOutput out;
  {
    CWavePlayer player(&out);
    OpenAndPrepare(player, SilentFrames(30));
    player.Start();
    player.Close();
    EXPECT_EQ(player.State(), CWavePlayer::kClosed);
    EXPECT_EQ(player.FramesPerBlock(), 300u);
    EXPECT_EQ(player.Block(), nullptr);
    EXPECT_EQ(player.StreamLength(), 0u);
    EXPECT_EQ(player.StreamOffset(), 0u);
    EXPECT_EQ(player.KbitRate(), 0);
    EXPECT_EQ(player.EndMs(), 0u);
    EXPECT_FALSE(player.RestDecoded());
    EXPECT_EQ(out.Log(), "open write reset close");

    // The next clip starts from nothing.
    out.ClearLog();
    OpenAndPrepare(player, SilentFrames(5));
    player.Start();
    EXPECT_EQ(player.FramesDecoded(), 5u);
  }
  // The destructor closes the device.
  EXPECT_EQ(out.Log(), "open write reset close");
}

// A Xing frame followed by frames of three bitrates: the reader gives the
// Xing frame the lengths of the lowest and highest bitrates, so only each
// frame's own length lands on the next one.
TEST(WavePlayer, VbrStreamAdvancesByEachFramesOwnLength) {
  const uint8_t xingHeader[4] = {0xFF, 0xF3, 0x84, 0xC4};  // 64 kbit/s: 192 bytes
  Bytes stream = SilentFrames(1, xingHeader, 192);
  // Mono MPEG-2: 4 header bytes and 9 of side information before "Xing".
  std::memcpy(stream.data() + 13, "Xing\0\0\0\x03", 8);
  const uint8_t rates[3][4] = {{0xFF, 0xF3, 0x64, 0xC4}, {0xFF, 0xF3, 0x44, 0xC4}, {0xFF, 0xF3, 0x94, 0xC4}};
  const uint32_t lengths[3] = {144, 96, 240};  // 48, 32 and 80 kbit/s
  const uint32_t audioFrames = 30;
  for (uint32_t i = 0; i < audioFrames; ++i) {
    const Bytes frame = SilentFrames(1, rates[i % 3], lengths[i % 3]);
    stream.insert(stream.end(), frame.begin(), frame.end());
  }
  const uint32_t total = static_cast<uint32_t>(stream.size());
  const uint8_t counts[8] = {0,
                             0,
                             0,
                             audioFrames,
                             static_cast<uint8_t>(total >> 24),
                             static_cast<uint8_t>(total >> 16),
                             static_cast<uint8_t>(total >> 8),
                             static_cast<uint8_t>(total)};
  std::memcpy(stream.data() + 21, counts, 8);

  CaptureOutput out;
  CWavePlayer player(&out);
  ASSERT_EQ(OpenAndPrepare(player, stream), 0u);
  // The block holds every frame, the Xing frame included, although the
  // first frame's 64 kbit/s would time the stream shorter.
  EXPECT_GE(player.FramesPerBlock(), audioFrames + 1);
  player.Start();
  EXPECT_EQ(player.FramesDecoded(), audioFrames + 1);
  EXPECT_EQ(player.StreamOffset(), player.StreamLength());
}

// MPEG-1 at 44.1 kHz: 417-byte frames with a padding byte now and then.
TEST(WavePlayer, PaddedFramesAreFollowedExactly) {
  const uint8_t plain[4] = {0xFF, 0xFB, 0x90, 0x44};
  const uint8_t padded[4] = {0xFF, 0xFB, 0x92, 0x44};
  Bytes stream;
  for (int i = 0; i < 25; ++i) {
    const Bytes frame = i % 3 == 1 ? SilentFrames(1, padded, 418) : SilentFrames(1, plain, 417);
    stream.insert(stream.end(), frame.begin(), frame.end());
  }
  CWavePlayer player;
  ASSERT_EQ(OpenAndPrepare(player, stream), 0u);
  player.Start();
  EXPECT_EQ(player.FramesDecoded(), 25u);
  EXPECT_EQ(player.StreamOffset(), player.StreamLength());
}

// A frame whose PCM would not fit its slot (stereo among mono frames, in
// the block's last slot) ends the block instead of writing past it.
TEST(WavePlayer, AFrameOfAnotherOutputSizeEndsTheBlock) {
  Bytes stream = SilentFrames(299);
  const uint8_t stereo[4] = {0xFF, 0xF3, 0x64, 0x04};
  const Bytes tail = SilentFrames(5, stereo);
  stream.insert(stream.end(), tail.begin(), tail.end());
  CWavePlayer player;
  ASSERT_EQ(OpenAndPrepare(player, stream), 0u);
  ASSERT_EQ(player.FramesPerBlock(), 300u);
  player.Start();
  EXPECT_EQ(player.FramesDecoded(), 299u);
}

}  // namespace
}  // namespace lexoria::sound

namespace lexoria::sound {
namespace {

// A Xing frame (mono MPEG-2, 48 kbit/s) claiming `claimed` frames, then
// `audio` silent frames.
Bytes XingStream(uint32_t claimed, uint32_t audio) {
  Bytes stream = SilentFrames(1 + audio);
  // 4 header bytes and 9 of side information before "Xing"; flag 1: frames.
  std::memcpy(stream.data() + 13, "Xing\0\0\0\x01", 8);
  for (int i = 0; i < 4; ++i) stream[21 + i] = static_cast<uint8_t>(claimed >> (24 - 8 * i));
  return stream;
}

// The header's frame count is the file's word: a count near 2^32 once
// overflowed the duration (undefined under UBSan); it is clamped to the
// frames the clip really holds, and an honest count is kept.
TEST(WavePlayerFaults, VbrFrameCountIsClampedToTheClip) {
  struct Case {
    uint32_t claimed;
    uint32_t durationMs;  // 24 ms frames
  };
  const Case cases[] = {{0xFFFFFFF0u, 11 * 24}, {0xFFFFFFFFu, 11 * 24}, {5, 6 * 24}, {10, 11 * 24}};
  for (const Case& c : cases) {
    CWavePlayer player;
    ASSERT_EQ(player.OpenFromMemory(XingStream(c.claimed, 10)), CWavePlayer::kSuccess) << c.claimed;
    EXPECT_EQ(player.StreamFrames(), 11u);
    EXPECT_EQ(player.DurationMs(), c.durationMs) << c.claimed;
    player.PrepareRange(0, 0);
    player.Start();
    EXPECT_LE(player.FramesPerBlock(), 12u) << c.claimed;
  }
}

// A second prepare starts again from the clip's first frame: it lands on
// the same frame and decodes the same block as the first.
TEST(WavePlayerFaults, EveryPrepareStartsFromTheFirstFrame) {
  CWavePlayer player;
  ASSERT_EQ(player.OpenFromMemory(SilentFrames(100)), CWavePlayer::kSuccess);
  player.PrepareRange(480, 2000);  // from frame 20
  const uint32_t offset = player.StreamOffset();
  EXPECT_EQ(offset, (20 + player.FramesPerBlock() / 4) * kMpeg2MonoFrameBytes);
  player.PrepareRange(480, 2000);
  EXPECT_EQ(player.StreamOffset(), offset);
  player.PrepareRange(0, 2000);
  EXPECT_EQ(player.StreamOffset(), player.FramesPerBlock() / 4 * kMpeg2MonoFrameBytes);
}

// A frame that fails to decode (here the last one, cut short) is silence
// of its length and counted, not what the slot held before.
TEST(WavePlayerFaults, AFailedFrameIsCountedSilence) {
  Bytes stream = SilentFrames(8);
  stream.resize(stream.size() - 40);
  CWavePlayer player;
  ASSERT_EQ(OpenAndPrepare(player, stream), CWavePlayer::kSuccess);
  player.Start();
  EXPECT_EQ(player.FramesDecoded(), 7u);
  EXPECT_EQ(player.FramesFailed(), 1u);
  ASSERT_GE(player.FramesPerBlock(), 8u);
  // Dirty the block, prepare again: the failed frame's slot is silent.
  std::memset(const_cast<uint8_t*>(player.Block()), 0x5A, player.BlockSize());
  player.Stop();
  player.PrepareRange(0, 400000);
  player.Start();
  EXPECT_EQ(player.FramesFailed(), 2u);
  const uint8_t* slot = player.Block() + 7 * size_t{kMpeg2MonoPcmBytes};
  EXPECT_TRUE(std::all_of(slot, slot + kMpeg2MonoPcmBytes, [](uint8_t b) { return b == 0; }));
}

// Two players, each with its own decoder, on clips of another layout (MPEG-2
// mono, MPEG-1 stereo with its last frame cut short): opened, prepared and
// started in turn or on two threads (also run under ThreadSanitizer by
// scripts/test), each decodes its clip as it does alone.
struct Played {
  uint32_t decoded = 0;
  uint32_t failed = 0;
  Bytes block;
  bool operator==(const Played&) const = default;
};

std::vector<Bytes> TwoClips() {
  const uint8_t stereo[4] = {0xFF, 0xFB, 0x90, 0x44};
  Bytes cut = SilentFrames(20, stereo, 417);
  cut.resize(cut.size() - 100);
  return {SilentFrames(40), cut};
}

Played Outcome(const CWavePlayer& player) {
  return {player.FramesDecoded(), player.FramesFailed(), Bytes(player.Block(), player.Block() + player.BlockSize())};
}

Played PlayAlone(const Bytes& clip) {
  CWavePlayer player;
  OpenAndPrepare(player, clip);
  player.Start();
  return Outcome(player);
}

TEST(WavePlayerFaults, TwoPlayersInTurnDecodeAsEachDoesAlone) {
  const std::vector<Bytes> clips = TwoClips();
  const Played aloneA = PlayAlone(clips[0]);
  const Played aloneB = PlayAlone(clips[1]);
  ASSERT_EQ(aloneB.failed, 1u);
  CWavePlayer a;
  CWavePlayer b;
  ASSERT_EQ(a.OpenFromMemory(Bytes(clips[0])), CWavePlayer::kSuccess);
  ASSERT_EQ(b.OpenFromMemory(Bytes(clips[1])), CWavePlayer::kSuccess);
  a.PrepareRange(0, 400000);
  b.PrepareRange(0, 400000);
  a.Start();
  b.Start();
  EXPECT_TRUE(Outcome(a) == aloneA);
  EXPECT_TRUE(Outcome(b) == aloneB);
}

TEST(WavePlayerFaults, TwoPlayersOnTwoThreadsDecodeAsEachDoesAlone) {
  const std::vector<Bytes> clips = TwoClips();
  std::vector<Played> alone;
  for (const Bytes& clip : clips) alone.push_back(PlayAlone(clip));
  std::vector<Played> threaded(clips.size());
  std::vector<std::thread> threads;
  for (size_t i = 0; i < clips.size(); ++i)
    threads.emplace_back([&, i] {
      for (int round = 0; round < 5; ++round) threaded[i] = PlayAlone(clips[i]);
    });
  for (std::thread& t : threads) t.join();
  for (size_t i = 0; i < clips.size(); ++i) EXPECT_TRUE(threaded[i] == alone[i]) << "clip " << i;
}

}  // namespace
}  // namespace lexoria::sound
