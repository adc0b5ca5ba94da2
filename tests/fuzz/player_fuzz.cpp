// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target for the sound side: arbitrary bytes as a clip archive
// (an index and a data file cut from the input) and as a clip handed to the
// player, which finds the stream, times it, decodes it and writes it to a
// capture output. The first byte picks the play range.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "sound/captureoutput.h"
#include "sound/cliparchive.h"
#include "sound/loadclip.h"
#include "sound/waveplayer.h"

using namespace lexoria::sound;

namespace {

const std::filesystem::path& Folder() {
  static const std::filesystem::path folder = [] {
    auto p = std::filesystem::temp_directory_path() / ("lexoria-player-fuzz-" + std::to_string(getpid()));
    std::filesystem::create_directories(p);
    return p;
  }();
  return folder;
}

void WriteFile(const std::filesystem::path& path, const uint8_t* data, size_t size) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return;
  if (size) std::fwrite(data, 1, size, f);
  std::fclose(f);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const uint8_t control = data[0];
  ++data;
  --size;

  // The archive: the first (control & 15) * 8 bytes are the index.
  const size_t indexBytes = std::min<size_t>(size, (control & 15u) * kIndexEntrySize);
  WriteFile(Folder() / kIndexFileName, data, indexBytes);
  WriteFile(Folder() / kDataFileName, data + indexBytes, size - indexBytes);
  std::vector<uint8_t> body;
  for (int32_t n = 0; n <= 3; ++n) ReadClip(Folder(), n, body);

  CaptureOutput output;
  CWavePlayer player(&output);
  std::vector<uint8_t> clip(data, data + size);
  if (player.OpenFromMemory(std::move(clip)) != CWavePlayer::kSuccess) return 0;
  const uint32_t startMs = (control >> 4) * 50u;
  player.PrepareRange(startMs, startMs + ((control & 0x80) ? 100u : kLoadRangeEndMs));
  player.Start();
  player.Pause();
  player.Resume();
  player.Stop();
  player.Start();
  player.Close();
  return 0;
}
