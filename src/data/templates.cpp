// SPDX-License-Identifier: GPL-3.0-or-later
// The template file MapEngSpec.data: browsing a range and the key-word search.
#include <memory>

#include "data/phrasebook.h"
#include "data/wellformed.h"

namespace lexoria {
namespace {

// One whole record; a damaged one reads as an empty text outside any group,
// so that it shows as nothing and swallows no record after it.
bool ReadSoundTemplate(std::FILE* file, TemplateRecord& record, bool& sound) {
  TemplateBytes bytes;
  if (std::fread(bytes.data(), 1, bytes.size(), file) != bytes.size()) return false;
  sound = WellFormedTemplate(bytes);
  record = sound ? DecodeTemplateRecord(bytes) : TemplateRecord{};
  return true;
}

// The search works on a copy of the key word of this many units, terminator
// included; longer key words are cut.
constexpr std::size_t kKeyWordUnits = 512;

// Skips the rest of a group whose head was just read: further records are
// read while their count is below (group size of the record last read) - 1.
// Returns how many were read.
std::int32_t SkipGroupRest(std::FILE* file, std::int16_t headGroupSize) {
  std::int32_t further = 0;
  std::int32_t groupSize = headGroupSize;
  TemplateRecord record;
  bool sound = true;
  while (further < groupSize - 1 && ReadSoundTemplate(file, record, sound)) {
    ++further;
    groupSize = record.groupSize;
  }
  return further;
}

}  // namespace

void PhraseBook::FillTemplateRange(std::int32_t first, std::int32_t last) {
  std::FILE* file = std::fopen(folders_.DataFile("MapEngSpec.data").c_str(), "rb");
  if (file == nullptr) {
    Say(std::string(msg::kCantReadTemplates));
    return;
  }
  lines_.clear();
  selection_ = -1;
  if (first >= 1 &&
      std::fseek(file, static_cast<long>(first - 1) * static_cast<long>(kTemplateRecordSize), SEEK_SET) == 0) {
    TemplateRecord record;
    bool sound = true;
    // A file shorter than the range ends the fill with the lines read so far.
    for (std::int32_t i = first; i <= last && ReadSoundTemplate(file, record, sound); ++i) {
      if (sound) AddItem(std::make_shared<CItem>(WidenLatin1(record.text)));
      if (record.groupSize > 1) i += SkipGroupRest(file, record.groupSize);
    }
  }
  std::fclose(file);
  Changed(BookChange::Kind::ListRefilled);
}

void PhraseBook::SearchPhrases(bool tellWhenNone) {
  searchCorrection_.clear();
  if (keyWord_.empty()) return;
  std::FILE* file = std::fopen(folders_.DataFile("MapEngSpec.data").c_str(), "rb");
  if (file == nullptr) return;
  if (exactMatch_ == 0) {
    std::fclose(file);
    RankedSearch(std::u16string_view(keyWord_).substr(0, kKeyWordUnits - 1), tellWhenNone);
    return;
  }

  // Exact match: the whole line, as typed but for the case of A-Z.
  lines_.clear();
  selection_ = -1;
  const std::u16string key = LowerAscii(std::u16string_view(keyWord_).substr(0, kKeyWordUnits - 1));

  bool found = false;
  TemplateRecord record;
  bool sound = true;
  char16_t widened[kKeyWordUnits];
  // Every template line with the phrases it stands for, for the romaji and
  // Japanese matches that follow the English ones.
  std::vector<TemplateLine> templateLines;
  std::int32_t phrase = 1;
  while (ReadSoundTemplate(file, record, sound)) {
    // Each record is searched on its own text, even an empty one.
    widened[0] = u'\0';
    WidenLine(widened, record.text, kKeyWordUnits);
    const std::u16string lowered = LowerAscii(widened);
    const bool listed = sound && lowered == key;
    if (listed) {
      AddItem(std::make_shared<CItem>(WidenLatin1(record.text)));
      found = true;
    }
    const std::int32_t further = record.groupSize > 1 ? SkipGroupRest(file, record.groupSize) : 0;
    // A damaged record is never listed, by any script.
    templateLines.push_back(TemplateLine{phrase, further + 1, std::move(record.text), listed || !sound});
    phrase += further + 1;
  }
  std::fclose(file);
  if (AddAnyScriptMatches(templateLines, key)) found = true;
  Changed(BookChange::Kind::ListRefilled);
  if (!found && tellWhenNone) Say(std::string(msg::kItemNotFound));
}

}  // namespace lexoria
