// Decoder front: set-up, stream start, per-frame dispatch, options; and the
// free functions over one default decoder.
#include <cmath>
#include <cstring>
#include <mutex>

#include "decoderstate.h"
#include "layer12.h"
#include "layer3.h"
#include "mpegdecoder.h"

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

uint32_t StatusError(DecodeStatus status) {
  switch (status) {
    case DecodeStatus::kDecoded:
    case DecodeStatus::kNoOutput: return 0;
    case DecodeStatus::kTooLittleData: return kErrorTooLittleData;
    case DecodeStatus::kNoSync: return kErrorNoSync;
    case DecodeStatus::kBadHeader:
    case DecodeStatus::kNotStarted: return kErrorBadHeader;
  }
  return kErrorBadHeader;
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

bool Decoder::ReadStreamInfo(const uint8_t* frame, int32_t available, FrameInfo& info, int32_t record) {
  return ReadStreamInfoInto(*state_, frame, available, info, record);
}

bool Decoder::Start(const uint8_t* frame, uint32_t length) {
  DecoderState& s = *state_;
  FrameInfo info;
  const int32_t available = length > 0x7FFFFFFFu ? 0x7FFFFFFF : static_cast<int32_t>(length);
  if (!ReadStreamInfoInto(s, frame, available, info, 1)) return false;
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
        s.lastError = kErrorBadHeader;
        return false;
      }
      s.layerDecode = Layer2Decode;
      break;
    default:
      Layer3Start(s, info);
      s.layerDecode = Layer3Decode;
      break;
  }
  return true;
}

DecodeStatus Decoder::Decode(FrameRequest& request) {
  DecoderState& s = *state_;
  const auto fail = [&s](DecodeStatus status) {
    s.lastError = StatusError(status);
    return status;
  };
  if (request.inputLength <= 4) return fail(DecodeStatus::kTooLittleData);
  uint32_t error = 0;
  if (!ParseFrameHeader(request.input, request, error)) {
    s.lastError = error;
    return error == kErrorNoSync ? DecodeStatus::kNoSync : DecodeStatus::kBadHeader;
  }
  request.bitrate = HeaderBitrate(request);
  // Without a started stream there is no rate to measure the frame by.
  if (s.layerDecode == nullptr || s.streamSampleRate == 0) return fail(DecodeStatus::kNotStarted);
  const uint32_t length = FrameLength(request, s.streamSampleRate);
  s.frameLength = length;
  if (length == 0 || request.inputLength < length) return fail(DecodeStatus::kTooLittleData);
  const bool output = s.layerDecode(s, request, request.input, request.output);
  request.inputLength = length;
  request.outputLength = s.outputBytesPerFrame;
  return output ? DecodeStatus::kDecoded : DecodeStatus::kNoOutput;
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

namespace {

Decoder& Default() {
  static Decoder instance;
  return instance;
}

}  // namespace

DecoderState& DefaultState() { return Default().State(); }

void DecoderInit() { Default().Reset(); }

int DecoderStart(const uint8_t* frame, uint32_t length) { return Default().Start(frame, length) ? 1 : 0; }

int DecodeFrame(FrameRequest& request) {
  const DecodeStatus status = Default().Decode(request);
  return status == DecodeStatus::kDecoded || status == DecodeStatus::kNoOutput ? 1 : 0;
}

int DecoderSetOptions(const DecoderOptions& options) { return Default().SetOptions(options) ? 1 : 0; }

void DecoderGetOptions(DecoderOptions& options) { options = Default().Options(); }

int DecoderSetEqualizer(const int32_t* bands) {
  Default().SetEqualizer(bands);
  return 1;
}

uint32_t DecoderLastError() { return Default().LastError(); }

int DecoderSetSimd(Simd simd) { return Default().SetSimd(simd) ? 1 : 0; }

}  // namespace lexoria::mpeg
