// SPDX-License-Identifier: GPL-3.0-or-later
// The bit reader against a plain bit-by-bit reading of the same bytes, for
// every read width and every fill of the cache, refills of a full cache
// included; and bytes past the limit read as zero.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "bitreader.h"

using lexoria::mpeg::BitReader;

namespace {

uint32_t BitsAt(const std::vector<uint8_t>& bytes, int64_t position, int n) {
  uint32_t v = 0;
  for (int i = 0; i < n; ++i) {
    const int64_t p = position + i;
    const uint32_t bit = p / 8 < static_cast<int64_t>(bytes.size()) ? (bytes[p / 8] >> (7 - p % 8)) & 1 : 0;
    v = (v << 1) | bit;
  }
  return v;
}

std::vector<uint8_t> Pattern(size_t size) {
  std::vector<uint8_t> bytes(size);
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(i * 73 + 41);
  return bytes;
}

TEST(BitReader, EveryWidthFromEveryFill) {
  const std::vector<uint8_t> bytes = Pattern(64);
  for (int lead = 0; lead < 64; ++lead)
    for (int n = 0; n <= 32; ++n) {
      BitReader bits;
      bits.start(bytes.data(), bytes.data() + bytes.size());
      bits.skip(static_cast<uint32_t>(lead));
      // Whatever is cached now, 56 to 63 bits included, refill keeps it.
      bits.refill();
      ASSERT_GE(bits.valid(), BitReader::kGuaranteed);
      ASSERT_LE(bits.valid(), 63);
      bits.refill();
      ASSERT_EQ(bits.get(n), BitsAt(bytes, lead, n)) << "lead " << lead << " width " << n;
      ASSERT_EQ(bits.position(), lead + n);
      ASSERT_EQ(bits.peek(32), BitsAt(bytes, lead + n, 32));
    }
}

TEST(BitReader, ThreeWideCodesAfterOneEnsure) {
  const std::vector<uint8_t> bytes = Pattern(32);
  for (int lead = 0; lead < 40; ++lead) {
    BitReader bits;
    bits.start(bytes.data(), bytes.data() + bytes.size());
    bits.skip(static_cast<uint32_t>(lead));
    bits.ensure<48>();
    for (int k = 0; k < 3; ++k) ASSERT_EQ(bits.getUnchecked(16), BitsAt(bytes, lead + 16 * k, 16)) << lead;
  }
}

TEST(BitReader, BytesPastTheLimitReadAsZero) {
  const std::vector<uint8_t> bytes = Pattern(12);
  const int limit = 5;
  BitReader bits;
  bits.start(bytes.data(), bytes.data() + limit);
  const std::vector<uint8_t> visible(bytes.begin(), bytes.begin() + limit);
  for (int64_t p = 0; p < 96; p += 12) ASSERT_EQ(bits.get(12), BitsAt(visible, p, 12)) << p;
  EXPECT_EQ(bits.position(), 96);
  bits.setEnd(bytes.data() + limit);
  EXPECT_TRUE(bits.overrun());
}

}  // namespace
