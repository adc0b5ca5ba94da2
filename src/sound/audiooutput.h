// SPDX-License-Identifier: GPL-3.0-or-later
// The audio output port: the few device operations the wave player needs.
// One buffer is written at a time and played on its own; the caller keeps
// the bytes alive and unchanged until Reset or Close. Implementations:
// CaptureOutput (keeps what was written, for tests and tools), and in the
// window toolkit PulseOutput (the sound server, what the program and the
// tools use).
#pragma once

#include <cstdint>

#include "sound/waveformat.h"

namespace lexoria::sound {

class AudioOutput {
 public:
  virtual ~AudioOutput() = default;

  // Opens the default device for `format`; false when there is none or it
  // refuses the format. The player then writes nothing.
  virtual bool Open(const WaveFormat& format) = 0;
  // Hands one buffer over; it starts playing at once. A buffer still
  // playing is dropped first.
  virtual void Write(const uint8_t* data, uint32_t size) = 0;
  // Stops at once and gives the buffer back.
  virtual void Reset() = 0;
  virtual void Pause() = 0;
  // Continues after Pause.
  virtual void Restart() = 0;
  virtual void Close() = 0;
  // True once the device has gone away (a sound server that stopped); the
  // output then plays nothing until it is opened again.
  virtual bool Lost() const { return false; }
  // True while the device is there but has not answered yet (a sound server
  // that is slow to accept the connection): a buffer written now is held
  // and plays when it does, unless Reset drops it first.
  virtual bool Waiting() const { return false; }
};

}  // namespace lexoria::sound
