// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/pulseoutput.h"

#include <pulse/pulseaudio.h>
#include <pulse/rtclock.h>

#include <algorithm>

namespace lexoria {

namespace {

// The socket's connect ends within milliseconds whether or not the server
// process runs (the kernel queues the connection); a server that is missing
// is refused there. This only bounds a machine in trouble.
constexpr int kSocketTimeoutMs = 250;
// The latency asked of the server: small, so the sink mixes a new play at
// once. The whole clip is queued beyond it, so it costs no underruns.
constexpr uint32_t kTargetLatencyMs = 25;

void Drop(pa_operation* operation) {
  if (operation != nullptr) pa_operation_unref(operation);
}

bool Connecting(pa_context_state_t state) { return state == PA_CONTEXT_UNCONNECTED || state == PA_CONTEXT_CONNECTING; }

pa_sample_spec SpecOf(const sound::WaveFormat& format) {
  pa_sample_spec spec;
  spec.format = PA_SAMPLE_S16LE;
  spec.rate = format.samplesPerSec;
  spec.channels = static_cast<uint8_t>(format.channels);
  return spec;
}

}  // namespace

class PulseOutput::Lock {
 public:
  explicit Lock(pa_threaded_mainloop* loop) : m_loop(loop) { pa_threaded_mainloop_lock(m_loop); }
  ~Lock() { pa_threaded_mainloop_unlock(m_loop); }
  Lock(const Lock&) = delete;
  Lock& operator=(const Lock&) = delete;

