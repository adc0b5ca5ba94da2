// SPDX-License-Identifier: GPL-3.0-or-later
// What a clip body holds: the wrapper around its MPEG audio stream (bare,
// one of the RIFF layouts, a trailing 128-byte tag) and the format the
// stream's first frame header gives. Used by the player at open and by the
// tools that list and check an archive.
#pragma once

#include <cstdint>

#include "mpeg/streamreader.h"

namespace lexoria::sound {

enum class ClipWrapper {
  Bare,        // stream from byte 0
  WaveFact70,  // RIFF WAVE, 30-byte format chunk, fact chunk: stream at 70
  WaveFact72,  // RIFF WAVE, 32-byte format chunk, fact chunk: stream at 72
  WaveData58,  // RIFF WAVE, 30-byte format chunk, no fact chunk: stream at 58
  Rmp3,        // RIFF RMP3 with its data chunk: stream at 16
};

const char* WrapperName(ClipWrapper wrapper);

struct ClipLayout {
  ClipWrapper wrapper = ClipWrapper::Bare;
  uint32_t streamStart = 0;   // offset of the stream in the clip
  uint32_t streamLength = 0;  // to the clip's end, less a trailing tag
  bool trailingTag = false;   // the last 128 bytes begin with "TAG"
};

// Finds the stream in a clip of `size` bytes. False for a RIFF clip of no
// known layout, or when nothing is left for a stream.
bool FindClipStream(const uint8_t* clip, uint32_t size, ClipLayout& layout);

// The output format and timing taken from a stream's first frame header.
struct StreamFormat {
  mpeg::FrameHeader header;
  uint16_t lowSamplingFrequency = 0;  // 1 when the ID bit is 0
  uint16_t kbitRate = 0;
  uint16_t sampleRate = 0;  // Hz
  uint16_t channels = 0;    // 1 for single channel mode, else 2
  // kbitRate x 144000 / sampleRate: a layer III MPEG-1 frame's length.
  uint16_t nominalFrameLength = 0;
  float frameTimeMs = 0;  // playing time of one frame
};

// Reads the header in the first four of `available` bytes. False when they
// are not a valid frame header (no sync, a leading tag, bitrate index 0 or
// 15, sampling index 3, layer code 0): such a stream has no rate to time by.
bool ReadFirstHeader(const uint8_t* stream, uint32_t available, StreamFormat& format);

// The frames of a stream, each advanced by its own length.
struct StreamWalk {
  uint32_t frames = 0;      // whole frames from the start
  uint32_t frameBytes = 0;  // bytes those frames take
  bool vbrHeader = false;   // the first frame carries a Xing or VBRI header
  uint32_t pcmBytesPerFrame = 0;
};

StreamWalk WalkStream(const uint8_t* stream, uint32_t length);

}  // namespace lexoria::sound
