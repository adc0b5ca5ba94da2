// Decoder state shared by the decoder front, the layers and the synthesis.
//
// For a layer routine: LayerStart(header) runs at DecoderStart. It computes
// its subband limit from LayerSubbandLimit(), picks its synthesis variant
// with SelectSynthesis12 / SelectSynthesis3 and stores it in the state's
// synthesis slot, and clears the part of sampleBuffer it uses.
// LayerDecode(header, frame, output) runs per frame: the frame occupies
// state.frameLength bytes from `frame`; start state.bits at frame + 4 (+2 with
// a CRC) with limit frame + state.frameLength (bytes past the limit read as
// zero), fill sampleBuffer and call the synthesis slot, which writes exactly
// state.outputBytesPerFrame bytes of PCM at `output`.
#pragma once

#include <cstdint>

#include "bitreader.h"
#include "mpegdecoder.h"

namespace lexoria::mpeg {

// Layer I/II synthesis: `slots` runs of 64 values (32 subbands, interleaved
// left/right at even/odd positions in two-channel streams).
using SynthesisVariant12 = void (*)(float* slots, uint8_t* output, int slotCount);
// Layer III synthesis: 18 slots of 32 subband samples of one channel; the
// two-channel variants write every second sample, channel 1 one sample on.
using SynthesisVariant3 = void (*)(float* hybrid, uint8_t* output, int channel);
using LayerDecodeRoutine = void (*)(const FrameHeader& header, const uint8_t* frame, uint8_t* output);
using LayerStartRoutine = int (*)(const FrameHeader& header);

inline constexpr int kSampleBufferSize = 2304;
inline constexpr int kRingSize = 512;

struct DecoderState {
  DecoderOptions options;
  uint32_t lastError = 0;
  uint32_t streamSampleRate = 0;
  uint32_t frameLength = 0;  // current frame, set by DecodeFrame
  uint32_t outputBytesPerFrame = 0;
  LayerDecodeRoutine layerDecode = nullptr;
  SynthesisVariant12 synthesis12 = nullptr;
  SynthesisVariant3 synthesis3 = nullptr;
  // Subbands decoded; layers I and II keep it doubled for two channels.
  int subbandLimit = 0;

  bool equalizerOn = false;
  float equalizer[32] = {};

  BitReader bits;
  alignas(32) float sampleBuffer[kSampleBufferSize] = {};

  // Synthesis rings and positions; layers I/II use position 0 for both.
  // Each ring is stored twice over (values at i and i + used length), so the
  // window reads any 64 values from a position without wrapping.
  alignas(32) float ring[2][2 * kRingSize] = {};
  uint32_t ringPosition[2] = {};
};

// The one process-wide decoder.
DecoderState& Decoder();

inline void SetLastError(uint32_t code) { Decoder().lastError = code; }
inline bool PreciseOutput() { return (Decoder().options.conversion & kConversionPrecise) != 0; }

// Subbands the frequency limit and the output rate allow: at most 31, 15 or
// 8 (32, 16, 8 with kConversionPrecise, and 32 at full rate for streams
// below 32 kHz). Layers cap and double it further.
int LayerSubbandLimit();

// Layer I/II variant for a channel entry: 0 single-channel stream, 1 both
// channels, 2 mix to one, 3 first channel only, 4 second channel only.
SynthesisVariant12 SelectSynthesis12(bool eightBit, uint32_t reduction, int channelEntry, bool precise);
// Layer III variant: one-channel form, or one channel of two per call.
SynthesisVariant3 SelectSynthesis3(bool eightBit, uint32_t reduction, bool oneChannel, bool precise);
// Convenience: the variant for the current options.
SynthesisVariant12 CurrentSynthesis12(int channelEntry);
SynthesisVariant3 CurrentSynthesis3(bool oneChannel);

// One windowed sum as PCM the way every variant stores it (clamped, then
// truncated, or rounded with `precise`): one byte, or two little-endian.
void ConvertSample(float sum, bool eightBit, bool precise, uint8_t* out);

// Clears both synthesis rings and positions.
void ResetSynthesis();
// Builds the DCT and window tables (once).
void BuildSynthesisTables();

}  // namespace lexoria::mpeg
