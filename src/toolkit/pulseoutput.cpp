#include "toolkit/pulseoutput.h"

#include <pulse/pulseaudio.h>

#include <algorithm>
#include <chrono>
#include <thread>

namespace lexoria {

namespace {

// A local server answers in a few milliseconds; one that does not answer
// within this is treated as missing rather than letting the window hang.
constexpr int kAnswerTimeoutMs = 1500;
// The latency asked of the server: small, so the sink mixes a new play at
// once. The whole clip is queued beyond it, so it costs no underruns.
constexpr uint32_t kTargetLatencyMs = 25;

void Drop(pa_operation* operation) {
  if (operation != nullptr) pa_operation_unref(operation);
}

}  // namespace

PulseOutput::PulseOutput() = default;

PulseOutput::~PulseOutput() { Disconnect(); }

template <typename Done>
bool PulseOutput::WaitLocked(Done done, int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!done()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    // The library has no timed wait; a short sleep unlocked lets its
    // thread run the callbacks.
    pa_threaded_mainloop_unlock(m_loop);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    pa_threaded_mainloop_lock(m_loop);
  }
  return true;
}

void PulseOutput::OnContextState(pa_context* context, void* self) {
  auto* out = static_cast<PulseOutput*>(self);
  if (!PA_CONTEXT_IS_GOOD(pa_context_get_state(context))) out->m_lost = true;
  pa_threaded_mainloop_signal(out->m_loop, 0);
}

void PulseOutput::OnStreamState(pa_stream* stream, void* self) {
  auto* out = static_cast<PulseOutput*>(self);
  if (!PA_STREAM_IS_GOOD(pa_stream_get_state(stream))) out->m_lost = true;
  pa_threaded_mainloop_signal(out->m_loop, 0);
}

void PulseOutput::OnWriteRequest(pa_stream* /*stream*/, size_t bytes, void* self) {
  static_cast<PulseOutput*>(self)->Feed(bytes);
}

bool PulseOutput::Connect() {
  if (m_context != nullptr && !m_lost) return true;
  Disconnect();
  m_lost = false;
  m_loop = pa_threaded_mainloop_new();
  if (m_loop == nullptr || pa_threaded_mainloop_start(m_loop) < 0) {
    Disconnect();
    m_lost = true;
    return false;
  }
  pa_threaded_mainloop_lock(m_loop);
  pa_proplist* props = pa_proplist_new();
  pa_proplist_sets(props, PA_PROP_APPLICATION_ID, "example.lexoria.Japanese");
  pa_proplist_sets(props, PA_PROP_APPLICATION_ICON_NAME, "example.lexoria.Japanese");
  m_context = pa_context_new_with_proplist(pa_threaded_mainloop_get_api(m_loop), "Lexoria Japanese", props);
  pa_proplist_free(props);
  bool ready = false;
  if (m_context != nullptr) {
    pa_context_set_state_callback(m_context, &PulseOutput::OnContextState, this);
    // Never start a server of our own: no server means no sound, said once
    // by the window.
    if (pa_context_connect(m_context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) >= 0) {
      WaitLocked(
          [this] {
            const pa_context_state_t state = pa_context_get_state(m_context);
            return state == PA_CONTEXT_READY || !PA_CONTEXT_IS_GOOD(state);
          },
          kAnswerTimeoutMs);
      ready = pa_context_get_state(m_context) == PA_CONTEXT_READY;
    }
  }
  pa_threaded_mainloop_unlock(m_loop);
  if (!ready) {
    Disconnect();
    m_lost = true;
  }
  return ready;
}

void PulseOutput::DropStream() {
  if (m_stream == nullptr) return;
  pa_stream_set_state_callback(m_stream, nullptr, nullptr);
  pa_stream_set_write_callback(m_stream, nullptr, nullptr);
  pa_stream_disconnect(m_stream);
  pa_stream_unref(m_stream);
  m_stream = nullptr;
}

void PulseOutput::Disconnect() {
  if (m_loop != nullptr) {
    pa_threaded_mainloop_lock(m_loop);
    DropStream();
    if (m_context != nullptr) {
      pa_context_set_state_callback(m_context, nullptr, nullptr);
      pa_context_disconnect(m_context);
      pa_context_unref(m_context);
      m_context = nullptr;
    }
    pa_threaded_mainloop_unlock(m_loop);
    pa_threaded_mainloop_stop(m_loop);
    pa_threaded_mainloop_free(m_loop);
    m_loop = nullptr;
  }
  m_data = nullptr;
  m_size = m_written = 0;
}

