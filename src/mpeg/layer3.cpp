#include "layer3.h"

#include <cstring>

#include "decoderstate.h"

namespace lexoria::mpeg {

int Layer3Start(const FrameHeader&) { return 1; }
void Layer3Decode(const FrameHeader&, const uint8_t*, uint8_t* output) {
  std::memset(output, 0, Decoder().outputBytesPerFrame);
}
void BuildLayer3Tables() {}

}  // namespace lexoria::mpeg
