#include "toolkit/audiosinkoutput.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>

namespace lexoria {

AudioSinkOutput::AudioSinkOutput() = default;

AudioSinkOutput::~AudioSinkOutput() { Close(); }

bool AudioSinkOutput::Open(const sound::WaveFormat& format) {
  Close();
  if (format.formatTag != sound::kWaveFormatPcm || format.bitsPerSample != 16) return false;
  QAudioFormat qformat;
  qformat.setSampleRate(static_cast<int>(format.samplesPerSec));
  qformat.setChannelCount(format.channels);
  qformat.setSampleFormat(QAudioFormat::Int16);
  const QAudioDevice device = QMediaDevices::defaultAudioOutput();
  // No audio server: nothing to play on, and the player writes nothing.
  if (device.isNull()) return false;
  m_sink = std::make_unique<QAudioSink>(device, qformat);
  return true;
}

void AudioSinkOutput::Write(const uint8_t* data, uint32_t size) {
  if (!m_sink) return;
  // Stop the previous buffer first: a sink restarted without stop() keeps
  // playing the old one.
  m_sink->stop();
  m_buffer.close();
  m_bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  m_buffer.setBuffer(&m_bytes);
  m_buffer.open(QIODevice::ReadOnly);
  m_sink->start(&m_buffer);
}

void AudioSinkOutput::Reset() {
  if (!m_sink) return;
  m_sink->stop();
  m_buffer.close();
}

void AudioSinkOutput::Pause() {
  if (m_sink) m_sink->suspend();
}

void AudioSinkOutput::Restart() {
  if (m_sink) m_sink->resume();
}

void AudioSinkOutput::Close() {
  if (m_sink) {
    m_sink->stop();
    m_sink.reset();
  }
  m_buffer.close();
  m_bytes.clear();
}

}  // namespace lexoria
