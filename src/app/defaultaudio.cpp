// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/defaultaudio.h"

#include "toolkit/pulseoutput.h"

// The sound server's own library: a stream kept open across plays sounds
// within a few milliseconds of Play, where the toolkit's sink took a tenth
// of a second.
std::unique_ptr<lexoria::sound::AudioOutput> CreateDefaultAudioOutput() {
  return std::make_unique<lexoria::PulseOutput>();
}
