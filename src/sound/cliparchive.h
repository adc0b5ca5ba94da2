// SPDX-License-Identifier: GPL-3.0-or-later
// The sound archive: "data.dat" (a 12-byte header, "zarquell" and the
// format value 2102, then the clip bodies back to back) and "data.idx" (one
// 8-byte entry per clip: body offset from the end of that header, body
// size). Clip n is entry n - 1.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace lexoria::sound {

inline constexpr char kDataFileName[] = "data.dat";
inline constexpr char kIndexFileName[] = "data.idx";
inline constexpr char kArchiveMagic[8] = {'z', 'a', 'r', 'q', 'u', 'e', 'l', 'l'};
inline constexpr uint32_t kArchiveFormat = 2102;
inline constexpr uint32_t kArchiveHeaderSize = 12;
inline constexpr uint32_t kIndexEntrySize = 8;

// Outcome of reading or loading a clip.
enum class ClipStatus {
  Loaded,         // the player holds the clip
  AlreadyLoaded,  // it was the current clip: nothing was touched
  NoDataFile,     // "data.dat" cannot be opened
  NoIndexFile,    // "data.idx" cannot be opened
  NoSuchClip,     // n < 1 or beyond the index
  BadHeader,      // "data.dat" is not a sound archive of our format
  BadEntry,       // size 0, or the body lies beyond the end of "data.dat"
  OutOfMemory,
  NotPlayable,  // read, but the player refused the stream
};

const char* StatusName(ClipStatus status);

struct ClipEntry {
  uint32_t offset = 0;  // from the end of the data file's header
  uint32_t size = 0;
};

// Reads clip n's body from the archive in `folder` (the working directory
// when empty). Both files are closed before it returns.
ClipStatus ReadClip(const std::filesystem::path& folder, int32_t n, std::vector<uint8_t>& body);

// Every index entry, with the number of body bytes "data.dat" holds after
// its header. For tools; the program itself reads one entry at a time.
ClipStatus ReadArchiveIndex(const std::filesystem::path& folder, std::vector<ClipEntry>& entries, uint64_t& bodyBytes);

// Writes "data.dat" and "data.idx" into `folder` with the clips in order.
// False when a file cannot be written or the bodies exceed 4 GiB.
bool WriteArchive(const std::filesystem::path& folder, const std::vector<std::vector<uint8_t>>& clips);

}  // namespace lexoria::sound