bool PulseOutput::PrepareStream(const sound::WaveFormat& format) {
  if (m_stream != nullptr && pa_stream_get_state(m_stream) == PA_STREAM_READY &&
      format.samplesPerSec == m_format.samplesPerSec && format.channels == m_format.channels)
    return true;
  DropStream();
  pa_sample_spec spec;
  spec.format = PA_SAMPLE_S16LE;
  spec.rate = format.samplesPerSec;
  spec.channels = static_cast<uint8_t>(format.channels);
  if (!pa_sample_spec_valid(&spec)) return false;
  m_stream = pa_stream_new(m_context, "Phrase", &spec, nullptr);
  if (m_stream == nullptr) return false;
  pa_stream_set_state_callback(m_stream, &PulseOutput::OnStreamState, this);
  pa_stream_set_write_callback(m_stream, &PulseOutput::OnWriteRequest, this);
  pa_buffer_attr attr;
  attr.maxlength = static_cast<uint32_t>(-1);
  attr.tlength = static_cast<uint32_t>(pa_usec_to_bytes(kTargetLatencyMs * PA_USEC_PER_MSEC, &spec));
  // Play as soon as anything is there; a stream that runs dry simply waits.
  attr.prebuf = 0;
  attr.minreq = static_cast<uint32_t>(-1);
  attr.fragsize = static_cast<uint32_t>(-1);
  // Corked until the first play, and again whenever the player stops or
  // lets go of its clip.
  const auto flags = static_cast<pa_stream_flags_t>(PA_STREAM_START_CORKED | PA_STREAM_ADJUST_LATENCY);
  bool ready = false;
  if (pa_stream_connect_playback(m_stream, nullptr, &attr, flags, nullptr, nullptr) >= 0) {
    WaitLocked(
        [this] {
          const pa_stream_state_t state = pa_stream_get_state(m_stream);
          return state == PA_STREAM_READY || !PA_STREAM_IS_GOOD(state);
        },
        kAnswerTimeoutMs);
    ready = pa_stream_get_state(m_stream) == PA_STREAM_READY;
  }
  if (!ready) {
    DropStream();
    return false;
  }
  m_format = format;
  return true;
}

bool PulseOutput::Open(const sound::WaveFormat& format) {
  if (format.formatTag != sound::kWaveFormatPcm || format.bitsPerSample != 16) return false;
  if (!Connect()) return false;
  pa_threaded_mainloop_lock(m_loop);
  // A stream left from the last clip is stopped, not rebuilt.
  m_data = nullptr;
  m_size = m_written = 0;
  const bool ready = PrepareStream(format);
  if (ready) {
    Drop(pa_stream_flush(m_stream, nullptr, nullptr));
    Drop(pa_stream_cork(m_stream, 1, nullptr, nullptr));
  }
  pa_threaded_mainloop_unlock(m_loop);
  if (!ready && pa_context_get_state(m_context) != PA_CONTEXT_READY) m_lost = true;
  return ready;
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
  if (m_written == m_size) m_data = nullptr;
}

void PulseOutput::Write(const uint8_t* data, uint32_t size) {
  if (m_loop == nullptr) return;
  pa_threaded_mainloop_lock(m_loop);
  if (m_stream != nullptr && !m_lost) {
    // What still plays is dropped, then the whole block is queued: the
    // server takes up to its buffer's length beyond the latency asked for,
    // and asks for any rest as it plays.
    Drop(pa_stream_flush(m_stream, nullptr, nullptr));
    m_data = data;
    m_size = size;
    m_written = 0;
    const pa_buffer_attr* attr = pa_stream_get_buffer_attr(m_stream);
    Feed(attr != nullptr ? attr->maxlength : size);
    Drop(pa_stream_cork(m_stream, 0, nullptr, nullptr));
  }
  pa_threaded_mainloop_unlock(m_loop);
}

void PulseOutput::Reset() {
  if (m_loop == nullptr) return;
  pa_threaded_mainloop_lock(m_loop);
  m_data = nullptr;
  m_size = m_written = 0;
  if (m_stream != nullptr) {
    Drop(pa_stream_flush(m_stream, nullptr, nullptr));
    Drop(pa_stream_cork(m_stream, 1, nullptr, nullptr));
  }
  pa_threaded_mainloop_unlock(m_loop);
}

void PulseOutput::Pause() {
  if (m_loop == nullptr) return;
  pa_threaded_mainloop_lock(m_loop);
  if (m_stream != nullptr) Drop(pa_stream_cork(m_stream, 1, nullptr, nullptr));
  pa_threaded_mainloop_unlock(m_loop);
}

void PulseOutput::Restart() {
  if (m_loop == nullptr) return;
  pa_threaded_mainloop_lock(m_loop);
  if (m_stream != nullptr) Drop(pa_stream_cork(m_stream, 0, nullptr, nullptr));
  pa_threaded_mainloop_unlock(m_loop);
}

// The connection and the stream stay for the next clip.
void PulseOutput::Close() { Reset(); }

uint32_t PulseOutput::Pending() const {
  if (m_loop == nullptr) return 0;
  pa_threaded_mainloop_lock(m_loop);
  const uint32_t pending = m_data != nullptr ? m_size - m_written : 0;
  pa_threaded_mainloop_unlock(m_loop);
  return pending;
}

}  // namespace lexoria
