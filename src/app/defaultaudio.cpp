#include "app/defaultaudio.h"

std::unique_ptr<lexoria::sound::AudioOutput> CreateDefaultAudioOutput() {
  // No device output yet: the player decodes and plays silently.
  return nullptr;
}
