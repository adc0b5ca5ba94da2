// SPDX-License-Identifier: GPL-3.0-or-later
// State of the layer III decoder shared by its bitstream and reconstruction
// stages.
#pragma once

#include <cstdint>

#include "layer3tables.h"

namespace lexoria::mpeg {

struct GranuleChannel {
  uint32_t part2_3_length;
  uint32_t big_values;
  int32_t global_gain;  // lowered by 2 with mid/side
  uint32_t scalefac_compress;
  uint32_t window_switching_flag;
  uint32_t block_type;
  uint32_t mixed_block_flag;
  uint32_t table_select[3];
  uint32_t subblock_gain[3];
  uint32_t region0_count;
  uint32_t region1_count;
  uint32_t preflag;
  uint32_t scalefac_scale;
  uint32_t count1table_select;
};

// Per granule and channel: where stereo processing may start.
struct StereoBookkeeping {
  bool hasShortPart;
  int lastNonzeroBand;
  int firstShortBand;
  int longBandCount;
  int lastNonzeroShortBand[3];
};

struct Layer3State;
// The hybrid filter of one channel's lines into `out` (18 x 32, slot-major),
// with its overlap; returns the lines filled (18 x subbands).
using HybridFilterRoutine = int (*)(const Layer3State& s, const float* xr, float* overlap, float* out,
                                    uint32_t blockType, bool mixed, int longEnd, int nonzero, int previous);

// Requantises `count` lines of one long band: xr = sign(q) |q|^(4/3) x
// factor; true when any line is nonzero.
using RequantiseRoutine = bool (*)(const int32_t* q, float* xr, int count, float factor);

inline constexpr int kReservoirSize = 8192;
// Fill above which the reservoir is compacted to the bytes the frame still
// needs (main_data_begin, at most 511) before the next frame is appended.
// 8192 - 6692 = 1500 bytes of room stays free, more than the main data of the
// largest layer III frame: 144 x 320000 / 32000 + 1 = 1441 bytes (MPEG-1,
// 320 kbit/s at 32 kHz, padded; MPEG-2.5 at 160 kbit/s and 8 kHz gives the
// same), less its 4-byte header and 17 bytes of side information.
inline constexpr int kReservoirCompactAbove = kReservoirSize - 1500;

struct Layer3State {
  // Bit reservoir, zero padded so the bit reader's look-ahead stays inside.
  uint8_t reservoir[kReservoirSize + 64];
  int fill;
  int mainStart;

  bool msStereo;
  bool intensityStereo;
  int parity;

  uint32_t main_data_begin;
  uint32_t scfsi[2];
  GranuleChannel side[2][2];   // [granule slot][channel]
  uint8_t scalefac[2][2][62];  // long bands at 0..21, short at 23 + 13 w + b
  // MPEG-2 intensity: scale-factor length of each long band and short band
  // of the right channel, and its intensity_scale.
  uint8_t isLongSlen[22];
  uint8_t isShortSlen[13];
  uint32_t intensityScale;

  int nonzero[2][2];  // [slot][channel]
  int previousFilled[2];
  StereoBookkeeping stereo[2];

  // Stream set-up.
  uint32_t version;
  uint32_t samplingIndex;
  int channels;
  const uint16_t* longBounds;
  const uint16_t* shortBounds;
  int longLineLimit;
  int shortLineLimit;
  int maxLines;
  int mixedLongBands;
  int outputRoute;  // 0 one (channel 0), 1 both, 2 mix, 3 second only
  HybridFilterRoutine hybridFilter;
  RequantiseRoutine requantiseBand;
  uint32_t granuleBytes;  // PCM bytes one granule writes

  alignas(32) int32_t quantised[2][576];
  alignas(32) float lines[2][576];
  alignas(32) float overlap[2][576];
  alignas(32) float hybrid[2 * 576];  // per channel 18 slots x 32 subbands
  alignas(32) float scratch[576];
};

struct DecoderState;

// Reconstruction of one granule (requantise, stereo, antialias, output).
void ReconstructGranule(DecoderState& d, int slot, uint8_t* output);
void ResetReconstruction(Layer3State& s);
void BuildReconstructionTables();

}  // namespace lexoria::mpeg
