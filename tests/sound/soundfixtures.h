// SPDX-License-Identifier: GPL-3.0-or-later
// Clips, streams and archives built by the sound tests.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "sound/clipstream.h"

namespace lexoria::sound::testing {

using Bytes = std::vector<uint8_t>;

// A folder under the system temp folder, removed with everything in it.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& Path() const { return m_path; }
  std::filesystem::path operator/(const std::string& name) const { return m_path / name; }

 private:
  std::filesystem::path m_path;
};

// MPEG-2 layer III, 48 kbit/s, 24 kHz, mono, no CRC: 144-byte frames, the
// format of our recordings.
inline constexpr uint8_t kMpeg2MonoHeader[4] = {0xFF, 0xF3, 0x64, 0xC4};
inline constexpr uint32_t kMpeg2MonoFrameBytes = 144;
inline constexpr uint32_t kMpeg2MonoPcmBytes = 576 * 2;

// `count` frames of a header followed by zero bytes (they decode to
// silence): a stream whose framing is exact and known.
Bytes SilentFrames(uint32_t count, const uint8_t header[4] = kMpeg2MonoHeader,
                   uint32_t frameBytes = kMpeg2MonoFrameBytes);

// The stream inside one of the RIFF layouts the player knows.
Bytes Wrap(const Bytes& stream, ClipWrapper wrapper);
// The stream followed by a 128-byte "TAG" block.
Bytes WithTag(const Bytes& stream);

Bytes ReadFile(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, const Bytes& bytes);

// Writes an archive by hand: the 12-byte header, the bodies back to back
// and one index entry per clip.
void WriteArchiveFiles(const std::filesystem::path& folder, const std::vector<Bytes>& clips);

// Encoded speech-like test signals, made with sox and lame in `folder`.
// Empty when either tool is missing.
bool HaveEncoder();
// `seconds` of a gliding tone and noise, encoded with the lame arguments.
Bytes Encode(const std::filesystem::path& folder, double seconds, const std::string& lameArgs);

// The frames of a bare stream, each as its own byte range.
std::vector<Bytes> SplitFrames(const Bytes& stream);
Bytes JoinFrames(const std::vector<Bytes>& frames, size_t first, size_t count);

// PCM of a bare stream decoded by the project's mpadec tool, or empty with
// `why` set when the tool is missing or fails.
Bytes DecodeWithMpadec(const std::filesystem::path& folder, const Bytes& stream, std::string& why);

}  // namespace lexoria::sound::testing
