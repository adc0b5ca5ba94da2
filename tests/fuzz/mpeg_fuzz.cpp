// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: arbitrary bytes through the stream reader and the
// decoder, with options taken from the first byte. The input and output
// buffers are sized exactly so the sanitizers catch any access outside them.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "mpeg/mpegdecoder.h"

using namespace lexoria::mpeg;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const uint8_t control = data[0];
  std::vector<uint8_t> input(data + 1, data + size);
  const int32_t length = static_cast<int32_t>(input.size());

  uint32_t offset = 0;
  FindFrameSync(input.data(), length, offset);
  FrameHeader header;
  if (input.size() >= 4) ReadFrameHeader(input.data(), header);

  Decoder decoder;
  DecoderOptions options;
  options.reduction = control % 3;
  options.conversion = (control >> 2) & (3 | kConversion8Bit | kConversionPrecise);
  options.frequencyLimit = (control & 0x80) ? 24000 : 6000;
  decoder.SetOptions(options);

  FrameInfo info;
  if (decoder.ReadStreamInfo(input.data(), length, info, 1) != Result::kOk) return 0;
  if (decoder.Start(input.data(), static_cast<uint32_t>(input.size())) != Result::kOk) return 0;
  std::vector<uint8_t> output(info.pcmBytesPerFrame);
  size_t position = 0;
  for (int frames = 0; frames < 64 && position + 4 < input.size(); ++frames) {
    FrameRequest request;
    request.input = input.data() + position;
    request.inputLength = static_cast<uint32_t>(input.size() - position);
    request.output = output.data();
    if (Decoded(decoder.Decode(request))) {
      position += request.inputLength;
    } else {
      uint32_t next = 0;
      if (FindFrameSync(input.data() + position + 1, static_cast<int32_t>(input.size() - position - 1), next) !=
          Result::kOk)
        break;
      position += 1 + next;
    }
  }
  return 0;
}
