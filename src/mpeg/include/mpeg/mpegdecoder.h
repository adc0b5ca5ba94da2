// SPDX-License-Identifier: GPL-3.0-or-later
// MPEG audio decoder (layers I, II and III of MPEG-1, MPEG-2 and MPEG-2.5).
//
// Data flow: the caller holds a whole stream in memory and owns a Decoder.
// Start reads the first frame (ReadStreamInfo), fixes the stream's sample
// rate, output size, layer routine and synthesis variant, and clears the
// carried state. Each Decode parses the frame header, works out the frame
// length and runs the layer routine: the layer turns the frame's bits
// (through the bit reader, and for layer III the bit reservoir) into
// subband samples, and the synthesis variant chosen at start turns those
// into interleaved PCM in the caller's output buffer.
//
// A Decoder object holds everything one stream needs; two objects decode two
// streams independently, on different threads if wished. The constant tables
// are built once per process and shared; nothing else is. Nothing is
// allocated while decoding.
#pragma once

#include <cstdint>
#include <memory>

#include "mpeg/result.h"
#include "mpeg/streamreader.h"

namespace lexoria::mpeg {

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
// Decode fills the header fields and bitrate, and on success sets
// inputLength to the frame length and outputLength to the PCM bytes written.
struct FrameRequest : FrameHeader {
  uint32_t bitrate = 0;
  const uint8_t* input = nullptr;
  uint32_t inputLength = 0;
  uint8_t* output = nullptr;
  uint32_t outputLength = 0;
};

// The stream information of the frame at `frame` (at least 156 bytes
// available: a header, the largest side information and a whole Xing
// header) for a set of options: kOk, kTooLittleData, kNoSync or kBadHeader.
Result ReadStreamInfo(const uint8_t* frame, int32_t available, FrameInfo& info, const DecoderOptions& options = {});

// Instruction sets of the synthesis and hybrid filter kernels. All give the
// same samples; the fastest the processor has is chosen at construction.
enum class Simd { kScalar, kSse2, kAvx2 };
// The fastest set built in and supported by this processor.
Simd BestSimd();
bool SimdAvailable(Simd simd);

struct DecoderState;

class Decoder {
 public:
  // Default options; the constant tables are built by the first decoder.
  Decoder();
  ~Decoder();
  Decoder(Decoder&&) noexcept;
  Decoder& operator=(Decoder&&) noexcept;
  Decoder(const Decoder&) = delete;
  Decoder& operator=(const Decoder&) = delete;

  // Back to the default options, no stream started.
  void Reset();
  // Starts a stream at its first frame (ReadStreamInfo with this decoder's
  // options, recorded); kOk, or why it cannot be read or decoded.
  Result Start(const uint8_t* frame, uint32_t length);
  // Decodes one frame of the started stream; see FrameRequest. The output
  // must hold the stream's PCM bytes per frame; only kOk writes it.
  Result Decode(FrameRequest& request);
  // ReadStreamInfo for this decoder's options; with record 1 it also fixes
  // the rate and output size Decode measures by.
  Result ReadStreamInfo(const uint8_t* frame, int32_t available, FrameInfo& info, int32_t record);
  // Options take effect at the next Start; false for an unknown reduction.
  bool SetOptions(const DecoderOptions& options);
  DecoderOptions Options() const;
  // Ten band values in tenths of a decibel, or nullptr to switch it off.
  void SetEqualizer(const int32_t* bands);
  // The error code (ErrorCode) of this decoder's last failure; never cleared.
  uint32_t LastError() const;
  // Takes effect at the next Start; false when the set is not available.
  bool SetSimd(Simd simd);
  Simd ActiveSimd() const;

  // The whole state, for the decoder's own tests; its layout is internal.
  DecoderState& State() { return *state_; }

 private:
  std::unique_ptr<DecoderState> state_;
};

}  // namespace lexoria::mpeg
