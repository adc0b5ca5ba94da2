// SPDX-License-Identifier: GPL-3.0-or-later
// An audio output that plays nothing and keeps every buffer written to it,
// with a log of the calls: what the player would have sent to the device.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sound/audiooutput.h"

namespace lexoria::sound {

class CaptureOutput : public AudioOutput {
 public:
  // Simulates a device that cannot be opened.
  void SetOpenFails(bool fails) { m_openFails = fails; }
  // Simulates a device that went away; a successful Open brings it back.
  void SetLost(bool lost) { m_lost = lost; }
  // Simulates a device that is there but has not answered yet.
  void SetWaiting(bool waiting) { m_waiting = waiting; }

  bool Open(const WaveFormat& format) override;
  void Write(const uint8_t* data, uint32_t size) override;
  void Reset() override;
  void Pause() override;
  void Restart() override;
  void Close() override;
  bool Lost() const override { return m_lost; }
  bool Waiting() const override { return m_waiting && !m_lost; }

  bool IsOpen() const { return m_open; }
  // Format of the last successful Open.
  const WaveFormat& Format() const { return m_format; }
  // Every buffer written, oldest first.
  const std::vector<std::vector<uint8_t>>& Writes() const { return m_writes; }
  // Calls in order, space separated: "open write reset pause restart close"
  // ("open-failed" for a refused open).
  const std::string& Log() const { return m_log; }
  // Forgets the log and the buffers written (not the open state).
  void ClearLog();

 private:
  void Note(const char* call);

  bool m_openFails = false;
  bool m_lost = false;
  bool m_waiting = false;
  bool m_open = false;
  WaveFormat m_format;
  std::vector<std::vector<uint8_t>> m_writes;
  std::string m_log;
};

}  // namespace lexoria::sound
