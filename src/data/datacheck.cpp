// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/datacheck.h"

#include <cstdio>
#include <functional>
#include <memory>

#include "data/records.h"
#include "data/wellformed.h"

namespace lexoria {
namespace {

struct Closer {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

// Present: true when the file could be opened. Sound: exactly 826 records,
// each accepted by `check`.
bool FileSound(const std::filesystem::path& path, std::size_t recordSize,
               const std::function<bool(const unsigned char*)>& check, bool& present) {
  std::unique_ptr<std::FILE, Closer> file(std::fopen(path.c_str(), "rb"));
  present = file != nullptr;
  if (!present) return true;
  std::vector<unsigned char> record(recordSize);
  std::size_t count = 0;
  while (std::fread(record.data(), 1, recordSize, file.get()) == recordSize) {
    if (++count > static_cast<std::size_t>(kPhraseCount) || !check(record.data())) return false;
  }
  // The loop ends at the first short read: a cut record shows as bytes
  // past the whole ones.
  return count == static_cast<std::size_t>(kPhraseCount) && !std::ferror(file.get()) &&
         std::ftell(file.get()) == static_cast<long>(count * recordSize);
}

template <typename Bytes>
std::function<bool(const unsigned char*)> Whole(bool (*check)(const Bytes&)) {
  return [check](const unsigned char* data) {
    Bytes bytes;
    std::copy(data, data + bytes.size(), bytes.begin());
    return check(bytes);
  };
}

}  // namespace

std::vector<std::string> DamagedPhraseFiles(const DataFolders& folders) {
  struct File {
    const char* name;
    std::size_t recordSize;
    std::function<bool(const unsigned char*)> check;
  };
  const File files[] = {
      {"English.dat", kEnglishRecordSize, Whole(&WellFormedEnglish)},
      {"Japanese.dat", kJapaneseRecordSize, Whole(&WellFormedJapanese)},
      {"MapEngSpec.data", kTemplateRecordSize, Whole(&WellFormedTemplate)},
      {"Relate.dat", kRelateRowSize, [](const unsigned char* row) { return WellFormedRelateRow(row); }},
  };
  std::vector<std::string> damaged;
  for (const File& f : files) {
    bool present = false;
    if (!FileSound(folders.DataFile(f.name), f.recordSize, f.check, present)) damaged.emplace_back(f.name);
  }
  return damaged;
}

std::string DamagedFilesMessage(const std::vector<std::string>& names) {
  if (names.empty()) return {};
  std::string list;
  for (const std::string& name : names) list += (list.empty() ? "" : ", ") + name;
  return (names.size() == 1 ? "The data file " + list + " is damaged." : "The data files " + list + " are damaged.") +
         " Please reinstall the program!";
}

}  // namespace lexoria
