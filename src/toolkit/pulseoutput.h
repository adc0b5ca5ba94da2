// SPDX-License-Identifier: GPL-3.0-or-later
// The sound card behind the player's audio output port, through the sound
// server's own client library (PulseAudio, or PipeWire serving its
// protocol). One connection and one stream are kept across clips and plays:
// a Write only flushes what the stream still holds and queues the new
// block, so the first sample sounds within the server's start-up of a
// stream that is already there. The whole block is queued at once where
// the server takes it, so a busy machine cannot starve the play; once the
// server has played it out, the stream is corked again, so the sink goes
// idle and can suspend between plays.
//
// Nothing here waits on the server answering. The connection starts when
// the output is made and goes on in the library's own thread; Open and
// Write return at once. A server that is missing is known within the
// socket's connect (Open false, Lost() true); one that is running but has
// not answered yet makes Waiting() true, and a block written meanwhile is
// held and plays when the stream is ready. A server that goes away makes
// Lost() true; the next Open connects again.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "sound/audiooutput.h"

struct pa_context;
struct pa_operation;
struct pa_stream;
struct pa_threaded_mainloop;

namespace lexoria {

class PulseOutput : public sound::AudioOutput {
 public:
  // Starts connecting to the server, without waiting for its answer.
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
  bool Waiting() const override;

  // Bytes of the last block the server has not taken yet (tests).
  uint32_t Pending() const;
  // True when no block is waiting for the stream or still playing: the
  // stream is corked and the sink may go idle.
  bool Played() const;
  // Waits at most timeoutMs for the last block to play out (tools); false
  // on timeout or when the server went away.
  bool WaitPlayed(int timeoutMs);

 private:
  // The library's lock, held for one scope.
  class Lock;

  // A new loop and context, connecting; false when the server is missing.
  bool Connect();
  void Disconnect();
  // With the loop locked, from here on.
  void CreateStream();
  void DropStream();
  bool StreamReady() const;
  // Flush, queue the held block and uncork (the stream is ready).
  void StartBlock();
  // Hands the server up to `budget` bytes of the block, from Write and from
  // the stream's write request; asks for a drain once all of it is queued.
  void Feed(size_t budget);
  void CancelDrain();
  // Waits on the loop's signal until `done` or the deadline; false on
  // timeout.
  template <typename Done>
  bool WaitLocked(Done done, int timeoutMs);

  static void OnContextState(pa_context* context, void* self);
  static void OnStreamState(pa_stream* stream, void* self);
  static void OnWriteRequest(pa_stream* stream, size_t bytes, void* self);
  static void OnDrained(pa_stream* stream, int success, void* self);

  pa_threaded_mainloop* m_loop = nullptr;
  pa_context* m_context = nullptr;
  pa_stream* m_stream = nullptr;
  pa_operation* m_drain = nullptr;
  // The format asked for by the last Open, and the stream's.
  sound::WaveFormat m_format;
  bool m_haveFormat = false;
  sound::WaveFormat m_streamFormat;
  const uint8_t* m_data = nullptr;
  uint32_t m_size = 0;
  uint32_t m_written = 0;
  bool m_held = false;     // a block waits for the stream to be ready
  bool m_playing = false;  // a block is uncorked and not played out yet
  bool m_paused = false;
  std::atomic<bool> m_lost{false};
};

}  // namespace lexoria
