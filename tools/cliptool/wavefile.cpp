// SPDX-License-Identifier: GPL-3.0-or-later
#include "wavefile.h"

#include <cstdio>

namespace lexoria::cliptool {

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

void PutText(std::vector<uint8_t>& out, const char* text) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(text[i]));
}

}  // namespace

bool WriteWaveFile(const std::filesystem::path& path, const sound::WaveFormat& format,
                   const std::vector<uint8_t>& pcm) {
  std::vector<uint8_t> header;
  PutText(header, "RIFF");
  Put32(header, static_cast<uint32_t>(36 + pcm.size()));
  PutText(header, "WAVE");
  PutText(header, "fmt ");
  Put32(header, 16);
  Put16(header, format.formatTag);
  Put16(header, format.channels);
  Put32(header, format.samplesPerSec);
  Put32(header, format.avgBytesPerSec);
  Put16(header, format.blockAlign);
  Put16(header, format.bitsPerSample);
  PutText(header, "data");
  Put32(header, static_cast<uint32_t>(pcm.size()));

  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return false;
  bool ok = std::fwrite(header.data(), 1, header.size(), f) == header.size();
  if (!pcm.empty()) ok = ok && std::fwrite(pcm.data(), 1, pcm.size(), f) == pcm.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace lexoria::cliptool
