#include "app/defaultaudio.h"

#include "toolkit/audiosinkoutput.h"

std::unique_ptr<lexoria::sound::AudioOutput> CreateDefaultAudioOutput() {
  return std::make_unique<lexoria::AudioSinkOutput>();
}
