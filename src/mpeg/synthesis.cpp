// Polyphase synthesis: a split-and-merge DCT of each slot of subband samples
// into a per-channel ring of 16 slots, then the folded window over the ring.
// Every combination of rate, sample format, rounding and channel handling is
// its own template instance, so the per-sample loops hold no such test.
#include <cmath>
#include <cstring>

#include "decoderstate.h"
#include "synthesiswindow.h"

namespace lexoria::mpeg {

namespace {

// DCT coefficients 0.5 / cos((2i + 1) pi / 4n) for n = 16, 8, 4, 2, 1.
alignas(32) float g_dctCoefficients[31];
constexpr int kCoefficientOffset[17] = {0, 30, 28, 0, 24, 0, 0, 0, 16, 0, 0, 0, 0, 0, 0, 0, 0};

// Folded window: rows of 16 (row k serves output k), then the 8 middle taps.
// Each row starts with the standard's D[k] (negative for k > 0); a positive
// first value would put up to 3 LSB of error on outputs 15 and 17.
alignas(32) float g_window[264];

enum class Input { kOne, kInterleaved, kMix };

inline int CoefficientOffset(int half) { return half == 16 ? 0 : kCoefficientOffset[half]; }

// Unnormalised DCT-II of N inputs: out[j] = sum s[k] cos((2k + 1) j pi / 2N).
template <int N>
inline void Dct(float* s, float* out) {
  float buffer[2][N];
  float* x = s;
  float* y = buffer[0];
  int which = 0;
  for (int m = N; m >= 2; m /= 2) {
    const float* c = g_dctCoefficients + CoefficientOffset(m / 2);
    for (int block = 0; block < N; block += m) {
      for (int i = 0; i < m / 2; ++i) {
        const float p = x[block + i];
        const float q = x[block + m - 1 - i];
        y[block + i] = p + q;
        y[block + m / 2 + i] = (p - q) * c[i];
      }
    }
    x = y;
    which ^= 1;
    y = buffer[which];
  }
  for (int m = 4; m <= N; m *= 2) {
    float* target = (m == N) ? out : y;
    const int h = m / 2;
    for (int block = 0; block < N; block += m) {
      for (int i = 0; i < h; ++i) target[block + 2 * i] = x[block + i];
      for (int i = 0; i < h - 1; ++i) target[block + 2 * i + 1] = x[block + h + i] + x[block + h + i + 1];
      target[block + m - 1] = x[block + m - 1];
    }
    x = target;
    which ^= 1;
    y = buffer[which];
  }
}

// One slot: gathers the inputs of one channel and writes its DCT at ring + position.
template <int Shift, Input Kind, bool Precise>
inline void SlotDct(float* in, float* ringAtPosition, bool equalize) {
  constexpr int N = 32 >> Shift;
  constexpr int stride = Kind == Input::kOne ? 1 : 2;
  if (Shift == 0 && Kind != Input::kMix && equalize) {
    const float* gain = Decoder().equalizer;
    for (int k = 0; k < 32; ++k) in[k * stride] *= gain[k];
  }
  alignas(32) float s[N];
  for (int k = 0; k < N; ++k) {
    if constexpr (Kind == Input::kMix)
      s[k] = (in[2 * k] + in[2 * k + 1]) * 0.5f;
    else
      s[k] = in[k * stride];
  }
  // The described half rate leaves out subband 15.
  if (Shift == 1 && !Precise) s[15] = 0.0f;
  Dct<N>(s, ringAtPosition);
}

template <bool EightBit, bool Precise>
inline void Store(float sum, uint8_t* out) {
  if constexpr (Precise) sum += sum >= 0.0f ? 0.5f : -0.5f;
  if (!(sum < 32767.0f)) sum = 32767.0f;
  if (!(sum > -32768.0f)) sum = -32768.0f;
  const int value = static_cast<int>(sum);
  if constexpr (EightBit) {
    out[0] = static_cast<uint8_t>((value >> 8) ^ 128);
  } else {
    out[0] = static_cast<uint8_t>(value & 0xFF);
    out[1] = static_cast<uint8_t>((value >> 8) & 0xFF);
  }
}

// Windows one slot of one channel from the ring at `position` into `out`,
// `Stride` samples apart.
template <int Shift, bool EightBit, bool Precise, int Stride>
inline void SlotWindow(const float* ring, uint32_t position, uint8_t* out) {
  constexpr int n = 32 >> Shift;
  constexpr int h = n / 2;
  constexpr uint32_t mask = (512u >> Shift) - 1;
  constexpr int tap = 2 * n;
  constexpr int bytes = EightBit ? 1 : 2;
  constexpr int step = Stride * bytes;
  const float* w = g_window;
  const uint32_t p = position;
  for (int k = 0; k < h; ++k) {
    const float* row = w + 16 * (k << Shift);
    const uint32_t u = p + h + k;
    const uint32_t v = p + 3 * h - k;
    float sum = 0.0f;
    for (int j = 0; j < 8; ++j) {
      sum += row[2 * j] * ring[(u + tap * j) & mask];
      sum -= row[2 * j + 1] * ring[(v + tap * j) & mask];
    }
    Store<EightBit, Precise>(sum, out + k * step);
  }
  {
    float sum = 0.0f;
    for (int j = 0; j < 8; ++j) sum += w[256 + j] * ring[(p + n + tap * j) & mask];
    Store<EightBit, Precise>(sum, out + h * step);
  }
  for (int t = 1; t < h; ++t) {
    const float* row = w + 16 * (16 - (t << Shift)) + 15;
    const uint32_t u = p + n - t;
    const uint32_t v = p + n + t;
    float sum = 0.0f;
    for (int j = 0; j < 8; ++j) {
      sum += row[-2 * j] * ring[(u + tap * j) & mask];
      sum += row[-2 * j - 1] * ring[(v + tap * j) & mask];
    }
    Store<EightBit, Precise>(sum, out + (h + t) * step);
  }
}

template <int Shift>
inline uint32_t NextPosition(uint32_t p) {
  constexpr int n = 32 >> Shift;
  constexpr uint32_t mask = (512u >> Shift) - 1;
  return (p - n) & mask;
}

enum class Route { kOne, kBoth, kMix, kFirst, kSecond };

template <int Shift, bool EightBit, bool Precise, Route R>
void Synthesis12(float* slots, uint8_t* output, int slotCount) {
  constexpr int n = 32 >> Shift;
  constexpr int bytes = EightBit ? 1 : 2;
  DecoderState& s = Decoder();
  const bool eq = s.equalizerOn;
  uint32_t p = s.ringPosition[0];
  for (int slot = 0; slot < slotCount; ++slot) {
    float* in = slots + 64 * slot;
    if constexpr (R == Route::kBoth) {
      SlotDct<Shift, Input::kInterleaved, Precise>(in, s.ring[0] + p, eq);
      SlotDct<Shift, Input::kInterleaved, Precise>(in + 1, s.ring[1] + p, eq);
      SlotWindow<Shift, EightBit, Precise, 2>(s.ring[0], p, output);
      SlotWindow<Shift, EightBit, Precise, 2>(s.ring[1], p, output + bytes);
      output += n * 2 * bytes;
    } else {
      if constexpr (R == Route::kOne)
        SlotDct<Shift, Input::kOne, Precise>(in, s.ring[0] + p, eq);
      else if constexpr (R == Route::kMix)
        SlotDct<Shift, Input::kMix, Precise>(in, s.ring[0] + p, eq);
      else if constexpr (R == Route::kFirst)
        SlotDct<Shift, Input::kInterleaved, Precise>(in, s.ring[0] + p, eq);
      else
        SlotDct<Shift, Input::kInterleaved, Precise>(in + 1, s.ring[0] + p, eq);
      SlotWindow<Shift, EightBit, Precise, 1>(s.ring[0], p, output);
      output += n * bytes;
    }
    p = NextPosition<Shift>(p);
  }
  s.ringPosition[0] = p;
}

template <int Shift, bool EightBit, bool Precise, bool TwoChannel>
void Synthesis3(float* hybrid, uint8_t* output, int channel) {
  constexpr int n = 32 >> Shift;
  constexpr int bytes = EightBit ? 1 : 2;
  constexpr int stride = TwoChannel ? 2 : 1;
  DecoderState& s = Decoder();
  const int ch = TwoChannel ? channel : 0;
  const bool eq = s.equalizerOn;
  float* ring = s.ring[ch];
  uint32_t p = s.ringPosition[ch];
  uint8_t* out = output + (TwoChannel ? ch * bytes : 0);
  for (int slot = 0; slot < 18; ++slot) {
    SlotDct<Shift, Input::kOne, Precise>(hybrid + 32 * slot, ring + p, eq);
    SlotWindow<Shift, EightBit, Precise, stride>(ring, p, out);
    out += n * stride * bytes;
    p = NextPosition<Shift>(p);
  }
  s.ringPosition[ch] = p;
}

// [precise][8-bit][reduction][channel entry]
template <bool Precise, bool EightBit, int Shift>
constexpr SynthesisVariant12 kRow12[5] = {
    Synthesis12<Shift, EightBit, Precise, Route::kOne>, Synthesis12<Shift, EightBit, Precise, Route::kBoth>,
    Synthesis12<Shift, EightBit, Precise, Route::kMix>, Synthesis12<Shift, EightBit, Precise, Route::kFirst>,
    Synthesis12<Shift, EightBit, Precise, Route::kSecond>};

template <bool Precise, bool EightBit>
const SynthesisVariant12* Column12(uint32_t reduction) {
  return reduction == 0 ? kRow12<Precise, EightBit, 0> : reduction == 1 ? kRow12<Precise, EightBit, 1>
                                                                        : kRow12<Precise, EightBit, 2>;
}

template <bool Precise, bool EightBit>
SynthesisVariant3 Pick3(uint32_t reduction, bool one) {
  if (reduction == 0) return one ? Synthesis3<0, EightBit, Precise, false> : Synthesis3<0, EightBit, Precise, true>;
  if (reduction == 1) return one ? Synthesis3<1, EightBit, Precise, false> : Synthesis3<1, EightBit, Precise, true>;
  return one ? Synthesis3<2, EightBit, Precise, false> : Synthesis3<2, EightBit, Precise, true>;
}

}  // namespace

double WindowD(int i) {
  if (i <= 256) return kSynthesisWindowD[i];
  // Odd about 256, except at the 64-value block edges, which keep their sign.
  return i % 64 == 0 ? kSynthesisWindowD[512 - i] : -kSynthesisWindowD[512 - i];
}

void BuildSynthesisTables() {
  int offset = 0;
  for (int n = 16; n >= 1; n /= 2) {
    for (int i = 0; i < n; ++i)
      g_dctCoefficients[offset + i] = static_cast<float>(0.5 / std::cos((2 * i + 1) * M_PI / (4.0 * n)));
    offset += n;
  }
  {
    float* w = g_window;
    for (int k = 0; k < 16; ++k) {
      for (int m = 1; m < 16; ++m) {
        const int i = k + 32 * m;
        w[16 * k + m] = static_cast<float>(WindowD(i));
      }
      w[16 * k] = static_cast<float>(kSynthesisWindowD[k]);
    }
    for (int j = 0; j < 8; ++j) {
      const int i = 48 + 64 * j;
      w[256 + j] = static_cast<float>(-WindowD(i));
    }
  }
}

void ResetSynthesis() {
  DecoderState& s = Decoder();
  std::memset(s.ring, 0, sizeof s.ring);
  s.ringPosition[0] = s.ringPosition[1] = 0;
}

SynthesisVariant12 SelectSynthesis12(bool eightBit, uint32_t reduction, int channelEntry, bool precise) {
  if (reduction > 2) reduction = 2;
  if (channelEntry < 0 || channelEntry > 4) channelEntry = 0;
  const SynthesisVariant12* row = precise ? (eightBit ? Column12<true, true>(reduction) : Column12<true, false>(reduction))
                                          : (eightBit ? Column12<false, true>(reduction) : Column12<false, false>(reduction));
  return row[channelEntry];
}

SynthesisVariant3 SelectSynthesis3(bool eightBit, uint32_t reduction, bool oneChannel, bool precise) {
  if (reduction > 2) reduction = 2;
  if (precise) return eightBit ? Pick3<true, true>(reduction, oneChannel) : Pick3<true, false>(reduction, oneChannel);
  return eightBit ? Pick3<false, true>(reduction, oneChannel) : Pick3<false, false>(reduction, oneChannel);
}

SynthesisVariant12 CurrentSynthesis12(int channelEntry) {
  const DecoderOptions& o = Decoder().options;
  return SelectSynthesis12((o.conversion & kConversion8Bit) != 0, o.reduction, channelEntry, PreciseOutput());
}

SynthesisVariant3 CurrentSynthesis3(bool oneChannel) {
  const DecoderOptions& o = Decoder().options;
  return SelectSynthesis3((o.conversion & kConversion8Bit) != 0, o.reduction, oneChannel, PreciseOutput());
}

}  // namespace lexoria::mpeg
