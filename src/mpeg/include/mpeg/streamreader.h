// SPDX-License-Identifier: GPL-3.0-or-later
// MPEG audio stream reader: frame headers, frame sync, the Xing and VBRI
// headers of the first frame, frame lengths and the PCM output format.
// It works on memory only and keeps no state: every call returns its
// result. The stream information of a first frame depends on a decoder's
// options and is read by ReadStreamInfo (mpegdecoder.h).
#pragma once

#include <cstdint>

#include "mpeg/result.h"

namespace lexoria::mpeg {

// The twelve header fields, in bitstream order; FrameInfo and FrameRequest
// both begin with them.
struct FrameHeader {
  uint32_t version = 0;  // 1 MPEG-1, 2 MPEG-2, 3 MPEG-2.5
  uint32_t layer = 0;    // 1, 2 or 3
  uint32_t crc = 0;      // 1 when a 16-bit CRC follows the header
  uint32_t bitrateIndex = 0;
  uint32_t samplingIndex = 0;
  uint32_t padding = 0;
  uint32_t privateBit = 0;
  uint32_t mode = 0;  // 0 stereo, 1 joint stereo, 2 dual channel, 3 single channel
  uint32_t modeExtension = 0;
  uint32_t copyright = 0;
  uint32_t original = 0;
  uint32_t emphasis = 0;
};

// One frame and the stream it starts.
struct FrameInfo : FrameHeader {
  uint32_t outputChannels = 0;  // 1 or 2
  uint32_t outputBits = 0;      // 8 or 16
  uint32_t sampleRate = 0;      // output rate, after the reduction shift
  uint32_t bitrate = 0;         // bits per second; 0 with a VBR header
  uint32_t totalFrames = 0;     // from a Xing or VBRI header
  uint32_t vbrFrameLength = 0;  // length of the frame carrying the VBR header
  uint32_t totalBytes = 0;      // from a Xing or VBRI header
  uint32_t minFrameLength = 0;
  uint32_t maxFrameLength = 0;
  uint32_t pcmBytesPerFrame = 0;
};

// Parses four header bytes; all twelve fields are stored before any test.
// kOk, kNoSync or kBadHeader.
Result ReadFrameHeader(const uint8_t* header, FrameHeader& info);
// Offset of the first frame sync in the buffer: kOk, or kTooLittleData
// (offset 0) when there is none.
Result FindFrameSync(const uint8_t* buffer, int32_t length, uint32_t& offset);
uint32_t ReadBigEndian32(const uint8_t* bytes);

// Frame length in bytes of a header at a given stream sample rate (the
// arithmetic Decoder::Decode uses); 0 for an invalid header.
uint32_t FrameLength(const FrameHeader& header, uint32_t sampleRate);
// The one frame-length arithmetic behind FrameLength and the stream
// information: bytes of a frame of a layer and version at a bitrate (bit/s)
// and sample rate, with or without its padding slot; 0 at rate 0.
uint32_t FrameBytes(uint32_t layer, uint32_t version, uint32_t bitrate, uint32_t sampleRate, uint32_t padding);
// Standard bitrate (bit/s) and sampling rate (Hz) of a header's indexes.
uint32_t HeaderBitrate(const FrameHeader& header);
uint32_t HeaderSampleRate(const FrameHeader& header);

}  // namespace lexoria::mpeg
