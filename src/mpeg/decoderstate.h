// SPDX-License-Identifier: GPL-3.0-or-later
// Decoder state shared by the decoder front, the layers and the synthesis:
// everything one stream needs, owned by its mpeg::Decoder, so streams on
// different threads share nothing but the constant tables.
//
// For a layer routine: LayerStart(state, header) runs at Start. It computes
// its subband limit from LayerSubbandLimit(), picks its synthesis variant
// with SelectSynthesis12 / SelectSynthesis3 and stores it in the state's
// synthesis slot, and clears the part of sampleBuffer it uses.
// LayerDecode(state, header, frame, output) runs per frame: the frame
// occupies state.frameLength bytes from `frame`; start state.bits at
// frame + 4 (+2 with a CRC) with limit frame + state.frameLength (bytes past
// the limit read as zero), fill sampleBuffer and call the synthesis slot,
// which writes exactly state.outputBytesPerFrame bytes of PCM at `output`.
// It returns false when the frame has no output yet (layer III main data
// that begins before the reservoir does); the output is then untouched.
#pragma once

#include <cstdint>

#include "bitreader.h"
#include "layer12state.h"
#include "layer3state.h"
#include "mpeg/mpegdecoder.h"

namespace lexoria::mpeg {

// Layer I/II synthesis: `slots` runs of 64 values (32 subbands, interleaved
// left/right at even/odd positions in two-channel streams).
using SynthesisVariant12 = void (*)(DecoderState& state, float* slots, uint8_t* output, int slotCount);
// Layer III synthesis: 18 slots of 32 subband samples of one channel, or
// for the two-channel variants both channels (channel 1 576 values on),
// written interleaved; `channel` is not used by the two-channel form.
using SynthesisVariant3 = void (*)(DecoderState& state, float* hybrid, uint8_t* output, int channel);
using LayerDecodeRoutine = bool (*)(DecoderState& state, const FrameHeader& header, const uint8_t* frame,
                                    uint8_t* output);

inline constexpr int kSampleBufferSize = 2304;
inline constexpr int kRingSize = 512;

struct DecoderState {
  DecoderOptions options;
  Simd simd = Simd::kScalar;
  uint32_t lastError = 0;
  uint32_t streamSampleRate = 0;
  uint32_t frameLength = 0;  // current frame, set by Decode
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

  Layer12State layer12;
  Layer3State layer3 = {};
};

inline bool PreciseOutput(const DecoderState& s) { return (s.options.conversion & kConversionPrecise) != 0; }

// Subbands the frequency limit and the output rate allow: at most 31, 15 or
// 8 (32, 16, 8 with kConversionPrecise, and 32 at full rate for streams
// below 32 kHz). Layers cap and double it further.
int LayerSubbandLimit(const DecoderState& s);

// Layer I/II variant for a channel entry: 0 single-channel stream, 1 both
// channels, 2 mix to one, 3 first channel only, 4 second channel only.
SynthesisVariant12 SelectSynthesis12(bool eightBit, uint32_t reduction, int channelEntry, bool precise,
                                     Simd simd = BestSimd());
// Layer III variant: one-channel form, or one channel of two per call.
SynthesisVariant3 SelectSynthesis3(bool eightBit, uint32_t reduction, bool oneChannel, bool precise,
                                   Simd simd = BestSimd());
// Convenience: the variant for the state's options.
SynthesisVariant12 CurrentSynthesis12(const DecoderState& s, int channelEntry);
SynthesisVariant3 CurrentSynthesis3(const DecoderState& s, bool oneChannel);

// One windowed sum as PCM the way every variant stores it (clamped, then
// truncated, or rounded with `precise`): one byte, or two little-endian.
void ConvertSample(float sum, bool eightBit, bool precise, uint8_t* out);

// Clears both synthesis rings and positions.
void ResetSynthesis(DecoderState& s);
// Builds the DCT and window tables; called once, through BuildDecoderTables.
void BuildSynthesisTables();
// Builds every constant table exactly once per process, from any thread.
void BuildDecoderTables();

}  // namespace lexoria::mpeg
