// SPDX-License-Identifier: GPL-3.0-or-later
// Export for a flashcard program: phrases as one tab-separated table,
// FOLDER/phrases.tsv (UTF-8; English, Japanese, kana, romaji and
// [sound:NNNN.mp3]), with each recording written beside it as NNNN.mp3.
//
// The rows come from the favourites or from a category; the recordings
// come from the caller (the sound layer extracts them), so this layer
// stays free of the sound archive. Every file is written to a temporary
// name and renamed into place, so a failed export never leaves a torn
// table or sound file, and a failure is always reported.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "data/datafolders.h"

namespace lexoria {

inline constexpr char kExportTableName[] = "phrases.tsv";

struct ExportRow {
  std::int32_t number = 0;
  std::u16string english;
  std::u16string japanese;  // the kanji rendering
  std::u16string kana;
  std::u16string romaji;
};

// "0042.mp3": the sound file of phrase n.
std::string ExportSoundName(std::int32_t number);

// The table's text: three header lines the importer reads (separator, no
// HTML, column names), then one row per phrase, fields cleaned of tabs and
// line breaks.
std::string ExportTableText(const std::vector<ExportRow>& rows);

// The category's name for a code of the category buttons (100 Basic ...
// 1000 Question), null for any other code.
const char* ExportCategoryName(std::int32_t code);

// Rows of every phrase of the category, or of every favourite in file
// order (a favourite whose phrase is not in English.dat is left out).
// False with the reason in `error` when a phrase file cannot be read.
bool CategoryExportRows(const DataFolders& folders, std::int32_t code, std::vector<ExportRow>& rows,
                        std::string& error);
bool FavouriteExportRows(const DataFolders& folders, std::vector<ExportRow>& rows, std::string& error);

// Fills `stream` with phrase n's recording; false with the reason in `error`.
using ExportClipReader =
    std::function<bool(std::int32_t number, std::vector<std::uint8_t>& stream, std::string& error)>;

// Writes the rows and their recordings into `folder`, made when missing.
// False with the reason in `error` (nothing to export, not a folder, not
// writable, disk full, a recording missing).
bool WriteExport(const std::filesystem::path& folder, const std::vector<ExportRow>& rows,
                 const ExportClipReader& readClip, std::string& error);

}  // namespace lexoria
