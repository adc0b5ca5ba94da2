// MPEG audio decoder (layers I, II and III of MPEG-1, MPEG-2 and MPEG-2.5).
//
// Data flow: the caller holds a whole stream in memory. DecoderInit builds
// the constant tables once and resets the options; DecoderStart reads the
// first frame (ReadStreamInfo, see streamreader.h), fixes the stream's
// sample rate, output size, layer routine and synthesis variant, and clears
// the carried state. Each DecodeFrame parses the frame header, works out
// the frame length and runs the layer routine: the layer turns the frame's
// bits (through the bit reader, and for layer III the bit reservoir) into
// subband samples, and the synthesis variant chosen at start turns those
// into interleaved PCM in the caller's output buffer. The decoder keeps one
// process-wide state, so one stream is decoded at a time; it never
// allocates memory while decoding.
#pragma once

#include <cstdint>

#include "streamreader.h"

namespace lexoria::mpeg {

// Last error codes (DecoderLastError).
inline constexpr uint32_t kErrorNoSync = 3;
inline constexpr uint32_t kErrorBadHeader = 4;
inline constexpr uint32_t kErrorTooLittleData = 5;

// conversion bits.
inline constexpr uint32_t kConversionChannelMask = 3;  // 1 mix, 2 left only, 3 right only
inline constexpr uint32_t kConversion8Bit = 8;
// Round-to-nearest PCM and every subband the rate allows (32 at full rate).
inline constexpr uint32_t kConversionPrecise = 16;

struct DecoderOptions {
  uint32_t reduction = 0;           // 0 full, 1 half, 2 quarter rate
  uint32_t conversion = 0;          // see the kConversion bits
  uint32_t frequencyLimit = 24000;  // highest frequency decoded, Hz
};

// One decode request. The caller fills input, inputLength and output;
// DecodeFrame fills the header fields and bitrate, and on success sets
// inputLength to the frame length and outputLength to the PCM bytes written.
struct FrameRequest : FrameHeader {
  uint32_t bitrate = 0;
  const uint8_t* input = nullptr;
  uint32_t inputLength = 0;
  uint8_t* output = nullptr;
  uint32_t outputLength = 0;
};

// Sets the default options and builds the constant tables (once per process).
void DecoderInit();
// Starts a stream at its first frame; 1 on success, 0 when the first frame's
// stream information cannot be read (DecoderLastError says why).
int DecoderStart(const uint8_t* frame, uint32_t length);
// Decodes one frame; 1 when decoded, 0 otherwise (no output written).
// The output must hold the stream's PCM bytes per frame.
int DecodeFrame(FrameRequest& request);
// Options take effect at the next DecoderStart.
int DecoderSetOptions(const DecoderOptions& options);
void DecoderGetOptions(DecoderOptions& options);
// Ten band values in tenths of a decibel, or nullptr to switch it off.
int DecoderSetEqualizer(const int32_t* bands);
uint32_t DecoderLastError();

}  // namespace lexoria::mpeg
