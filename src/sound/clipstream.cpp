// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/clipstream.h"

#include <algorithm>
#include <cstring>

#include "mpeg/mpegdecoder.h"

namespace lexoria::sound {

namespace {

constexpr uint32_t kTagSize = 128;

bool BytesAre(const uint8_t* clip, uint32_t size, uint32_t at, const char* text) {
  const size_t n = std::strlen(text);
  return at + n <= size && std::memcmp(clip + at, text, n) == 0;
}

// Playing time of one layer III frame by sampling index: 1152 samples at
// 44.1, 48 and 32 kHz, which equals 576 at the halved MPEG-2 rates.
constexpr float kLayer3FrameTimeMs[3] = {26.122449f, 24.0f, 36.0f};

}  // namespace

const char* WrapperName(ClipWrapper wrapper) {
  switch (wrapper) {
    case ClipWrapper::Bare: return "bare";
    case ClipWrapper::WaveFact70: return "RIFF/WAVE fact@50";
    case ClipWrapper::WaveFact72: return "RIFF/WAVE fact@52";
    case ClipWrapper::WaveData58: return "RIFF/WAVE data@50";
    case ClipWrapper::Rmp3: return "RIFF/RMP3";
  }
  return "?";
}

bool FindClipStream(const uint8_t* clip, uint32_t size, ClipLayout& layout) {
  layout = ClipLayout{};
  if (BytesAre(clip, size, 0, "RIFF")) {
    bool known = false;
    if (BytesAre(clip, size, 8, "WAVEfmt")) {
      // Later matches override earlier ones.
      if (BytesAre(clip, size, 50, "fact")) {
        layout.wrapper = ClipWrapper::WaveFact70;
        layout.streamStart = 70;
        known = true;
      }
      if (BytesAre(clip, size, 52, "fact")) {
        layout.wrapper = ClipWrapper::WaveFact72;
        layout.streamStart = 72;
        known = true;
      }
      if (BytesAre(clip, size, 50, "data")) {
        layout.wrapper = ClipWrapper::WaveData58;
        layout.streamStart = 58;
        known = true;
      }
    }
    if (BytesAre(clip, size, 8, "RMP3") && BytesAre(clip, size, 12, "data")) {
      layout.wrapper = ClipWrapper::Rmp3;
      layout.streamStart = 16;
      known = true;
    }
    // A RIFF clip of any other layout has no stream start we could trust.
    if (!known) return false;
  }
  if (layout.streamStart >= size) return false;
  layout.streamLength = size - layout.streamStart;
  if (layout.streamLength >= kTagSize && BytesAre(clip, size, size - kTagSize, "TAG")) {
    layout.streamLength -= kTagSize;
    layout.trailingTag = true;
  }
  return layout.streamLength > 0;
}

bool ReadFirstHeader(const uint8_t* stream, uint32_t available, StreamFormat& format) {
  format = StreamFormat{};
  if (available < 4) return false;
  if (mpeg::ReadFrameHeader(stream, format.header) != mpeg::Result::kOk) return false;
  const mpeg::FrameHeader& h = format.header;
  format.lowSamplingFrequency = (stream[1] & 0x08) == 0 ? 1 : 0;
  format.kbitRate = static_cast<uint16_t>(mpeg::HeaderBitrate(h) / 1000);
  format.sampleRate = static_cast<uint16_t>(mpeg::HeaderSampleRate(h));
  format.channels = h.mode == 3 ? 1 : 2;
  if (format.kbitRate == 0 || format.sampleRate == 0) return false;
  // Whatever the stream, the nominal length is that of an unpadded MPEG-1
  // layer III frame at the first frame's rates.
  format.nominalFrameLength =
      static_cast<uint16_t>(mpeg::FrameBytes(3, 1, uint32_t{format.kbitRate} * 1000u, format.sampleRate, 0));
  if (h.layer == 3 && h.version != 3) {
    format.frameTimeMs = kLayer3FrameTimeMs[h.samplingIndex];
  } else {
    // Not what our recordings use; timed by their own frame size.
    const uint32_t samples = h.layer == 1 ? 384 : (h.layer == 2 || h.version == 1) ? 1152 : 576;
    format.frameTimeMs = static_cast<float>(samples * 1000.0 / format.sampleRate);
  }
  return true;
}

StreamWalk WalkStream(const uint8_t* stream, uint32_t length) {
  StreamWalk walk;
  uint32_t offset = 0;
  while (length - offset >= 4) {
    mpeg::FrameHeader h;
    if (mpeg::ReadFrameHeader(stream + offset, h) != mpeg::Result::kOk) break;
    const uint32_t frameLength = mpeg::FrameLength(h, mpeg::HeaderSampleRate(h));
    if (frameLength == 0 || frameLength > length - offset) break;
    if (walk.frames == 0) {
      // The reader wants room for the largest side information and a VBR
      // header; give it a zero-padded copy of the first frame.
      uint8_t first[192] = {};
      std::memcpy(first, stream, std::min<uint32_t>(frameLength, sizeof first));
      mpeg::FrameInfo info;
      if (mpeg::ReadStreamInfo(first, sizeof first, info) == mpeg::Result::kOk) {
        walk.vbrHeader = info.vbrFrameLength != 0;
        walk.pcmBytesPerFrame = info.pcmBytesPerFrame;
      }
    }
    ++walk.frames;
    offset += frameLength;
  }
  walk.frameBytes = offset;
  return walk;
}

}  // namespace lexoria::sound