 private:
  pa_threaded_mainloop* m_loop;
};

PulseOutput::PulseOutput() { Connect(); }

PulseOutput::~PulseOutput() { Disconnect(); }

template <typename Done>
bool PulseOutput::WaitLocked(Done done, int timeoutMs) {
  if (done()) return true;
  // A timer on the loop wakes the wait at the deadline; every callback
  // signals, so the condition is checked again after each.
  struct Deadline {
    pa_threaded_mainloop* loop;
    bool passed = false;
  } deadline{m_loop};
  pa_time_event* timer = pa_context_rttime_new(
      m_context, pa_rtclock_now() + static_cast<pa_usec_t>(timeoutMs) * PA_USEC_PER_MSEC,
      [](pa_mainloop_api*, pa_time_event*, const struct timeval*, void* data) {
        auto* d = static_cast<Deadline*>(data);
        d->passed = true;
        pa_threaded_mainloop_signal(d->loop, 0);
      },
      &deadline);
  if (timer == nullptr) return done();
  while (!done() && !deadline.passed) pa_threaded_mainloop_wait(m_loop);
  pa_threaded_mainloop_get_api(m_loop)->time_free(timer);
  return done();
}

void PulseOutput::OnContextState(pa_context* context, void* self) {
  auto* out = static_cast<PulseOutput*>(self);
  const pa_context_state_t state = pa_context_get_state(context);
  if (!PA_CONTEXT_IS_GOOD(state)) out->m_lost = true;
  // A play asked for while the server had not answered gets its stream now.
  if (state == PA_CONTEXT_READY && out->m_haveFormat && out->m_stream == nullptr) out->CreateStream();
  pa_threaded_mainloop_signal(out->m_loop, 0);
}

void PulseOutput::OnStreamState(pa_stream* stream, void* self) {
  auto* out = static_cast<PulseOutput*>(self);
  const pa_stream_state_t state = pa_stream_get_state(stream);
  if (!PA_STREAM_IS_GOOD(state)) out->m_lost = true;
  if (state == PA_STREAM_READY && out->m_held) out->StartBlock();
  pa_threaded_mainloop_signal(out->m_loop, 0);
}

void PulseOutput::OnWriteRequest(pa_stream* /*stream*/, size_t bytes, void* self) {
  static_cast<PulseOutput*>(self)->Feed(bytes);
}

void PulseOutput::OnDrained(pa_stream* stream, int success, void* self) {
  auto* out = static_cast<PulseOutput*>(self);
  Drop(out->m_drain);
  out->m_drain = nullptr;
  if (success && out->m_playing) {
    // Played out: a corked stream lets the sink go idle.
    out->m_playing = false;
    Drop(pa_stream_cork(stream, 1, nullptr, nullptr));
  }
  pa_threaded_mainloop_signal(out->m_loop, 0);
}

bool PulseOutput::Connect() {
  Disconnect();
  m_lost = false;
  m_loop = pa_threaded_mainloop_new();
  if (m_loop == nullptr || pa_threaded_mainloop_start(m_loop) < 0) {
    Disconnect();
    m_lost = true;
    return false;
  }
  bool reached = false;
  {
    const Lock lock(m_loop);
    pa_proplist* props = pa_proplist_new();
    pa_proplist_sets(props, PA_PROP_APPLICATION_ID, "example.lexoria.Japanese");
    pa_proplist_sets(props, PA_PROP_APPLICATION_ICON_NAME, "example.lexoria.Japanese");
    m_context = pa_context_new_with_proplist(pa_threaded_mainloop_get_api(m_loop), "Lexoria Japanese", props);
    pa_proplist_free(props);
    if (m_context != nullptr) {
      pa_context_set_state_callback(m_context, &PulseOutput::OnContextState, this);
      // Never start a server of our own: no server means no sound, said by
      // the window.
      if (pa_context_connect(m_context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) >= 0) {
        // Only as far as the socket: a server that takes its time to answer
        // is waited for by nobody.
        WaitLocked([this] { return !Connecting(pa_context_get_state(m_context)); }, kSocketTimeoutMs);
        reached = PA_CONTEXT_IS_GOOD(pa_context_get_state(m_context));
      }
    }
  }
  if (!reached) {
    Disconnect();
    m_lost = true;
  }
  return reached;
}

void PulseOutput::CancelDrain() {
  if (m_drain == nullptr) return;
  pa_operation_cancel(m_drain);
  Drop(m_drain);
  m_drain = nullptr;
}

void PulseOutput::DropStream() {
  if (m_stream == nullptr) return;
  CancelDrain();
  pa_stream_set_state_callback(m_stream, nullptr, nullptr);
  pa_stream_set_write_callback(m_stream, nullptr, nullptr);
  pa_stream_disconnect(m_stream);
  pa_stream_unref(m_stream);
  m_stream = nullptr;
  m_playing = false;
}

void PulseOutput::Disconnect() {
  if (m_loop != nullptr) {
    {
      const Lock lock(m_loop);
      DropStream();
      if (m_context != nullptr) {
        pa_context_set_state_callback(m_context, nullptr, nullptr);
        pa_context_disconnect(m_context);
        pa_context_unref(m_context);
        m_context = nullptr;
      }
    }
    pa_threaded_mainloop_stop(m_loop);
    pa_threaded_mainloop_free(m_loop);
    m_loop = nullptr;
  }
  m_data = nullptr;
  m_size = m_written = 0;
  m_held = m_playing = m_paused = false;
}

void PulseOutput::CreateStream() {
  DropStream();
  const pa_sample_spec spec = SpecOf(m_format);
  m_stream = pa_stream_new(m_context, "Phrase", &spec, nullptr);
  if (m_stream == nullptr) return;
  pa_stream_set_state_callback(m_stream, &PulseOutput::OnStreamState, this);
  pa_stream_set_write_callback(m_stream, &PulseOutput::OnWriteRequest, this);
  pa_buffer_attr attr;
  attr.maxlength = static_cast<uint32_t>(-1);
  attr.tlength = static_cast<uint32_t>(pa_usec_to_bytes(kTargetLatencyMs * PA_USEC_PER_MSEC, &spec));
  // The server's own start threshold (the latency asked for): the whole
  // block is queued at once, so a play starts at once all the same, and a
  // drain is answered only where a stream stops when it runs dry.
  attr.prebuf = static_cast<uint32_t>(-1);
  attr.minreq = static_cast<uint32_t>(-1);
  attr.fragsize = static_cast<uint32_t>(-1);
  // Corked until a play, and again when it has played out, or the player
  // stops or lets go of its clip.
  const auto flags = static_cast<pa_stream_flags_t>(PA_STREAM_START_CORKED | PA_STREAM_ADJUST_LATENCY);
  if (pa_stream_connect_playback(m_stream, nullptr, &attr, flags, nullptr, nullptr) < 0) {
    DropStream();
    return;
  }
  m_streamFormat = m_format;
}

bool PulseOutput::StreamReady() const {
  return m_stream != nullptr && pa_stream_get_state(m_stream) == PA_STREAM_READY;
}

bool PulseOutput::Open(const sound::WaveFormat& format) {
  if (format.formatTag != sound::kWaveFormatPcm || format.bitsPerSample != 16) return false;
  const pa_sample_spec spec = SpecOf(format);
  if (!pa_sample_spec_valid(&spec)) return false;
  // A server that was missing or went away may be back.
  if ((m_lost || m_loop == nullptr) && !Connect()) return false;
  const Lock lock(m_loop);
  CancelDrain();
  m_data = nullptr;
  m_size = m_written = 0;
  m_held = m_playing = m_paused = false;
  m_format = format;
  m_haveFormat = true;
  const bool sameStream = m_stream != nullptr && PA_STREAM_IS_GOOD(pa_stream_get_state(m_stream)) &&
                          format.samplesPerSec == m_streamFormat.samplesPerSec &&
                          format.channels == m_streamFormat.channels;
  if (sameStream) {
    // A stream left from the last clip is stopped, not rebuilt.
    Drop(pa_stream_flush(m_stream, nullptr, nullptr));
    Drop(pa_stream_cork(m_stream, 1, nullptr, nullptr));
  } else if (pa_context_get_state(m_context) == PA_CONTEXT_READY) {
    CreateStream();
  }
  // Otherwise the stream is made when the server answers.
  return true;
}

void PulseOutput::StartBlock() {
  m_held = false;
  Drop(pa_stream_flush(m_stream, nullptr, nullptr));
  m_playing = true;
  // The server takes up to its buffer's length beyond the latency asked for,
  // and asks for any rest as it plays.
  const pa_buffer_attr* attr = pa_stream_get_buffer_attr(m_stream);
  Feed(attr != nullptr ? attr->maxlength : m_size);
  if (!m_paused) Drop(pa_stream_cork(m_stream, 0, nullptr, nullptr));
}

void PulseOutput::Feed(size_t budget) {
  while (m_stream != nullptr && m_data != nullptr && m_written < m_size && budget > 0) {
    const size_t count = std::min<size_t>(m_size - m_written, budget);
    // Copied by the library: the player's block need not outlive the call.
    if (pa_stream_write(m_stream, m_data + m_written, count, nullptr, 0, PA_SEEK_RELATIVE) < 0) {
      m_lost = true;
      return;
    }
    m_written += static_cast<uint32_t>(count);
    budget -= count;
  }
  if (m_data != nullptr && m_written == m_size) {
    m_data = nullptr;
    // All of it is with the server: cork once it has played it.
    if (m_playing && m_drain == nullptr) m_drain = pa_stream_drain(m_stream, &PulseOutput::OnDrained, this);
  }
}

void PulseOutput::Write(const uint8_t* data, uint32_t size) {
  if (m_loop == nullptr) return;
  const Lock lock(m_loop);
  if (m_lost || !m_haveFormat) return;
  // What still plays is dropped for the new block.
  CancelDrain();
  m_data = data;
  m_size = size;
  m_written = 0;
  m_paused = false;
  if (StreamReady()) {
    StartBlock();
  } else {
    // The server has not answered yet: the block plays when it does.
    m_held = true;
    m_playing = false;
  }
}

void PulseOutput::Reset() {
  if (m_loop == nullptr) return;
  const Lock lock(m_loop);
  CancelDrain();
  m_data = nullptr;
  m_size = m_written = 0;
  m_held = m_playing = false;
  if (m_stream != nullptr) {
    Drop(pa_stream_flush(m_stream, nullptr, nullptr));
    Drop(pa_stream_cork(m_stream, 1, nullptr, nullptr));
  }
}

void PulseOutput::Pause() {
  if (m_loop == nullptr) return;
  const Lock lock(m_loop);
  m_paused = true;
  if (m_stream != nullptr) Drop(pa_stream_cork(m_stream, 1, nullptr, nullptr));
}

void PulseOutput::Restart() {
  if (m_loop == nullptr) return;
  const Lock lock(m_loop);
  m_paused = false;
  // Only a block that has not played out: an empty stream left running
  // would keep the sink awake.
  if (m_stream != nullptr && m_playing) Drop(pa_stream_cork(m_stream, 0, nullptr, nullptr));
}

// The connection and the stream stay for the next clip.
void PulseOutput::Close() { Reset(); }

bool PulseOutput::Waiting() const {
  if (m_loop == nullptr || m_lost) return false;
  const Lock lock(m_loop);
  if (m_context == nullptr || pa_context_get_state(m_context) != PA_CONTEXT_READY) return true;
  return m_haveFormat && !StreamReady();
}

uint32_t PulseOutput::Pending() const {
  if (m_loop == nullptr) return 0;
  const Lock lock(m_loop);
  return m_data != nullptr ? m_size - m_written : 0;
}

bool PulseOutput::Played() const {
  if (m_loop == nullptr) return true;
  const Lock lock(m_loop);
  return !m_held && !m_playing;
}

bool PulseOutput::WaitPlayed(int timeoutMs) {
  if (m_loop == nullptr) return false;
  const Lock lock(m_loop);
  return WaitLocked([this] { return m_lost || (!m_held && !m_playing); }, timeoutMs) && !m_lost;
}

}  // namespace lexoria
