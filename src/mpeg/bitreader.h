// SPDX-License-Identifier: GPL-3.0-or-later
// Bit reader shared by all layers: most significant bit first, refilled a
// byte at a time. Reads never go past the limit given at start: bytes beyond
// it read as zero, so a short or damaged frame cannot read outside its
// buffer, while position() still counts the bits as if they were there. The
// read address itself never moves past the limit either; the bytes beyond it
// are only counted.
//
// Precondition of every read: at most 32 bits at a time (get, peek, the
// unchecked forms), and at most kGuaranteed bits asked for in hand at once
// (ensure<n>, checked at compile time). refill keeps the cache at 56 to 63
// bits, so a shift by 64 never happens.
#pragma once

#include <algorithm>
#include <cassert>
#include <cstdint>

namespace lexoria::mpeg {

class BitReader {
 public:
  // Bits a refill always leaves in hand.
  static constexpr int kGuaranteed = 56;

  // start(address): current = start = address, nothing cached. `limit` is
  // one past the last byte that may be read.
  void start(const uint8_t* address, const uint8_t* limit) {
    current_ = start_ = address;
    limit_ = limit;
    end_ = limit;
    beyond_ = 0;
    cache_ = 0;
    valid_ = 0;
  }

  // get(n), n <= 32: the next n bits.
  uint32_t get(int n) {
    assert(n >= 0 && n <= 32);
    if (valid_ < n) refill();
    return getUnchecked(n);
  }
  // get-wide(n): as get, but keeps two more bits in hand (Huffman linbits).
  uint32_t getWide(int n) {
    if (valid_ < n + 2) refill();
    return getUnchecked(n);
  }
  // ensure<n>(): at least n (<= kGuaranteed) bits cached afterwards, for
  // that many bits of unchecked reads.
  template <int N>
  void ensure() {
    static_assert(N >= 0 && N <= kGuaranteed, "a refill guarantees 56 bits");
    if (valid_ < N) refill();
  }
  // peek(n), n <= 32: the next n bits without consuming them.
  uint32_t peek(int n) {
    if (valid_ < 32) refill();
    return peekUnchecked(n);
  }

  // The unchecked forms: the caller has ensured enough bits are cached.
  uint32_t getUnchecked(int n) {
    assert(n >= 0 && n <= 32 && n <= valid_);
    if (n == 0) return 0;
    valid_ -= n;
    return static_cast<uint32_t>(cache_ >> valid_) & mask(n);
  }
  uint32_t get1Unchecked() {
    --valid_;
    return static_cast<uint32_t>(cache_ >> valid_) & 1u;
  }
  uint32_t peekUnchecked(int n) const {
    if (n == 0) return 0;
    return static_cast<uint32_t>(cache_ >> (valid_ - n)) & mask(n);
  }
  void dropUnchecked(int n) { valid_ -= n; }

  // skip(n): moves on n bits, jumping over whole bytes without reading them.
  void skip(uint32_t n) {
    if (n <= static_cast<uint32_t>(valid_)) {
      valid_ -= static_cast<int>(n);
      return;
    }
    uint32_t excess = n - static_cast<uint32_t>(valid_);
    valid_ = 0;
    cache_ = 0;
    advance(excess / 8);
    if (excess % 8) {
      refill();
      valid_ -= static_cast<int>(excess % 8);
    }
  }

  // Bits consumed since start.
  int64_t position() const { return (static_cast<int64_t>(current_ - start_) + beyond_) * 8 - valid_; }

  // overrun() is true once the bits consumed reach past the end address.
  void setEnd(const uint8_t* address) { end_ = address; }
  bool overrun() const { return position() > endPosition(); }
  int64_t endPosition() const { return static_cast<int64_t>(end_ - start_) * 8; }

  const uint8_t* startAddress() const { return start_; }
  int valid() const { return valid_; }

  // Appends whole bytes until at least 56 bits are cached; never more than
  // 63, so that every shift below stays under 64 (a cache already holding
  // 56 or more takes no byte).
  void refill() {
    assert(valid_ >= 0 && valid_ <= 63);
    if (limit_ - current_ >= 8) {
      uint64_t word = 0;
      for (int i = 0; i < 8; ++i) word = (word << 8) | current_[i];
      const int bytes = (63 - valid_) >> 3;
      // The incoming bytes are the top `bytes` of the word: shifted in two
      // steps so that taking none shifts by 63 + 1, not by 64.
      cache_ = (cache_ << (bytes * 8)) | ((word >> 1) >> (63 - bytes * 8));
      current_ += bytes;
      valid_ += bytes * 8;
      return;
    }
    while (valid_ < kGuaranteed) {
      uint8_t byte = 0;
      if (current_ < limit_)
        byte = *current_++;
      else
        ++beyond_;
      cache_ = (cache_ << 8) | byte;
      valid_ += 8;
    }
  }

 private:
  static constexpr uint32_t mask(int n) { return n >= 32 ? 0xFFFFFFFFu : ((1u << n) - 1); }

  // Moves the read address on by `bytes`, stopping at the limit.
  void advance(uint32_t bytes) {
    const int64_t room = current_ < limit_ ? limit_ - current_ : 0;
    const int64_t step = std::min<int64_t>(bytes, room);
    current_ += step;
    beyond_ += bytes - step;
  }

  const uint8_t* current_ = nullptr;
  const uint8_t* start_ = nullptr;
  const uint8_t* limit_ = nullptr;
  const uint8_t* end_ = nullptr;
  int64_t beyond_ = 0;  // bytes counted past the limit
  uint64_t cache_ = 0;  // valid bits are the low ones
  int valid_ = 0;
};

}  // namespace lexoria::mpeg
