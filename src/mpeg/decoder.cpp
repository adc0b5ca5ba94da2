// SPDX-License-Identifier: GPL-3.0-or-later
// Decoder front: set-up, stream start, per-frame dispatch, options.
#include <cmath>
#include <cstring>
#include <mutex>

#include "decoderstate.h"
#include "layer12.h"
#include "layer3.h"
#include "mpeg/mpegdecoder.h"

namespace lexoria::mpeg {

void BuildDecoderTables() {
  static std::once_flag once;
  std::call_once(once, [] {
    BuildLayer12Tables();
    BuildLayer3Tables();
    BuildSynthesisTables();
  });
}

int LayerSubbandLimit(const DecoderState& s) {
  if (s.streamSampleRate == 0) return 0;
  const uint64_t rate = s.streamSampleRate;
  const uint64_t limit = (rate / 2 + uint64_t{s.options.frequencyLimit} * 64) / rate;
  int cap = 32 >> s.options.reduction;
  // The described arithmetic leaves the top subband out, which at 32 kHz and
  // up lies above 15 kHz. Below 32 kHz (MPEG-2 and 2.5 at full rate) subband
  // 31 is audible sound (10.7-12 kHz at 22.05/24 kHz), so it is decoded.
  const bool lowRate = s.options.reduction == 0 && s.streamSampleRate < 32000;
  if (cap > 8 && !PreciseOutput(s) && !lowRate) --cap;
  return limit < static_cast<uint64_t>(cap) ? static_cast<int>(limit) : cap;
}

Decoder::Decoder() : state_(std::make_unique<DecoderState>()) {
  BuildDecoderTables();
  state_->simd = BestSimd();
}
Decoder::~Decoder() = default;
Decoder::Decoder(Decoder&&) noexcept = default;
Decoder& Decoder::operator=(Decoder&&) noexcept = default;

void Decoder::Reset() {
  BuildDecoderTables();
  state_->options = DecoderOptions{};
  state_->simd = BestSimd();
}

namespace {

// Keeps a failure's code as the last error; successes leave it as it was.
Result Record(DecoderState& s, Result result) {
  if (!Decoded(result)) s.lastError = ErrorCode(result);
  return result;
}

}  // namespace

Result Decoder::ReadStreamInfo(const uint8_t* frame, int32_t available, FrameInfo& info, int32_t record) {
  DecoderState& s = *state_;
  const Result result = mpeg::ReadStreamInfo(frame, available, info, s.options);
  if (result == Result::kOk && record == 1) {
    s.streamSampleRate = HeaderSampleRate(info);
    s.outputBytesPerFrame = info.pcmBytesPerFrame;
  }
  return Record(s, result);
}

Result Decoder::Start(const uint8_t* frame, uint32_t length) {
  DecoderState& s = *state_;
  FrameInfo info;
  const int32_t available = length > 0x7FFFFFFFu ? 0x7FFFFFFF : static_cast<int32_t>(length);
  const Result read = ReadStreamInfo(frame, available, info, 1);
  if (read != Result::kOk) return read;
  ResetSynthesis(s);
  switch (info.layer) {
    case 1:
      Layer1Start(s, info);
      s.layerDecode = Layer1Decode;
      break;
    case 2:
      // A first frame that selects no allocation table leaves nothing set
      // up to decode with: the stream is not decodable.
      if (!Layer2Start(s, info)) {
        s.layerDecode = nullptr;
        return Record(s, Result::kBadHeader);
      }
      s.layerDecode = Layer2Decode;
      break;
    default:
      Layer3Start(s, info);
      s.layerDecode = Layer3Decode;
      break;
  }
  return Result::kOk;
}

Result Decoder::Decode(FrameRequest& request) {
  DecoderState& s = *state_;
  if (request.inputLength <= 4) return Record(s, Result::kTooLittleData);
  const Result header = ReadFrameHeader(request.input, request);
  if (header != Result::kOk) return Record(s, header);
  request.bitrate = HeaderBitrate(request);
  // Without a started stream there is no rate to measure the frame by.
  if (s.layerDecode == nullptr || s.streamSampleRate == 0) return Record(s, Result::kNotStarted);
  const uint32_t length = FrameLength(request, s.streamSampleRate);
  s.frameLength = length;
  if (length == 0 || request.inputLength < length) return Record(s, Result::kTooLittleData);
  const bool output = s.layerDecode(s, request, request.input, request.output);
  request.inputLength = length;
  request.outputLength = s.outputBytesPerFrame;
  return output ? Result::kOk : Result::kNoOutput;
}

bool Decoder::SetOptions(const DecoderOptions& options) {
  // Only full, half and quarter rate have synthesis routines.
  if (options.reduction > 2) return false;
  state_->options = options;
  return true;
}

DecoderOptions Decoder::Options() const { return state_->options; }

void Decoder::SetEqualizer(const int32_t* bands) {
  DecoderState& s = *state_;
  if (bands == nullptr) {
    s.equalizerOn = false;
    return;
  }
  // Subbands per band value: 0-5 one each, then 6-7, 8-11, 12-19, 20-31.
  static constexpr int kFirst[11] = {0, 1, 2, 3, 4, 5, 6, 8, 12, 20, 32};
  for (int band = 0; band < 10; ++band) {
    const float gain = static_cast<float>(std::pow(10.0, bands[band] / 200.0));
    for (int k = kFirst[band]; k < kFirst[band + 1]; ++k) s.equalizer[k] = gain;
  }
  s.equalizerOn = true;
}

uint32_t Decoder::LastError() const { return state_->lastError; }

bool Decoder::SetSimd(Simd simd) {
  if (!SimdAvailable(simd)) return false;
  state_->simd = simd;
  return true;
}

Simd Decoder::ActiveSimd() const { return state_->simd; }

}  // namespace lexoria::mpeg
