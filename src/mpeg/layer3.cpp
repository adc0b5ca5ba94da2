// SPDX-License-Identifier: GPL-3.0-or-later
// Layer III bitstream: side information, bit reservoir, scale factors and
// the Huffman-coded spectrum of each granule and channel.
#include "layer3.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "decoderstate.h"
#include "huffmancodes.h"
#include "layer3kernels.h"
#include "layer3state.h"

namespace lexoria::mpeg {

namespace {

// Multi-level Huffman lookup. A table starts with the number of bits to peek;
// an entry holds x, y and the bits to drop, or, with a drop count of 0, the
// peek width and offset of a sub-table.
struct HuffmanLookup {
  int rootBits = 0;
  std::vector<uint32_t> entries;
};
HuffmanLookup g_lookup[32];
// A whole count1 quadruple, signs included, by the next kCount1Peek bits,
// for table A (count1table_select 0) and table B: (bits taken << 8) | v w x
// y as two-bit fields from the top (0 zero, 1 plus one, 3 minus one). A
// code takes at most 6 bits and each nonzero value one sign bit after it.
constexpr int kCount1Peek = 10;
uint16_t g_count1Quads[2][1 << kCount1Peek];

constexpr uint32_t Leaf(int x, int y, int drop) {
  return (static_cast<uint32_t>(drop) << 8) | (static_cast<uint32_t>(x) << 4) | static_cast<uint32_t>(y);
}

struct Code {
  uint32_t code;
  int length;
  int x;
  int y;
};

// Fills the table starting at `base` for codes whose first `consumed` bits are done.
void BuildLevel(std::vector<uint32_t>& out, size_t base, const std::vector<Code>& codes, int consumed, int bits) {
  std::vector<std::vector<Code>> longer(size_t{1} << bits);
  for (const Code& c : codes) {
    const int rest = c.length - consumed;
    const uint32_t restCode = c.code & ((1u << rest) - 1);
    if (rest <= bits) {
      const uint32_t first = restCode << (bits - rest);
      for (uint32_t i = 0; i < (1u << (bits - rest)); ++i) out[base + first + i] = Leaf(c.x, c.y, rest);
    } else {
      longer[restCode >> (rest - bits)].push_back(c);
    }
  }
  for (uint32_t index = 0; index < (1u << bits); ++index) {
    if (longer[index].empty()) continue;
    int maxRest = 0;
    for (const Code& c : longer[index]) maxRest = std::max(maxRest, c.length - consumed - bits);
    const int subBits = std::min(maxRest, 8);
    const size_t subBase = out.size();
    out.resize(subBase + (size_t{1} << subBits), Leaf(0, 0, 1));
    out[base + index] = (static_cast<uint32_t>(subBase) << 16) | static_cast<uint32_t>(subBits);
    BuildLevel(out, subBase, longer[index], consumed + bits, subBits);
  }
}

void BuildHuffmanLookups() {
  for (int t = 0; t < 32; ++t) {
    const HuffmanCodeTable& table = kHuffmanCodeTables[t];
    if (table.size == 0) continue;
    std::vector<Code> codes;
    int maxLength = 0;
    for (int x = 0; x < table.size; ++x)
      for (int y = 0; y < table.size; ++y) {
        const int i = x * table.size + y;
        codes.push_back({table.hcod[i], table.hlen[i], x, y});
        maxLength = std::max<int>(maxLength, table.hlen[i]);
      }
    HuffmanLookup& lookup = g_lookup[t];
    lookup.rootBits = std::min(maxLength, 8);
    lookup.entries.assign(size_t{1} << lookup.rootBits, Leaf(0, 0, 1));
    BuildLevel(lookup.entries, 0, codes, 0, lookup.rootBits);
  }
  for (uint32_t index = 0; index < (1u << kCount1Peek); ++index) {
    for (int table = 0; table < 2; ++table) {
      // Table B codes vwxy in four bits, inverted; table A by its codes.
      int len = 4;
      uint32_t vwxy = ((index >> (kCount1Peek - 4)) ^ 15) & 15;
      if (table == 0) {
        for (uint32_t q = 0; q < 16; ++q) {
          len = kCount1AHlen[q];
          if ((index >> (kCount1Peek - len)) == kCount1AHcod[q]) {
            vwxy = q;
            break;
          }
        }
      }
      int taken = len;
      uint32_t fields = 0;
      for (int k = 0; k < 4; ++k) {
        uint32_t field = 0;
        if ((vwxy >> (3 - k)) & 1) {
          const bool minus = (index >> (kCount1Peek - 1 - taken)) & 1;
          ++taken;
          field = minus ? 3 : 1;
        }
        fields = (fields << 2) | field;
      }
      g_count1Quads[table][index] = static_cast<uint16_t>((taken << 8) | fields);
    }
  }
}

int SideInfoBytes(uint32_t version, int channels) {
  if (version == 1) return channels == 1 ? 17 : 32;
  return channels == 1 ? 9 : 17;
}

void ReadGranuleChannel(BitReader& bits, GranuleChannel& g, bool lsf, bool ms) {
  g.part2_3_length = bits.get(12);
  g.big_values = bits.get(9);
  g.global_gain = static_cast<int32_t>(bits.get(8)) - (ms ? 2 : 0);
  g.scalefac_compress = bits.get(lsf ? 9 : 4);
  g.window_switching_flag = bits.get(1);
  if (g.window_switching_flag) {
    g.block_type = bits.get(2);
    g.mixed_block_flag = bits.get(1);
    g.table_select[0] = bits.get(5);
    g.table_select[1] = bits.get(5);
    g.table_select[2] = 0;
    for (int w = 0; w < 3; ++w) g.subblock_gain[w] = bits.get(3);
    if (!lsf || g.block_type != 2) {
      g.region0_count = 7;
      g.region1_count = 13;
    } else {
      g.region0_count = 5;
      g.region1_count = 15;
    }
  } else {
    g.block_type = 0;
    g.mixed_block_flag = 0;
    for (int r = 0; r < 3; ++r) g.table_select[r] = bits.get(5);
    g.subblock_gain[0] = g.subblock_gain[1] = g.subblock_gain[2] = 0;
    g.region0_count = bits.get(4);
    g.region1_count = bits.get(3);
  }
  g.preflag = lsf ? 0 : bits.get(1);
  g.scalefac_scale = bits.get(1);
  g.count1table_select = bits.get(1);
}

// MPEG-1 scale factors of one channel.
void ReadScalefactorsMpeg1(Layer3State& l3, BitReader& bits, int slot, int ch) {
  const GranuleChannel& g = l3.side[slot][ch];
  uint8_t* sf = l3.scalefac[slot][ch];
  const int slen1 = kSlen[0][g.scalefac_compress];
  const int slen2 = kSlen[1][g.scalefac_compress];
  if (g.window_switching_flag && g.block_type == 2) {
    std::memset(sf, 0, 62);
    int firstShort = 0;
    if (g.mixed_block_flag) {
      for (int b = 0; b < 8; ++b) sf[b] = static_cast<uint8_t>(bits.get(slen1));
      firstShort = 3;
    }
    for (int b = firstShort; b < 12; ++b) {
      const int len = b < 6 ? slen1 : slen2;
      for (int w = 0; w < 3; ++w) sf[23 + 13 * w + b] = static_cast<uint8_t>(bits.get(len));
    }
    return;
  }
  static constexpr int kGroupStart[5] = {0, 6, 11, 16, 21};
  for (int group = 0; group < 4; ++group) {
    const bool reuse = slot == 1 && (l3.scfsi[ch] & (8u >> group));
    for (int b = kGroupStart[group]; b < kGroupStart[group + 1]; ++b) {
      if (reuse)
        sf[b] = l3.scalefac[0][ch][b];
      else
        sf[b] = static_cast<uint8_t>(bits.get(b < 11 ? slen1 : slen2));
    }
  }
  sf[21] = 0;
  for (int i = 22; i < 62; ++i) sf[i] = 0;
}

// MPEG-2 scale factors: four partitions by scalefac_compress.
void ReadScalefactorsMpeg2(Layer3State& l3, BitReader& bits, int slot, int ch, uint32_t modeExtension) {
  GranuleChannel& g = l3.side[slot][ch];
  uint8_t* sf = l3.scalefac[slot][ch];
  std::memset(sf, 0, 62);
  int slen[4] = {0, 0, 0, 0};
  int row = 0;
  const bool intensityRight = ch == 1 && (modeExtension & 1);
  uint32_t sfc = g.scalefac_compress;
  if (!intensityRight) {
    if (sfc < 400) {
      slen[0] = static_cast<int>((sfc >> 4) / 5);
      slen[1] = static_cast<int>((sfc >> 4) % 5);
      slen[2] = static_cast<int>((sfc & 15) >> 2);
      slen[3] = static_cast<int>(sfc & 3);
      row = 0;
    } else if (sfc < 500) {
      sfc -= 400;
      slen[0] = static_cast<int>((sfc >> 2) / 5);
      slen[1] = static_cast<int>((sfc >> 2) % 5);
      slen[2] = static_cast<int>(sfc & 3);
      row = 1;
    } else {
      sfc -= 500;
      slen[0] = static_cast<int>(sfc / 3);
      slen[1] = static_cast<int>(sfc % 3);
      row = 2;
      g.preflag = 1;
    }
  } else {
    l3.intensityScale = sfc & 1;
    const uint32_t half = sfc >> 1;
    if (half < 180) {
      slen[0] = static_cast<int>(half / 36);
      slen[1] = static_cast<int>((half % 36) / 6);
      slen[2] = static_cast<int>((half % 36) % 6);
      row = 3;
    } else if (half < 244) {
      const uint32_t t = half - 180;
      slen[0] = static_cast<int>((t % 64) >> 4);
      slen[1] = static_cast<int>((t % 16) >> 2);
      slen[2] = static_cast<int>(t % 4);
      row = 4;
    } else {
      const uint32_t t = half - 244;
      slen[0] = static_cast<int>(t / 3);
      slen[1] = static_cast<int>(t % 3);
      row = 5;
    }
  }
  const bool shortBlocks = g.window_switching_flag && g.block_type == 2;
  const int kind = shortBlocks ? (g.mixed_block_flag ? 2 : 1) : 0;
  const uint8_t* counts = kPartitionLengths[row][kind];
  // Walk the values in bitstream order: long bands first (mixed: the long
  // part), then short bands window by window within each band.
  int longBand = 0;
  int shortBand = shortBlocks ? (g.mixed_block_flag ? 3 : 0) : 0;
  int window = 0;
  const int longCount = shortBlocks ? (g.mixed_block_flag ? 6 : 0) : 21;
  for (int part = 0; part < 4; ++part) {
    for (int i = 0; i < counts[part]; ++i) {
      const uint8_t value = static_cast<uint8_t>(bits.get(slen[part]));
      if (longBand < longCount) {
        sf[longBand] = value;
        if (intensityRight) l3.isLongSlen[longBand] = static_cast<uint8_t>(slen[part]);
        ++longBand;
      } else if (shortBand < 12) {
        sf[23 + 13 * window + shortBand] = value;
        if (intensityRight) l3.isShortSlen[shortBand] = static_cast<uint8_t>(slen[part]);
        if (++window == 3) {
          window = 0;
          ++shortBand;
        }
      }
    }
  }
  if (intensityRight) {
    // Bands past the coded ones take the last partition length (illegal position 0).
    for (int b = longBand; b < 22; ++b) l3.isLongSlen[b] = 0;
    for (int b = shortBand + (window ? 1 : 0); b < 13; ++b) l3.isShortSlen[b] = 0;
  }
}

// Huffman decoding of one channel's big values and count1 region.
// Stops early when the data overruns the channel's part2_3 area.
void DecodeSpectrum(Layer3State& l3, BitReader& shared, int slot, int ch, int64_t part2_3_start) {
  // A local reader keeps the cache in registers across the value stores.
  BitReader bits = shared;
  const GranuleChannel& g = l3.side[slot][ch];
  int32_t* q = l3.quantised[ch];
  const uint16_t* lb = l3.longBounds;
  const int maxLines = l3.maxLines;
  int bigLines = std::min<int>(static_cast<int>(g.big_values) * 2, maxLines);
  int r1 = lb[std::min<uint32_t>(g.region0_count + 1, 22)];
  int r2 = lb[std::min<uint32_t>(g.region0_count + g.region1_count + 2, 22)];
  r1 = std::min(r1, bigLines);
  r2 = std::min(r2, bigLines);
  const int regionEnd[3] = {r1, r2, bigLines};
  int line = 0;
  for (int region = 0; region < 3; ++region) {
    const uint32_t select = g.table_select[region];
    const int end = regionEnd[region];
    const HuffmanLookup& lookup = g_lookup[select];
    if (lookup.entries.empty()) {
      for (; line < end; ++line) q[line] = 0;
      continue;
    }
    const int linbits = kLinbits[select];
    const uint32_t* table = lookup.entries.data();
    // A code takes at most 19 of the 32 bits ensured, so both signs are in
    // hand unless linbits come first, and getWide keeps two for them. Past
    // the channel's data the reader gives zeros; an overrun zeroes the whole
    // channel below, so it is checked once, after the big values.
    for (; line < end; line += 2) {
      bits.ensure<32>();
      int width = lookup.rootBits;
      uint32_t e = table[bits.peekUnchecked(width)];
      while (((e >> 8) & 0xFF) == 0) {
        bits.dropUnchecked(width);
        width = static_cast<int>(e & 0xFF);
        e = table[(e >> 16) + bits.peekUnchecked(width)];
      }
      bits.dropUnchecked(static_cast<int>((e >> 8) & 0xFF));
      int x = static_cast<int>((e >> 4) & 15);
      int y = static_cast<int>(e & 15);
      if (linbits && x == 15) x += static_cast<int>(bits.getWide(linbits));
      if (x && bits.get1Unchecked()) x = -x;
      if (linbits && y == 15) y += static_cast<int>(bits.getWide(linbits));
      if (y && bits.get1Unchecked()) y = -y;
      q[line] = x;
      q[line + 1] = y;
    }
  }
  const bool overrun = bits.overrun();
  // count1 region
  const int64_t part2_3_end = part2_3_start + g.part2_3_length;
  int count1 = 0;
  int lastQuad = -1;
  bool lastQuadShort = false;
  int i = bigLines;
  if (!overrun) {
    const uint16_t* quads = g_count1Quads[g.count1table_select != 0 ? 1 : 0];
    const int64_t least = g.count1table_select != 0 ? 4 : 1;
    const int64_t overrunAt = bits.endPosition();
    static constexpr int32_t kValue[4] = {0, 1, 0, -1};
    int quadIndex = 0;
    while (i + 4 <= maxLines) {
      const int64_t position = bits.position();
      if (part2_3_end - position < least || position > overrunAt) break;
      bits.ensure<32>();
      const uint32_t e = quads[bits.peekUnchecked(kCount1Peek)];
      const int taken = static_cast<int>(e >> 8);
      bits.dropUnchecked(taken);
      // A quadruple that ends past the channel's data counts as zeros.
      if (position + taken > part2_3_end) {
        q[i] = q[i + 1] = q[i + 2] = q[i + 3] = 0;
        break;
      }
      q[i] = kValue[(e >> 6) & 3];
      q[i + 1] = kValue[(e >> 4) & 3];
      q[i + 2] = kValue[(e >> 2) & 3];
      q[i + 3] = kValue[e & 3];
      if (e & 0xFF) {
        lastQuad = quadIndex;
        lastQuadShort = (e & 0x0F) == 0;
      }
      i += 4;
      ++quadIndex;
    }
    if (lastQuad >= 0) count1 = 4 * (lastQuad + 1) - (lastQuadShort ? 2 : 0);
  }
  const bool shortBlocks = g.window_switching_flag && g.block_type == 2;
  int nonzero = std::min(bigLines + count1, shortBlocks ? l3.shortLineLimit : l3.longLineLimit);
  if (overrun || bits.overrun()) nonzero = 0;
  for (int k = std::max(nonzero, 0); k < 576; ++k) q[k] = 0;
  l3.nonzero[slot][ch] = nonzero;
  shared = bits;
}

void DecodeGranule(DecoderState& d, uint8_t* output, int slot, int64_t& bitPosition) {
  Layer3State& l3 = d.layer3;
  BitReader& bits = d.bits;
  const uint8_t* limit = l3.reservoir + l3.fill;
  // The side information may claim more bits than the reservoir holds; every
  // address stays inside the reservoir array, and the reader then sees its
  // zero padding and reports the overrun.
  const auto clamped = [&l3](int64_t byte) {
    return l3.reservoir + std::min<int64_t>(byte, int64_t{sizeof l3.reservoir});
  };
  for (int ch = 0; ch < l3.channels; ++ch) {
    const GranuleChannel& g = l3.side[slot][ch];
    bits.start(clamped(bitPosition / 8), limit);
    bits.skip(static_cast<uint32_t>(bitPosition % 8));
    const int64_t start = bits.position();
    bitPosition += g.part2_3_length;
    bits.setEnd(clamped((bitPosition + 39) / 8));
    if (l3.version == 1)
      ReadScalefactorsMpeg1(l3, bits, slot, ch);
    else
      ReadScalefactorsMpeg2(l3, bits, slot, ch, l3.intensityStereo ? 1 : 0);
    DecodeSpectrum(l3, bits, slot, ch, start);
  }
  ReconstructGranule(d, slot, output);
}

}  // namespace

void BuildLayer3Tables() {
  BuildHuffmanLookups();
  BuildReconstructionTables();
}

int Layer3Start(DecoderState& d, const FrameHeader& header) {
  Layer3State& s = d.layer3;
  s.fill = 0;
  s.mainStart = 0;
  s.parity = 0;
  s.version = header.version;
  s.samplingIndex = header.samplingIndex;
  s.mixedLongBands = header.version == 1 ? 8 : 6;
  const int limit = LayerSubbandLimit(d);
  d.subbandLimit = limit;
  const BandBoundaries& bounds = kBandBoundaries[header.version - 1][header.samplingIndex];
  s.longBounds = bounds.longBounds;
  s.shortBounds = bounds.shortBounds;
  // MPEG-2 and 2.5 code no scale factor for long band 21 and short band 12,
  // but they do code lines there: they are decoded with scale factor 0, as
  // for MPEG-1, rather than dropped.
  s.longLineLimit = bounds.longBounds[22];
  s.shortLineLimit = 3 * bounds.shortBounds[13];
  s.maxLines = std::min(s.longLineLimit + 8, limit * 18);
  s.longLineLimit = std::min(s.longLineLimit, s.maxLines);
  s.shortLineLimit = std::min(s.shortLineLimit, s.maxLines);
  s.channels = header.mode == 3 ? 1 : 2;
  const uint32_t conversion = d.options.conversion & kConversionChannelMask;
  const bool oneChannel = s.channels == 1 || conversion != 0;
  d.synthesis3 = CurrentSynthesis3(d, oneChannel);
  s.hybridFilter = SelectLayer3Kernels(d.simd).hybridFilter;
  s.requantiseBand = SelectLayer3Kernels(d.simd).requantiseBand;
  if (s.channels == 1)
    s.outputRoute = 0;
  else
    s.outputRoute = conversion == 0 ? 1 : conversion == 1 ? 2 : conversion == 2 ? 0 : 3;
  const uint32_t outChannels = oneChannel ? 1 : 2;
  s.granuleBytes = (576u >> d.options.reduction) * outChannels * ((d.options.conversion & kConversion8Bit) ? 1 : 2);
  std::memset(d.sampleBuffer, 0, sizeof d.sampleBuffer);
  std::memset(s.quantised, 0, sizeof s.quantised);
  std::memset(s.lines, 0, sizeof s.lines);
  std::memset(s.side, 0, sizeof s.side);
  std::memset(s.scalefac, 0, sizeof s.scalefac);
  std::memset(s.nonzero, 0, sizeof s.nonzero);
  ResetReconstruction(s);
  return 1;
}

bool Layer3Decode(DecoderState& d, const FrameHeader& header, const uint8_t* frame, uint8_t* output) {
  Layer3State& s = d.layer3;
  // The stream's own version decides the frame layout, so a stray header of
  // another version cannot make the frame write more than one frame of PCM.
  const bool lsf = s.version != 1;
  s.msStereo = s.channels == 2 && header.mode == 1 && (header.modeExtension & 2);
  s.intensityStereo = s.channels == 2 && header.mode == 1 && (header.modeExtension & 1);

  const int headerBytes = 4 + (header.crc ? 2 : 0);
  const int sideBytes = SideInfoBytes(s.version, s.channels);
  const uint8_t* frameEnd = frame + d.frameLength;
  BitReader& bits = d.bits;
  bits.start(frame + headerBytes, frameEnd);
  if (!lsf) {
    s.main_data_begin = bits.get(9);
    bits.get(s.channels == 1 ? 5 : 3);
    for (int ch = 0; ch < s.channels; ++ch) s.scfsi[ch] = bits.get(4);
    for (int gr = 0; gr < 2; ++gr)
      for (int ch = 0; ch < s.channels; ++ch) ReadGranuleChannel(bits, s.side[gr][ch], false, s.msStereo);
  } else {
    s.main_data_begin = bits.get(8);
    bits.get(s.channels == 1 ? 1 : 2);
    s.scfsi[0] = s.scfsi[1] = 0;
    for (int ch = 0; ch < s.channels; ++ch) ReadGranuleChannel(bits, s.side[s.parity][ch], true, s.msStereo);
  }

  s.mainStart = s.fill - static_cast<int>(s.main_data_begin);
  if (s.fill > kReservoirCompactAbove) {
    const int keep = static_cast<int>(s.main_data_begin);
    std::memmove(s.reservoir, s.reservoir + s.fill - keep, static_cast<size_t>(keep));
    s.mainStart = 0;
    s.fill = keep;
  }
  int mainBytes = static_cast<int>(d.frameLength) - headerBytes - sideBytes;
  if (mainBytes < 0) mainBytes = 0;
  if (mainBytes > kReservoirSize - s.fill) mainBytes = kReservoirSize - s.fill;
  std::memcpy(s.reservoir + s.fill, frame + headerBytes + sideBytes, static_cast<size_t>(mainBytes));
  s.fill += mainBytes;
  std::memset(s.reservoir + s.fill, 0, 64);

  if (s.mainStart < 0) return false;
  int64_t bitPosition = int64_t{s.mainStart} * 8;
  if (!lsf) {
    DecodeGranule(d, output, 0, bitPosition);
    DecodeGranule(d, output + s.granuleBytes, 1, bitPosition);
  } else {
    DecodeGranule(d, output, s.parity, bitPosition);
    s.parity ^= 1;
  }
  return true;
}

}  // namespace lexoria::mpeg
