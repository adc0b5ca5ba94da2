// SPDX-License-Identifier: GPL-3.0-or-later
#include "mpeg/streamreader.h"

#include "headertables.h"
#include "mpeg/mpegdecoder.h"

namespace lexoria::mpeg {

namespace {

bool ValidIndexes(const FrameHeader& h) {
  return h.version >= 1 && h.version <= 3 && h.layer >= 1 && h.layer <= 3 && h.bitrateIndex >= 1 &&
         h.bitrateIndex <= 14 && h.samplingIndex <= 2;
}

uint32_t TableBitrate(const FrameHeader& h, uint32_t index) {
  return kBitrateTable[h.version == 1 ? 0 : 1][h.layer - 1][index] * 1000u;
}

}  // namespace

uint32_t ReadBigEndian32(const uint8_t* b) {
  return (uint32_t{b[0]} << 24) | (uint32_t{b[1]} << 16) | (uint32_t{b[2]} << 8) | b[3];
}

Result ReadFrameHeader(const uint8_t* b, FrameHeader& info) {
  info.version = (b[1] >> 3) & 1;
  info.layer = (b[1] >> 1) & 3;
  info.crc = b[1] & 1;
  info.bitrateIndex = b[2] >> 4;
  info.samplingIndex = (b[2] >> 2) & 3;
  info.padding = (b[2] >> 1) & 1;
  info.privateBit = b[2] & 1;
  info.mode = b[3] >> 6;
  info.modeExtension = (b[3] >> 4) & 3;
  info.copyright = (b[3] >> 3) & 1;
  info.original = (b[3] >> 2) & 1;
  info.emphasis = b[3] & 3;
  if (b[0] != 0xFF) return Result::kNoSync;
  if ((b[1] >> 4) == 0xF) {
    info.version = info.version ? 1 : 2;
  } else if ((b[1] >> 4) == 0xE) {
    info.version = 3;
  } else {
    return Result::kNoSync;
  }
  if (info.samplingIndex == 3 || info.bitrateIndex == 0 || info.bitrateIndex == 15 || info.layer == 0)
    return Result::kBadHeader;
  info.layer = 4 - info.layer;
  info.crc = info.crc ? 0 : 1;
  return Result::kOk;
}

Result FindFrameSync(const uint8_t* buffer, int32_t length, uint32_t& offset) {
  offset = 0;
  for (int32_t i = 0; i < length - 3; ++i) {
    if (buffer[i] == 0xFF && ((buffer[i + 1] >> 4) == 0xF || (buffer[i + 1] >> 4) == 0xE)) {
      offset = static_cast<uint32_t>(i);
      return Result::kOk;
    }
  }
  return Result::kTooLittleData;
}

uint32_t HeaderBitrate(const FrameHeader& h) { return ValidIndexes(h) ? TableBitrate(h, h.bitrateIndex) : 0; }

uint32_t HeaderSampleRate(const FrameHeader& h) {
  return (h.version >= 1 && h.version <= 3 && h.samplingIndex <= 3) ? kSampleRateTable[h.version - 1][h.samplingIndex]
                                                                    : 0;
}

uint32_t FrameBytes(uint32_t layer, uint32_t version, uint32_t bitrate, uint32_t rate, uint32_t padding) {
  if (rate == 0) return 0;
  if (layer == 1) return (12 * bitrate / rate + padding) * 4;
  if (layer == 2 || version == 1) return 144 * bitrate / rate + padding;
  return 144 * bitrate / rate / 2 + padding;
}

uint32_t FrameLength(const FrameHeader& h, uint32_t rate) {
  if (!ValidIndexes(h)) return 0;
  return FrameBytes(h.layer, h.version, TableBitrate(h, h.bitrateIndex), rate, h.padding);
}

Result ReadStreamInfo(const uint8_t* p, int32_t available, FrameInfo& info, const DecoderOptions& options) {
  if (available < 156) return Result::kTooLittleData;
  const Result header = ReadFrameHeader(p, info);
  if (header != Result::kOk) return header;

  const uint8_t* q = p + 4 + (info.crc ? 2 : 0);
  if (info.layer == 3) {
    const bool mono = info.mode == 3;
    if (info.version == 1)
      q += mono ? 17 : 32;
    else
      q += mono ? 9 : 17;
  }
  const uint32_t br = TableBitrate(info, info.bitrateIndex);
  const uint32_t sr = kSampleRateTable[info.version - 1][info.samplingIndex];
  info.bitrate = br;
  info.sampleRate = sr;

  bool vbr = false;
  if (q[0] == 'X' && q[1] == 'i' && q[2] == 'n' && q[3] == 'g') {
    const uint32_t flags = ReadBigEndian32(q + 4);
    if ((flags & 3) == 0) return Result::kBadHeader;
    info.totalFrames = ReadBigEndian32(q + 8);
    info.totalBytes = ReadBigEndian32(q + 12);
    vbr = true;
  } else if (q[0] == 'V' && q[1] == 'B' && q[2] == 'R' && q[3] == 'I') {
    info.totalBytes = ReadBigEndian32(q + 10);
    info.totalFrames = ReadBigEndian32(q + 14);
    vbr = true;
  } else {
    info.totalFrames = 0;
    info.totalBytes = 0;
  }

  uint32_t lowest = 0;
  uint32_t highest = 0;
  if (vbr) {
    for (uint32_t i = 1; i <= 14; ++i) {
      const uint32_t rate = TableBitrate(info, i);
      if (lowest == 0 || rate < lowest) lowest = rate;
      if (rate > highest) highest = rate;
    }
  }

  const uint32_t reduction = options.reduction;
  // The VBR frame's own length, and the shortest and longest frames the
  // stream's bitrates allow (the longest padded).
  const uint32_t layer = info.layer;
  const uint32_t version = info.version;
  if (vbr) {
    info.vbrFrameLength = FrameBytes(layer, version, br, sr, info.padding);
    info.minFrameLength = FrameBytes(layer, version, lowest, sr, 0);
    info.maxFrameLength = FrameBytes(layer, version, highest, sr, 1);
  } else {
    info.vbrFrameLength = 0;
    info.minFrameLength = FrameBytes(layer, version, br, sr, 0);
    info.maxFrameLength = FrameBytes(layer, version, br, sr, 1);
  }
  const uint32_t perFrame = layer == 1 ? 384u : (layer == 3 && version != 1) ? 576u : 1152u;
  const uint32_t samples = perFrame >> reduction;

  const uint32_t conversion = options.conversion;
  info.outputChannels = (info.mode == 3 || (conversion & kConversionChannelMask)) ? 1 : 2;
  if (conversion & kConversion8Bit) {
    info.outputBits = 8;
    info.pcmBytesPerFrame = samples * info.outputChannels;
  } else {
    info.outputBits = 16;
    info.pcmBytesPerFrame = samples * info.outputChannels * 2;
  }
  info.sampleRate = sr >> reduction;
  if (vbr) info.bitrate = 0;
  return Result::kOk;
}

}  // namespace lexoria::mpeg
