// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: two streams cut from the input, each decoded alone and
// then by two decoders taking turns frame by frame. Any difference means
// one decoder's state leaked into the other; the sanitizers watch the
// accesses as in the single-decoder target.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "mpeg/mpegdecoder.h"

using namespace lexoria::mpeg;

namespace {

constexpr int kMaxFrames = 32;

class Run {
 public:
  Run(const uint8_t* data, size_t size, uint8_t control) : input_(data, data + size) {
    DecoderOptions options;
    options.reduction = control % 3;
    options.conversion = (control >> 2) & (3 | kConversion8Bit | kConversionPrecise);
    options.frequencyLimit = (control & 0x80) ? 24000 : 6000;
    decoder_.SetOptions(options);
    FrameInfo info;
    const int32_t length = static_cast<int32_t>(input_.size());
    live_ = decoder_.ReadStreamInfo(input_.data(), length, info, 1) == Result::kOk &&
            decoder_.Start(input_.data(), static_cast<uint32_t>(input_.size())) == Result::kOk;
    if (live_) frame_.resize(info.pcmBytesPerFrame);
  }

  // One frame or one resynchronisation; false once done.
  bool Step() {
    if (!live_ || frames_ >= kMaxFrames || position_ + 4 >= input_.size()) return false;
    ++frames_;
    FrameRequest request;
    request.input = input_.data() + position_;
    request.inputLength = static_cast<uint32_t>(input_.size() - position_);
    request.output = frame_.data();
    const Result status = decoder_.Decode(request);
    if (status == Result::kOk) {
      pcm_.insert(pcm_.end(), frame_.begin(), frame_.end());
      position_ += request.inputLength;
      return true;
    }
    if (status == Result::kNoOutput) {
      position_ += request.inputLength;
      return true;
    }
    uint32_t next = 0;
    const int32_t left = static_cast<int32_t>(input_.size() - position_ - 1);
    if (FindFrameSync(input_.data() + position_ + 1, left, next) != Result::kOk) return false;
    position_ += 1 + next;
    return true;
  }

  const std::vector<uint8_t>& Pcm() const { return pcm_; }

 private:
  Decoder decoder_;
  std::vector<uint8_t> input_;  // sized exactly, so reads past it are caught
  std::vector<uint8_t> frame_;
  std::vector<uint8_t> pcm_;
  size_t position_ = 0;
  int frames_ = 0;
  bool live_ = false;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  const uint8_t controlA = data[0];
  const uint8_t controlB = data[1];
  const size_t cut = 2 + (size - 2) * data[2] / 255;
  const uint8_t* a = data + 3;
  const size_t sizeA = cut > 3 ? cut - 3 : 0;
  const uint8_t* b = data + 3 + sizeA;
  const size_t sizeB = size - 3 - sizeA;

  Run aloneA(a, sizeA, controlA);
  while (aloneA.Step()) {
  }
  Run aloneB(b, sizeB, controlB);
  while (aloneB.Step()) {
  }
  Run turnA(a, sizeA, controlA);
  Run turnB(b, sizeB, controlB);
  bool more = true;
  while (more) {
    more = turnA.Step();
    more = turnB.Step() || more;
  }
  if (turnA.Pcm() != aloneA.Pcm() || turnB.Pcm() != aloneB.Pcm()) std::abort();
  return 0;
}
