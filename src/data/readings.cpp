// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/readings.h"

#include <cerrno>
#include <cstdio>

#include "data/records.h"
#include "data/utf8.h"

namespace lexoria {
namespace {

constexpr char16_t kMarker = u'\uFF5C';  // ｜

void AddPlain(RubyText& segments, std::u16string_view text) {
  if (text.empty()) return;
  if (!segments.empty() && segments.back().reading.empty())
    segments.back().base += text;
  else
    segments.push_back({std::u16string(text), {}});
}

}  // namespace

bool IsKanji(char16_t c) {
  return (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) ||
         c == u'\u3005' || c == u'\u30F6' || c == u'\u3006';
}

bool ParseAnnotated(std::u16string_view text, RubyText& segments) {
  segments.clear();
  std::size_t plainStart = 0;  // start of text not yet placed
  std::size_t marker = std::u16string_view::npos;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == u'}') return false;
    if (c == kMarker) {
      if (marker != std::u16string_view::npos) return false;
      marker = i;
      continue;
    }
    if (c != u'{') continue;
    const std::size_t close = text.find(u'}', i + 1);
    if (close == std::u16string_view::npos || close == i + 1) return false;
    const std::u16string_view reading = text.substr(i + 1, close - i - 1);
    if (reading.find(u'{') != std::u16string_view::npos || reading.find(kMarker) != std::u16string_view::npos)
      return false;
    std::size_t baseStart = i;
    if (marker != std::u16string_view::npos) {
      baseStart = marker + 1;
    } else {
      while (baseStart > plainStart && IsKanji(text[baseStart - 1])) --baseStart;
    }
    if (baseStart == i) return false;  // no word before the reading
    AddPlain(segments,
             text.substr(plainStart, (marker != std::u16string_view::npos ? marker : baseStart) - plainStart));
    segments.push_back({std::u16string(text.substr(baseStart, i - baseStart)), std::u16string(reading)});
    plainStart = close + 1;
    marker = std::u16string_view::npos;
    i = close;
  }
  if (marker != std::u16string_view::npos) return false;
  AddPlain(segments, text.substr(plainStart));
  return true;
}

std::u16string PlainText(const RubyText& segments) {
  std::u16string text;
  for (const RubySegment& s : segments) text += s.base;
  return text;
}

Readings ParseReadings(std::string_view text) {
  Readings readings;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.size() >= 3 && line.substr(0, 3) == "\xEF\xBB\xBF") line.remove_prefix(3);
    const std::size_t tab = line.find('\t');
    if (tab == std::string_view::npos || tab == 0 || tab > 4) continue;
    std::int32_t number = 0;
    bool digits = true;
    for (char c : line.substr(0, tab)) {
      if (c < '0' || c > '9')
        digits = false;
      else
        number = number * 10 + (c - '0');
    }
    if (!digits || number < 1 || number > kPhraseCount || readings.count(number) != 0) continue;
    std::u16string annotated;
    RubyText segments;
    if (!FromUtf8(line.substr(tab + 1), annotated) || !ParseAnnotated(annotated, segments) || segments.empty())
      continue;
    readings.emplace(number, std::move(segments));
  }
  return readings;
}

ReadingsLoad LoadReadings(const std::filesystem::path& path, Readings& readings) {
  readings.clear();
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return errno == ENOENT ? ReadingsLoad::Missing : ReadingsLoad::Failed;
  std::string text;
  char buffer[8192];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) {
    text.append(buffer, n);
    // Readings for 826 phrases are a few tens of kilobytes.
    if (text.size() > (8u << 20)) break;
  }
  const bool failed = std::ferror(f) != 0;
  std::fclose(f);
  if (failed) return ReadingsLoad::Failed;
  readings = ParseReadings(text);
  return ReadingsLoad::Loaded;
}

}  // namespace lexoria
