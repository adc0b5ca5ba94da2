// Decoder front: set-up, stream start, per-frame dispatch, options.
#include <cmath>
#include <cstring>

#include "decoderstate.h"
#include "layer12.h"
#include "layer3.h"
#include "mpegdecoder.h"

namespace lexoria::mpeg {

namespace {

DecoderState g_state;

}  // namespace

DecoderState& Decoder() { return g_state; }

void DecoderInit() {
  g_state.options = DecoderOptions{};
  static bool built = false;
  if (!built) {
    BuildLayer12Tables();
    BuildLayer3Tables();
    BuildSynthesisTables();
    built = true;
  }
}

int LayerSubbandLimit() {
  const DecoderState& s = g_state;
  if (s.streamSampleRate == 0) return 0;
  const uint64_t rate = s.streamSampleRate;
  const uint64_t limit = (rate / 2 + uint64_t{s.options.frequencyLimit} * 64) / rate;
  int cap = 32 >> s.options.reduction;
  // The described arithmetic leaves the top subband out, which at 32 kHz and
  // up lies above 15 kHz. Below 32 kHz (MPEG-2 and 2.5 at full rate) subband
  // 31 is audible sound (10.7-12 kHz at 22.05/24 kHz), so it is decoded.
  const bool lowRate = s.options.reduction == 0 && s.streamSampleRate < 32000;
  if (cap > 8 && !PreciseOutput() && !lowRate) --cap;
  return limit < static_cast<uint64_t>(cap) ? static_cast<int>(limit) : cap;
}

int DecoderStart(const uint8_t* frame, uint32_t length) {
  FrameInfo info;
  const int32_t available = length > 0x7FFFFFFFu ? 0x7FFFFFFF : static_cast<int32_t>(length);
  if (!ReadStreamInfo(frame, available, info, 1)) return 0;
  ResetSynthesis();
  switch (info.layer) {
    case 1:
      Layer1Start(info);
      g_state.layerDecode = Layer1Decode;
      break;
    case 2:
      // A first frame that selects no allocation table leaves nothing set
      // up to decode with: the stream is not decodable.
      if (!Layer2Start(info)) {
        g_state.layerDecode = nullptr;
        SetLastError(kErrorBadHeader);
        return 0;
      }
      g_state.layerDecode = Layer2Decode;
      break;
    default:
      Layer3Start(info);
      g_state.layerDecode = Layer3Decode;
      break;
  }
  return 1;
}

int DecodeFrame(FrameRequest& request) {
  if (request.inputLength <= 4) {
    SetLastError(kErrorTooLittleData);
    return 0;
  }
  if (!ReadFrameHeader(request.input, request)) return 0;
  request.bitrate = HeaderBitrate(request);
  // Without a started stream there is no rate to measure the frame by.
  if (g_state.layerDecode == nullptr || g_state.streamSampleRate == 0) {
    SetLastError(kErrorBadHeader);
    return 0;
  }
  const uint32_t length = FrameLength(request, g_state.streamSampleRate);
  g_state.frameLength = length;
  if (length == 0 || request.inputLength < length) {
    SetLastError(kErrorTooLittleData);
    return 0;
  }
  g_state.layerDecode(request, request.input, request.output);
  request.inputLength = length;
  request.outputLength = g_state.outputBytesPerFrame;
  return 1;
}

int DecoderSetOptions(const DecoderOptions& options) {
  // Only full, half and quarter rate have synthesis routines.
  if (options.reduction > 2) return 0;
  g_state.options = options;
  return 1;
}

void DecoderGetOptions(DecoderOptions& options) { options = g_state.options; }

int DecoderSetEqualizer(const int32_t* bands) {
  if (bands == nullptr) {
    g_state.equalizerOn = false;
    return 1;
  }
  // Subbands per band value: 0-5 one each, then 6-7, 8-11, 12-19, 20-31.
  static constexpr int kFirst[11] = {0, 1, 2, 3, 4, 5, 6, 8, 12, 20, 32};
  for (int band = 0; band < 10; ++band) {
    const float gain = static_cast<float>(std::pow(10.0, bands[band] / 200.0));
    for (int k = kFirst[band]; k < kFirst[band + 1]; ++k) g_state.equalizer[k] = gain;
  }
  g_state.equalizerOn = true;
  return 1;
}

uint32_t DecoderLastError() { return g_state.lastError; }

}  // namespace lexoria::mpeg
