// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/captureoutput.h"

namespace lexoria::sound {

void CaptureOutput::Note(const char* call) {
  if (!m_log.empty()) m_log += ' ';
  m_log += call;
}

bool CaptureOutput::Open(const WaveFormat& format) {
  if (m_openFails) {
    Note("open-failed");
    return false;
  }
  Note("open");
  m_open = true;
  m_lost = false;
  m_format = format;
  return true;
}

void CaptureOutput::Write(const uint8_t* data, uint32_t size) {
  Note("write");
  m_writes.emplace_back(data, data + size);
}

void CaptureOutput::Reset() { Note("reset"); }
void CaptureOutput::Pause() { Note("pause"); }
void CaptureOutput::Restart() { Note("restart"); }

void CaptureOutput::Close() {
  Note("close");
  m_open = false;
}

void CaptureOutput::ClearLog() {
  m_log.clear();
  m_writes.clear();
}

}  // namespace lexoria::sound
