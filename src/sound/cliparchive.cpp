// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/cliparchive.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

namespace lexoria::sound {

namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

File OpenFile(const std::filesystem::path& folder, const char* name) {
  const std::filesystem::path path = folder.empty() ? std::filesystem::path(name) : folder / name;
  return File(std::fopen(path.c_str(), "rb"));
}

uint32_t Le32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}

// Size of an open file, leaving it positioned at its start.
int64_t FileSize(std::FILE* f) {
  if (fseeko(f, 0, SEEK_END) != 0) return -1;
  const int64_t size = ftello(f);
  if (fseeko(f, 0, SEEK_SET) != 0) return -1;
  return size;
}

bool HeaderIsOurs(std::FILE* data) {
  uint8_t header[kArchiveHeaderSize];
  if (std::fread(header, 1, sizeof header, data) != sizeof header) return false;
  // Eight bytes compared as bytes: the magic has no terminating zero.
  return Le32(header + 8) == kArchiveFormat && std::memcmp(header, kArchiveMagic, sizeof kArchiveMagic) == 0;
}

}  // namespace

const char* StatusName(ClipStatus status) {
  switch (status) {
    case ClipStatus::Loaded: return "loaded";
    case ClipStatus::AlreadyLoaded: return "already loaded";
    case ClipStatus::NoDataFile: return "data.dat cannot be opened";
    case ClipStatus::NoIndexFile: return "data.idx cannot be opened";
    case ClipStatus::NoSuchClip: return "no such clip";
    case ClipStatus::BadHeader: return "data.dat has the wrong header";
    case ClipStatus::BadEntry: return "index entry of size 0 or beyond the end of data.dat";
    case ClipStatus::OutOfMemory: return "out of memory";
    case ClipStatus::NotPlayable: return "not a stream the player can play";
  }
  return "?";
}

ClipStatus ReadClip(const std::filesystem::path& folder, int32_t n, std::vector<uint8_t>& body) {
  // Declared in this order so the index is closed first, then the data file.
  File data = OpenFile(folder, kDataFileName);
  if (!data) return ClipStatus::NoDataFile;
  File index = OpenFile(folder, kIndexFileName);
  if (!index) return ClipStatus::NoIndexFile;

  const int64_t indexSize = FileSize(index.get());
  if (indexSize < 0 || n < 1 || static_cast<uint64_t>(n) > static_cast<uint64_t>(indexSize) / kIndexEntrySize) {
    return ClipStatus::NoSuchClip;
  }
  const int64_t dataSize = FileSize(data.get());
  if (dataSize < 0 || !HeaderIsOurs(data.get())) return ClipStatus::BadHeader;

  uint8_t raw[kIndexEntrySize];
  if (fseeko(index.get(), static_cast<off_t>(n - 1) * kIndexEntrySize, SEEK_SET) != 0 ||
      std::fread(raw, 1, sizeof raw, index.get()) != sizeof raw) {
    return ClipStatus::NoSuchClip;
  }
  const ClipEntry entry{Le32(raw), Le32(raw + 4)};
  // The player gets only bytes that were really read.
  const uint64_t bodyEnd = uint64_t{kArchiveHeaderSize} + entry.offset + entry.size;
  if (entry.size == 0 || bodyEnd > static_cast<uint64_t>(dataSize)) return ClipStatus::BadEntry;

  std::vector<uint8_t> buffer;
  try {
    buffer.resize(entry.size);
  } catch (const std::bad_alloc&) {
    return ClipStatus::OutOfMemory;
  }
  if (fseeko(data.get(), static_cast<off_t>(kArchiveHeaderSize) + entry.offset, SEEK_SET) != 0 ||
      std::fread(buffer.data(), 1, buffer.size(), data.get()) != buffer.size()) {
    return ClipStatus::BadEntry;
  }
  body = std::move(buffer);
  return ClipStatus::Loaded;
}

ClipStatus ReadArchiveIndex(const std::filesystem::path& folder, std::vector<ClipEntry>& entries, uint64_t& bodyBytes) {
  entries.clear();
  bodyBytes = 0;
  File data = OpenFile(folder, kDataFileName);
  if (!data) return ClipStatus::NoDataFile;
  File index = OpenFile(folder, kIndexFileName);
  if (!index) return ClipStatus::NoIndexFile;
  const int64_t dataSize = FileSize(data.get());
  if (dataSize < 0 || !HeaderIsOurs(data.get())) return ClipStatus::BadHeader;
  bodyBytes = static_cast<uint64_t>(dataSize) - kArchiveHeaderSize;
  uint8_t raw[kIndexEntrySize];
  // A trailing partial entry is ignored.
  while (std::fread(raw, 1, sizeof raw, index.get()) == sizeof raw) entries.push_back({Le32(raw), Le32(raw + 4)});
  return ClipStatus::Loaded;
}

namespace {

void PutLe32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

bool WriteWhole(const std::filesystem::path& path, const std::vector<std::vector<uint8_t>>& parts) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return false;
  bool ok = true;
  for (const auto& part : parts) {
    if (!part.empty() && std::fwrite(part.data(), 1, part.size(), f) != part.size()) ok = false;
  }
  return std::fclose(f) == 0 && ok;
}

}  // namespace

bool WriteArchive(const std::filesystem::path& folder, const std::vector<std::vector<uint8_t>>& clips) {
  std::vector<uint8_t> header(kArchiveMagic, kArchiveMagic + sizeof kArchiveMagic);
  PutLe32(header, kArchiveFormat);
  std::vector<uint8_t> index;
  uint64_t offset = 0;
  for (const auto& clip : clips) {
    if (offset + clip.size() > UINT32_MAX) return false;
    PutLe32(index, static_cast<uint32_t>(offset));
    PutLe32(index, static_cast<uint32_t>(clip.size()));
    offset += clip.size();
  }
  std::vector<std::vector<uint8_t>> dataParts;
  dataParts.reserve(clips.size() + 1);
  dataParts.push_back(std::move(header));
  dataParts.insert(dataParts.end(), clips.begin(), clips.end());
  return WriteWhole(folder / kDataFileName, dataParts) && WriteWhole(folder / kIndexFileName, {index});
}

}  // namespace lexoria::sound
