// SPDX-License-Identifier: GPL-3.0-or-later
// English.txt -> English.dat; Pron.txt, Japanese1.txt, Japanese2.txt ->
// Japanese.dat. Sources are UTF-16LE with a byte-order mark and CR LF lines;
// each line is stored without its LF, the CR (and on line 1 the mark) stay.
#include "data/builder.h"

#include <array>
#include <cstdio>
#include <new>
#include <string_view>
#include <vector>

#include "data/records.h"

namespace lexoria {
namespace {

struct Source {
  std::vector<std::u16string> lines;  // the first 826, without their LF
};

bool Fail(BuildReport* report, BuildStatus status, std::string file, int line = 0) {
  if (report != nullptr) *report = BuildReport{status, std::move(file), line};
  return false;
}

// Reads a source whole and takes its first 826 lines, checking every limit.
// The limit applies to the text as stored (for English after its tabs go).
bool LoadSource(const char* name, std::size_t limit, bool dropTabs, Source& source, BuildReport* report) {
  std::FILE* file = std::fopen(name, "rb");
  if (file == nullptr) return Fail(report, BuildStatus::SourceMissing, name);
  std::vector<unsigned char> bytes;
  try {
    bytes.reserve(kMaxSourceBytes + 1);
  } catch (const std::bad_alloc&) {
    std::fclose(file);
    return Fail(report, BuildStatus::OutOfMemory, name);
  }
  // One byte past the limit tells a file that is too large.
  std::array<unsigned char, 65536> piece;
  std::size_t got = 0;
  while (bytes.size() <= kMaxSourceBytes && (got = std::fread(piece.data(), 1, piece.size(), file)) > 0)
    bytes.insert(bytes.end(), piece.begin(), piece.begin() + static_cast<std::ptrdiff_t>(got));
  std::fclose(file);
  if (bytes.size() > kMaxSourceBytes) return Fail(report, BuildStatus::SourceTooLarge, name);
  if (bytes.size() < 2 || bytes[0] != 0xFF || bytes[1] != 0xFE) return Fail(report, BuildStatus::NoByteOrderMark, name);

  std::u16string line;
  for (std::size_t i = 0; i + 1 < bytes.size() && source.lines.size() < static_cast<std::size_t>(kPhraseCount);
       i += 2) {
    const auto unit = static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
    if (unit == u'\n') {
      if (line.size() > limit)
        return Fail(report, BuildStatus::LineTooLong, name, static_cast<int>(source.lines.size()) + 1);
      source.lines.push_back(std::move(line));
      line.clear();
    } else if (!(dropTabs && unit == u'\t')) {
      line.push_back(unit);
    }
  }
  if (source.lines.size() < static_cast<std::size_t>(kPhraseCount))
    return Fail(report, BuildStatus::TooFewLines, name, static_cast<int>(source.lines.size()));
  return true;
}

bool WriteTarget(const char* name, const std::vector<unsigned char>& data, BuildReport* report) {
  std::FILE* file = std::fopen(name, "wb");
  if (file == nullptr) return Fail(report, BuildStatus::TargetNotWritten, name);
  const bool written = std::fwrite(data.data(), 1, data.size(), file) == data.size();
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed) return Fail(report, BuildStatus::TargetNotWritten, name);
  return true;
}

}  // namespace

std::string BuildReport::Describe() const {
  switch (status) {
    case BuildStatus::Written: return file + " written";
    case BuildStatus::SourceMissing: return file + " is missing or cannot be read";
    case BuildStatus::SourceTooLarge: return file + " is larger than 450000 bytes";
    case BuildStatus::NoByteOrderMark: return file + " does not start with the UTF-16LE byte-order mark";
    case BuildStatus::TooFewLines:
      return file + " has " + std::to_string(line) + " lines ended by a line feed; 826 are needed";
    case BuildStatus::LineTooLong: return file + ": line " + std::to_string(line) + " is too long";
    case BuildStatus::OutOfMemory: return "Not enough memory";
    case BuildStatus::TargetNotWritten: return file + " cannot be written";
  }
  return file;
}

int BuildEnglishData(BuildReport* report) {
  Source english;
  if (!LoadSource("English.txt", kEnglishLineLimit, true, english, report)) return 0;
  std::vector<unsigned char> data;
  data.reserve(kPhraseCount * kEnglishRecordSize);
  for (std::int32_t n = 1; n <= kPhraseCount; ++n) {
    const EnglishBytes record = EncodeEnglishRecord(english.lines[static_cast<std::size_t>(n - 1)], n);
    data.insert(data.end(), record.begin(), record.end());
  }
  if (!WriteTarget("English.dat", data, report)) return 0;
  if (report != nullptr) *report = BuildReport{BuildStatus::Written, "English.dat", 0};
  return 1;
}

int BuildJapaneseData(BuildReport* report) {
  Source pron, first, second;
  if (!LoadSource("Pron.txt", kJapaneseLineLimit, false, pron, report) ||
      !LoadSource("Japanese1.txt", kJapaneseLineLimit, false, first, report) ||
      !LoadSource("Japanese2.txt", kJapaneseLineLimit, false, second, report))
    return 0;
  std::vector<unsigned char> data;
  data.reserve(kPhraseCount * kJapaneseRecordSize);
  for (std::size_t n = 0; n < static_cast<std::size_t>(kPhraseCount); ++n) {
    const JapaneseBytes record = EncodeJapaneseRecord({pron.lines[n], first.lines[n], second.lines[n]});
    data.insert(data.end(), record.begin(), record.end());
  }
  if (!WriteTarget("Japanese.dat", data, report)) return 0;
  if (report != nullptr) *report = BuildReport{BuildStatus::Written, "Japanese.dat", 0};
  return 1;
}

}  // namespace lexoria
