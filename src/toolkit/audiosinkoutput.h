// The sound card behind the player's audio output port: Qt Multimedia's
// QAudioSink on the default output device. Each written buffer is played
// from memory on its own (pulled by the sink while the event loop runs); the
// player keeps it alive until Reset or Close. With no audio server the sink
// fails to start and stays silent.
#pragma once

#include <QBuffer>
#include <QByteArray>
#include <memory>

#include "sound/audiooutput.h"

class QAudioSink;

namespace lexoria {

class AudioSinkOutput : public sound::AudioOutput {
 public:
  AudioSinkOutput();
  ~AudioSinkOutput() override;

  bool Open(const sound::WaveFormat& format) override;
  void Write(const uint8_t* data, uint32_t size) override;
  void Reset() override;
  void Pause() override;
  void Restart() override;
  void Close() override;

  // The sink, for tests that watch its state; null while closed.
  QAudioSink* Sink() const { return m_sink.get(); }

 private:
  std::unique_ptr<QAudioSink> m_sink;
  QByteArray m_bytes;  // shares the player's block, no copy
  QBuffer m_buffer;
};

}  // namespace lexoria
