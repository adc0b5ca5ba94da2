// The sound card behind the player's audio output port, through the sound
// server's own client library (PulseAudio, or PipeWire serving its
// protocol). One connection and one stream are kept across clips and plays:
// a Write only flushes what the stream still holds and queues the new
// block, so the first sample sounds within the server's start-up of a
// stream that is already there. The whole block is queued at once where
// the server takes it, so a busy machine cannot starve the play.
//
// A server that is missing or goes away makes Lost() true; the next Open
// connects again.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "sound/audiooutput.h"

struct pa_context;
struct pa_stream;
struct pa_threaded_mainloop;

namespace lexoria {

class PulseOutput : public sound::AudioOutput {
 public:
  PulseOutput();
  ~PulseOutput() override;
  PulseOutput(const PulseOutput&) = delete;
  PulseOutput& operator=(const PulseOutput&) = delete;

  bool Open(const sound::WaveFormat& format) override;
  void Write(const uint8_t* data, uint32_t size) override;
  void Reset() override;
  void Pause() override;
  void Restart() override;
  void Close() override;
  bool Lost() const override { return m_lost.load(); }

  // Bytes of the last block the server has not taken yet (tests).
  uint32_t Pending() const;

 private:
  bool Connect();
  bool PrepareStream(const sound::WaveFormat& format);
  void Disconnect();
  void DropStream();
  // Hands the server up to `budget` bytes of the block; called with the
  // main loop locked, from Write and from the stream's write request.
  void Feed(size_t budget);
  // Waits (locked) until `done` or the deadline; false on timeout.
  template <typename Done>
  bool WaitLocked(Done done, int timeoutMs);

  static void OnContextState(pa_context* context, void* self);
  static void OnStreamState(pa_stream* stream, void* self);
  static void OnWriteRequest(pa_stream* stream, size_t bytes, void* self);

  pa_threaded_mainloop* m_loop = nullptr;
  pa_context* m_context = nullptr;
  pa_stream* m_stream = nullptr;
  sound::WaveFormat m_format;
  const uint8_t* m_data = nullptr;
  uint32_t m_size = 0;
  uint32_t m_written = 0;
  std::atomic<bool> m_lost{false};
};

}  // namespace lexoria
