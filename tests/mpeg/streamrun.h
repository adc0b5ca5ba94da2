// SPDX-License-Identifier: GPL-3.0-or-later
// A whole stream through one caller-owned decoder, frame by frame, the way
// mpadec walks it: resynchronising past what does not decode.
#pragma once

#include <cstring>
#include <vector>

#include "mpeg/mpegdecoder.h"

namespace mpegtest {

using namespace lexoria::mpeg;

struct Stream {
  std::vector<uint8_t> bytes;
  DecoderOptions options;
};

// Frame by frame from the first sync; Step lets two decoders take turns.
class StreamRun {
 public:
  explicit StreamRun(const Stream& s, Simd simd = BestSimd()) : stream_(s.bytes) {
    decoder_.SetSimd(simd);
    stream_.resize(stream_.size() + 256, 0);
    length_ = s.bytes.size();
    decoder_.SetOptions(s.options);
    FindFrameSync(stream_.data(), static_cast<int32_t>(length_), offset_);
    FrameInfo info;
    started_ = decoder_.ReadStreamInfo(stream_.data() + offset_, static_cast<int32_t>(length_ - offset_), info, 1) ==
                   Result::kOk &&
               decoder_.Start(stream_.data() + offset_, static_cast<uint32_t>(length_ - offset_)) == Result::kOk;
    frame_.resize(info.pcmBytesPerFrame);
  }
  bool Started() const { return started_; }
  // One frame; false at the end.
  bool Step() {
    if (!started_ || offset_ + 4 > length_) return false;
    FrameRequest r;
    r.input = stream_.data() + offset_;
    r.inputLength = static_cast<uint32_t>(length_ - offset_);
    std::memset(frame_.data(), 0, frame_.size());
    r.output = frame_.data();
    const Result status = decoder_.Decode(r);
    if (Decoded(status)) {
      pcm_.insert(pcm_.end(), frame_.begin(), frame_.end());
      offset_ += r.inputLength;
      return true;
    }
    if (status == Result::kTooLittleData) return false;
    ++offset_;
    return true;
  }
  std::vector<uint8_t> Run() {
    while (Step()) {
    }
    return pcm_;
  }
  const std::vector<uint8_t>& Pcm() const { return pcm_; }

 private:
  Decoder decoder_;
  std::vector<uint8_t> stream_;
  size_t length_ = 0;
  uint32_t offset_ = 0;
  bool started_ = false;
  std::vector<uint8_t> frame_;
  std::vector<uint8_t> pcm_;
};

}  // namespace mpegtest
