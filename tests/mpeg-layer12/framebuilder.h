// SPDX-License-Identifier: GPL-3.0-or-later
// Small layer I and layer II frames written bit by bit from a chosen
// allocation, scale factors and sample codes, with the subband values the
// standard's dequantisation gives for them, so a decoder's sample buffer can
// be checked value by value.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

namespace layer12test {

class BitWriter {
 public:
  void Put(uint32_t value, int bits) {
    for (int i = bits - 1; i >= 0; --i) {
      if (used_ % 8 == 0) bytes_.push_back(0);
      if ((value >> i) & 1) bytes_.back() |= static_cast<uint8_t>(0x80 >> (used_ % 8));
      ++used_;
    }
  }
  size_t Bits() const { return used_; }
  std::vector<uint8_t>& Bytes() { return bytes_; }

 private:
  std::vector<uint8_t> bytes_;
  size_t used_ = 0;
};

struct Header {
  int version;  // 1 MPEG-1, 2 MPEG-2, 3 MPEG-2.5
  int layer;
  int bitrateIndex;
  int samplingIndex;
  int mode;
  int modeExtension;
  bool crc = false;
};

inline void WriteHeader(BitWriter& w, const Header& h) {
  w.Put(0x7FF, 11);
  w.Put(h.version == 1 ? 3 : h.version == 2 ? 2 : 0, 2);
  w.Put(4 - h.layer, 2);
  w.Put(h.crc ? 0 : 1, 1);
  w.Put(static_cast<uint32_t>(h.bitrateIndex), 4);
  w.Put(static_cast<uint32_t>(h.samplingIndex), 2);
  w.Put(0, 2);  // padding, private
  w.Put(static_cast<uint32_t>(h.mode), 2);
  w.Put(static_cast<uint32_t>(h.modeExtension), 2);
  w.Put(0, 4);  // copyright, original, emphasis
  if (h.crc) w.Put(0xBEEF, 16);
}

inline int SampleRate(const Header& h) {
  static const int kRates[3][3] = {{44100, 48000, 32000}, {22050, 24000, 16000}, {11025, 12000, 8000}};
  return kRates[h.version - 1][h.samplingIndex];
}

inline int Bitrate(const Header& h) {
  static const int kMpeg1[2][15] = {{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
                                    {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384}};
  static const int kLow[2][15] = {{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
                                  {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160}};
  return 1000 * (h.version == 1 ? kMpeg1 : kLow)[h.layer - 1][h.bitrateIndex];
}

inline int FrameBytes(const Header& h) {
  return h.layer == 1 ? 12 * Bitrate(h) / SampleRate(h) * 4 : 144 * Bitrate(h) / SampleRate(h);
}

// The standard's requantisation of one sample code: the code's most
// significant bit inverted gives a two's complement fraction, then
// C x (fraction + D), with C and D of the level count; times the scale
// factor 2 x 2^(-index / 3) and 32768 for 16-bit units.
inline double Dequantise(uint32_t code, uint32_t levels, int scaleIndex) {
  int nb = 0;
  while ((1u << nb) < levels + 1) ++nb;  // bits of one code word
  const bool grouped = levels == 3 || levels == 5 || levels == 9;
  const int32_t inverted = static_cast<int32_t>(code ^ (1u << (nb - 1)));
  const int32_t signedCode = inverted >= (1 << (nb - 1)) ? inverted - (1 << nb) : inverted;
  const double fraction = double(signedCode) / (1 << (nb - 1));
  const double c = double(1 << nb) / levels;
  const double d = grouped ? 0.5 : 1.0 / (1 << (nb - 1));
  return c * (fraction + d) * 2.0 * std::pow(2.0, -scaleIndex / 3.0) * 32768.0;
}

// One group of a layer II allocation table as the standard prints it:
// subbands, field width, and the number of levels of each field value.
struct Group {
  int subbands;
  int bits;
  std::vector<uint32_t> levels;  // by allocation value, 0 for none
};
using Layout = std::vector<Group>;

inline const Layout& TableB2a() {
  static const Layout t = {{3, 4, {0, 3, 7, 15, 31, 63, 127, 255, 511, 1023, 2047, 4095, 8191, 16383, 32767, 65535}},
                           {8, 4, {0, 3, 5, 7, 9, 15, 31, 63, 127, 255, 511, 1023, 2047, 4095, 8191, 65535}},
                           {12, 3, {0, 3, 5, 7, 9, 15, 31, 65535}},
                           {4, 2, {0, 3, 5, 65535}}};
  return t;
}
inline const Layout& TableB2b() {
  static const Layout t = [] {
    Layout l = TableB2a();
    l[3].subbands = 7;
    return l;
  }();
  return t;
}
inline const Layout& TableB2c() {
  static const Layout t = {{2, 4, {0, 3, 5, 9, 15, 31, 63, 127, 255, 511, 1023, 2047, 4095, 8191, 16383, 32767}},
                           {6, 3, {0, 3, 5, 9, 15, 31, 63, 127}}};
  return t;
}
inline const Layout& TableB2d() {
  static const Layout t = [] {
    Layout l = TableB2c();
    l[1].subbands = 10;
    return l;
  }();
  return t;
}
inline const Layout& TableLowRate() {
  static const Layout t = {{4, 4, {0, 3, 5, 7, 9, 15, 31, 63, 127, 255, 511, 1023, 2047, 4095, 8191, 16383}},
                           {7, 3, {0, 3, 5, 9, 15, 31, 63, 127}},
                           {19, 2, {0, 3, 5, 9}}};
  return t;
}

// A frame and the 64-value slots it should decode to (before any band limit).
struct Frame {
  std::vector<uint8_t> bytes;    // exactly one frame
  bool fits = false;             // all written bits inside the frame
  std::vector<double> expected;  // 12 or 36 slots of 64 values
  int channels = 1;
  int codedSubbands = 0;
};

struct Position {
  uint32_t levels = 0;
  int scaleIndex[3] = {};
  int selection = 4;
};

inline int Channels(const Header& h) { return h.mode == 3 ? 1 : 2; }
inline int BoundSubbands(const Header& h) { return h.mode == 1 ? 4 * (h.modeExtension + 1) : 32; }

// Layer I: allocation a of each subband and channel (a - 1 never used for
// channel 1 at or above the bound), random scale factors and samples.
inline Frame BuildLayer1(const Header& h, const std::vector<std::array<int, 2>>& allocation, std::mt19937& rng) {
  const int ch = Channels(h);
  const int bound = ch == 2 ? BoundSubbands(h) : 32;
  Frame f;
  f.channels = ch;
  f.codedSubbands = 32;
  f.expected.assign(12 * 64, 0.0);
  BitWriter w;
  WriteHeader(w, h);
  int alloc[32][2] = {};
  for (int sb = 0; sb < 32; ++sb)
    for (int c = 0; c < ch; ++c) alloc[sb][c] = allocation[sb][sb < bound ? c : 0];
  for (int sb = 0; sb < 32; ++sb)
    for (int c = 0; c < (sb < bound ? ch : 1); ++c) w.Put(static_cast<uint32_t>(alloc[sb][c]), 4);
  int scale[32][2] = {};
  for (int sb = 0; sb < 32; ++sb)
    for (int c = 0; c < ch; ++c)
      if (alloc[sb][c]) w.Put(static_cast<uint32_t>(scale[sb][c] = static_cast<int>(rng() % 63)), 6);
  for (int slot = 0; slot < 12; ++slot)
    for (int sb = 0; sb < 32; ++sb) {
      uint32_t code = 0;
      for (int c = 0; c < ch; ++c) {
        const int a = alloc[sb][c];
        if (!a) continue;
        const uint32_t levels = (1u << (a + 1)) - 1;
        if (c == 0 || sb < bound) {
          code = static_cast<uint32_t>(rng() % levels);
          w.Put(code, a + 1);
        }
        f.expected[64 * slot + ch * sb + c] = Dequantise(code, levels, scale[sb][c]);
      }
    }
  f.fits = w.Bits() <= static_cast<size_t>(FrameBytes(h)) * 8;
  f.bytes = w.Bytes();
  f.bytes.resize(static_cast<size_t>(FrameBytes(h)), 0);
  return f;
}

// Layer II with a table layout: allocation value per subband and channel,
// random selections, scale factors and codes.
inline Frame BuildLayer2(const Header& h, const Layout& layout, const std::vector<std::array<int, 2>>& allocation,
                         std::mt19937& rng) {
  const int ch = Channels(h);
  const int bound = ch == 2 ? BoundSubbands(h) : 32;
  Frame f;
  f.channels = ch;
  f.expected.assign(36 * 64, 0.0);
  BitWriter w;
  WriteHeader(w, h);
  Position pos[32][2];
  int sb = 0;
  for (const Group& g : layout)
    for (int k = 0; k < g.subbands; ++k, ++sb)
      for (int c = 0; c < ch; ++c) {
        const int value = allocation[sb][sb < bound ? c : 0];
        if (c == 0 || sb < bound) w.Put(static_cast<uint32_t>(value), g.bits);
        pos[sb][c].levels = g.levels[static_cast<size_t>(value)];
      }
  f.codedSubbands = sb;
  for (int s = 0; s < sb; ++s)
    for (int c = 0; c < ch; ++c)
      if (pos[s][c].levels) w.Put(static_cast<uint32_t>(pos[s][c].selection = static_cast<int>(rng() % 4)), 2);
  for (int s = 0; s < sb; ++s)
    for (int c = 0; c < ch; ++c) {
      Position& p = pos[s][c];
      if (!p.levels) continue;
      int i[3];
      for (int& x : i) x = static_cast<int>(rng() % 63);
      // Which of the written indices each part uses, by selection.
      static const int kShare[4][3] = {{0, 1, 2}, {0, 0, 1}, {0, 0, 0}, {0, 1, 1}};
      static const int kCount[4] = {3, 2, 1, 2};
      for (int n = 0; n < kCount[p.selection]; ++n) w.Put(static_cast<uint32_t>(i[n]), 6);
      for (int part = 0; part < 3; ++part) p.scaleIndex[part] = i[kShare[p.selection][part]];
    }
  for (int granule = 0; granule < 12; ++granule)
    for (int s = 0; s < sb; ++s) {
      uint32_t codes[3] = {};
      for (int c = 0; c < ch; ++c) {
        const Position& p = pos[s][c];
        if (!p.levels) continue;
        if (c == 0 || s < bound) {
          const bool grouped = p.levels == 3 || p.levels == 5 || p.levels == 9;
          for (uint32_t& code : codes) code = static_cast<uint32_t>(rng() % p.levels);
          if (grouped) {
            w.Put(codes[0] + p.levels * (codes[1] + p.levels * codes[2]), p.levels == 3 ? 5 : p.levels == 5 ? 7 : 10);
          } else {
            int nb = 0;
            while ((1u << nb) < p.levels + 1) ++nb;
            for (uint32_t code : codes) w.Put(code, nb);
          }
        }
        for (int k = 0; k < 3; ++k)
          f.expected[64 * (3 * granule + k) + ch * s + c] = Dequantise(codes[k], p.levels, p.scaleIndex[granule / 4]);
      }
    }
  f.fits = w.Bits() <= static_cast<size_t>(FrameBytes(h)) * 8;
  f.bytes = w.Bytes();
  f.bytes.resize(static_cast<size_t>(FrameBytes(h)), 0);
  return f;
}

}  // namespace layer12test
