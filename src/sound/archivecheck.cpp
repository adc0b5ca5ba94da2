// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/archivecheck.h"

#include <system_error>

#include "sound/cliparchive.h"

namespace lexoria::sound {

std::vector<std::string> DamagedArchiveFiles(const std::filesystem::path& folder, std::size_t clipCount) {
  std::vector<ClipEntry> entries;
  uint64_t bodyBytes = 0;
  const ClipStatus status = ReadArchiveIndex(folder, entries, bodyBytes);
  if (status == ClipStatus::BadHeader) return {kDataFileName};
  if (status != ClipStatus::Loaded) return {};
  std::error_code ec;
  const auto indexSize = std::filesystem::file_size(folder.empty() ? kIndexFileName : folder / kIndexFileName, ec);
  bool sound = !ec && entries.size() == clipCount && indexSize == clipCount * kIndexEntrySize;
  for (const ClipEntry& e : entries)
    sound = sound && e.size > 0 && static_cast<uint64_t>(e.offset) + e.size <= bodyBytes;
  if (sound) return {};
  return {kIndexFileName};
}

}  // namespace lexoria::sound
