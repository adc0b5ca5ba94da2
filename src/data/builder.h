// SPDX-License-Identifier: GPL-3.0-or-later
// Builder of English.dat and Japanese.dat from the authors' UTF-16LE texts.
#pragma once

#include <cstddef>
#include <string>

namespace lexoria {

enum class BuildStatus {
  Written,
  SourceMissing,     // a source could not be opened
  SourceTooLarge,    // a source of more than 450,000 bytes
  NoByteOrderMark,   // a source that does not start with U+FEFF
  TooFewLines,       // fewer than 826 lines ended by U+000A
  LineTooLong,       // a line over its limit (59 English, 109 Japanese units)
  OutOfMemory,       // "Not enough memory"
  TargetNotWritten,  // the target could not be created or written
};

struct BuildReport {
  BuildStatus status = BuildStatus::Written;
  std::string file;              // the source or target concerned
  int line = 0;                  // the 1-based line for LineTooLong, the lines found for TooFewLines
  std::string Describe() const;  // one English sentence for the tool's stderr
};

inline constexpr std::size_t kMaxSourceBytes = 450000;
inline constexpr std::size_t kEnglishLineLimit = 59;
inline constexpr std::size_t kJapaneseLineLimit = 109;

// Both work in the working directory and overwrite their target; 1 when the
// target was written, 0 otherwise (the report says why). Sources are checked
// against their limits before the target is touched, so a bad source never
// truncates a good file.
int BuildEnglishData(BuildReport* report = nullptr);
int BuildJapaneseData(BuildReport* report = nullptr);

}  // namespace lexoria
