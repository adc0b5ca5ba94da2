// Layers I and II: placeholder until the subband layers are written. Start
// succeeds and every frame decodes to silence.
#include "layer12.h"

#include <cstring>

#include "decoderstate.h"

namespace lexoria::mpeg {

int Layer1Start(const FrameHeader&) { return 1; }

void Layer1Decode(const FrameHeader&, const uint8_t*, uint8_t* output) {
  std::memset(output, (Decoder().options.conversion & kConversion8Bit) ? 128 : 0, Decoder().outputBytesPerFrame);
}

int Layer2Start(const FrameHeader&) { return 1; }

void Layer2Decode(const FrameHeader& header, const uint8_t* frame, uint8_t* output) {
  Layer1Decode(header, frame, output);
}

void BuildLayer12Tables() {}

}  // namespace lexoria::mpeg
