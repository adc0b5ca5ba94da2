// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/loadclip.h"

#include <utility>
#include <vector>

namespace lexoria::sound {

ClipStatus LoadClip(int32_t n, CWavePlayer& player, int32_t& currentClip, const MessageSink& message,
                    const std::filesystem::path& folder) {
  if (n == currentClip) return ClipStatus::AlreadyLoaded;
  std::vector<uint8_t> body;
  const ClipStatus status = ReadClip(folder, n, body);
  if (status == ClipStatus::NoDataFile && message) message(kMessageNoSoundFile);
  if (status == ClipStatus::BadHeader && message) message(kMessageWrongFormat);
  if (status != ClipStatus::Loaded) return status;

  currentClip = n;
  player.Close();
  const uint32_t opened = player.OpenFromMemory(std::move(body));
  player.PrepareRange(0, kLoadRangeEndMs);
  if (opened == CWavePlayer::kOutOfMemory) return ClipStatus::OutOfMemory;
  return opened == CWavePlayer::kSuccess ? ClipStatus::Loaded : ClipStatus::NotPlayable;
}

}  // namespace lexoria::sound
