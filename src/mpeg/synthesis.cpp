#include "decoderstate.h"

namespace lexoria::mpeg {
void ResetSynthesis() {}
void BuildSynthesisTables() {}
SynthesisVariant12 SelectSynthesis12(bool, uint32_t, int, bool) { return nullptr; }
SynthesisVariant3 SelectSynthesis3(bool, uint32_t, bool, bool) { return nullptr; }
SynthesisVariant12 CurrentSynthesis12(int) { return nullptr; }
SynthesisVariant3 CurrentSynthesis3(bool) { return nullptr; }
}  // namespace lexoria::mpeg
