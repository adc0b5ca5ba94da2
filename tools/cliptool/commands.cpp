// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <system_error>
#include <vector>

#include "sound/sound.h"
#include "wavefile.h"

namespace lexoria::cliptool {

namespace {

using namespace lexoria::sound;

void PrintMessage(std::string_view text) {
  std::fprintf(stderr, "cliptool: %.*s\n", static_cast<int>(text.size()), text.data());
}

const char* VersionName(uint32_t version) { return version == 1 ? "MPEG-1" : version == 2 ? "MPEG-2" : "MPEG-2.5"; }

const char* ModeName(uint32_t mode) {
  static const char* const names[4] = {"stereo", "joint stereo", "dual channel", "mono"};
  return names[mode & 3];
}

uint32_t SamplesPerFrame(const mpeg::FrameHeader& h) {
  if (h.layer == 1) return 384;
  if (h.layer == 2 || h.version == 1) return 1152;
  return 576;
}

// What one clip body holds, for list and check.
struct ClipSummary {
  bool readable = false;
  std::string format;  // wrapper and stream format, or why it is unreadable
  ClipLayout layout;
  StreamWalk walk;
  uint32_t durationMs = 0;
};

ClipSummary Summarise(const std::vector<uint8_t>& body) {
  ClipSummary s;
  if (!FindClipStream(body.data(), static_cast<uint32_t>(body.size()), s.layout)) {
    s.format = "RIFF of no known layout";
    return s;
  }
  const uint8_t* stream = body.data() + s.layout.streamStart;
  StreamFormat format;
  if (!ReadFirstHeader(stream, s.layout.streamLength, format)) {
    s.format = std::string(WrapperName(s.layout.wrapper)) + ", no valid frame header at the stream start";
    return s;
  }
  s.readable = true;
  s.walk = WalkStream(stream, s.layout.streamLength);
  const mpeg::FrameHeader& h = format.header;
  char text[160];
  std::snprintf(text, sizeof text, "%s %s layer %s %u Hz %s %u kbit/s%s%s", WrapperName(s.layout.wrapper),
                VersionName(h.version),
                h.layer == 1   ? "I"
                : h.layer == 2 ? "II"
                               : "III",
                unsigned{format.sampleRate}, ModeName(h.mode), unsigned{format.kbitRate},
                s.walk.vbrHeader ? " VBR" : "", s.layout.trailingTag ? " +TAG" : "");
  s.format = text;
  s.durationMs = static_cast<uint32_t>(uint64_t{s.walk.frames} * SamplesPerFrame(h) * 1000 / format.sampleRate);
  return s;
}

bool ReadWholeFile(const std::filesystem::path& path, std::vector<uint8_t>& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

bool IsSilent(const uint8_t* data, uint32_t size) {
  return std::all_of(data, data + size, [](uint8_t b) { return b == 0; });
}

// Play must sound at once: a clip's speech (its first sample above -40 dBFS)
// starts at most this far into the clip as it is played.
constexpr double kLatestSpeechStartMs = 70.0;
constexpr int kSpeechLevel = 328;  // -40 dBFS of 16-bit full scale

// Milliseconds from the block's start to its first sample above -40 dBFS;
// negative when there is none.
double SpeechStartMs(const uint8_t* data, uint32_t size, const WaveFormat& format) {
  const uint32_t samples = size / 2;
  for (uint32_t i = 0; i < samples; ++i) {
    const int16_t s = static_cast<int16_t>(data[2 * i] | (data[2 * i + 1] << 8));
    if (s > kSpeechLevel || s < -kSpeechLevel) return 1000.0 * (i / format.channels) / format.samplesPerSec;
  }
  return -1;
}

// The archive index of the working directory; on failure says why.
bool ReadIndexOrSayWhy(std::vector<ClipEntry>& entries, uint64_t& bodyBytes) {
  const ClipStatus status = ReadArchiveIndex({}, entries, bodyBytes);
  if (status == ClipStatus::Loaded) return true;
  PrintMessage(StatusName(status));
  return false;
}

}  // namespace

int ListClips() {
  std::vector<ClipEntry> entries;
  uint64_t bodyBytes = 0;
  if (!ReadIndexOrSayWhy(entries, bodyBytes)) return 1;
  std::printf("clip\toffset\tsize\tformat\tframes\tduration\n");
  for (size_t i = 0; i < entries.size(); ++i) {
    const int32_t n = static_cast<int32_t>(i + 1);
    std::vector<uint8_t> body;
    const ClipStatus read = ReadClip({}, n, body);
    ClipSummary s;
    if (read == ClipStatus::Loaded) {
      s = Summarise(body);
    } else {
      s.format = StatusName(read);
    }
    if (s.readable) {
      std::printf("%d\t%u\t%u\t%s\t%u\t%u.%03u s\n", n, entries[i].offset, entries[i].size, s.format.c_str(),
                  s.walk.frames, s.durationMs / 1000, s.durationMs % 1000);
    } else {
      std::printf("%d\t%u\t%u\t%s\t-\t-\n", n, entries[i].offset, entries[i].size, s.format.c_str());
    }
  }
  return 0;
}

int ExtractClip(int32_t n, const std::filesystem::path& file) {
  std::vector<uint8_t> body;
  const ClipStatus status = ReadClip({}, n, body);
  if (status != ClipStatus::Loaded) {
    std::fprintf(stderr, "cliptool: clip %d: %s\n", n, StatusName(status));
    return 1;
  }
  std::ofstream out(file, std::ios::binary);
  out.write(reinterpret_cast<const char*>(body.data()), static_cast<std::streamsize>(body.size()));
  out.close();
  if (!out) {
    std::fprintf(stderr, "cliptool: cannot write %s\n", file.c_str());
    return 1;
  }
  return 0;
}

int RenderClip(int32_t n, const std::filesystem::path& file, float tempo) {
  CaptureOutput capture;
  CWavePlayer player(&capture);
  int32_t current = -1;
  const ClipStatus status = LoadClip(n, player, current, PrintMessage);
  if (status != ClipStatus::Loaded) {
    std::fprintf(stderr, "cliptool: clip %d: %s\n", n, StatusName(status));
    return 1;
  }
  player.Stop();
  if (tempo == 1.0f)
    player.Start();
  else
    player.StartAtTempo(tempo);
  if (capture.Writes().empty()) {
    std::fprintf(stderr, "cliptool: clip %d: nothing was played\n", n);
    return 1;
  }
  if (!WriteWaveFile(file, capture.Format(), capture.Writes().back())) {
    std::fprintf(stderr, "cliptool: cannot write %s\n", file.c_str());
    return 1;
  }
  return 0;
}

int BuildArchive(const std::filesystem::path& folder) {
  // NNNN.mp3, four digits, numbered from 0001 without a gap.
  std::map<int, std::filesystem::path> byNumber;
  std::error_code error;
  for (const auto& item : std::filesystem::directory_iterator(folder, error)) {
    const std::string name = item.path().filename().string();
    if (name.size() != 8 || name.compare(4, 4, ".mp3") != 0) continue;
    if (!std::all_of(name.begin(), name.begin() + 4, [](char c) { return c >= '0' && c <= '9'; })) continue;
    byNumber[std::stoi(name.substr(0, 4))] = item.path();
  }
  if (error) {
    std::fprintf(stderr, "cliptool: cannot read %s\n", folder.c_str());
    return 1;
  }
  if (byNumber.empty()) {
    std::fprintf(stderr, "cliptool: no 0001.mp3 in %s\n", folder.c_str());
    return 1;
  }
  std::vector<std::vector<uint8_t>> clips;
  int expected = 1;
  for (const auto& [number, path] : byNumber) {
    if (number != expected) {
      std::fprintf(stderr, "cliptool: %s/%04d.mp3 is missing\n", folder.c_str(), expected);
      return 1;
    }
    ++expected;
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(path, bytes) || bytes.empty()) {
      std::fprintf(stderr, "cliptool: %s is empty or unreadable\n", path.c_str());
      return 1;
    }
    clips.push_back(std::move(bytes));
  }
  if (!WriteArchive({}, clips)) {
    std::fprintf(stderr, "cliptool: cannot write %s and %s\n", kDataFileName, kIndexFileName);
    return 1;
  }
  uint64_t total = 0;
  for (const auto& clip : clips) total += clip.size();
  std::printf("%zu clips, %llu bytes\n", clips.size(), static_cast<unsigned long long>(total));
  return 0;
}

int CheckClips() {
  std::vector<ClipEntry> entries;
  uint64_t bodyBytes = 0;
  if (!ReadIndexOrSayWhy(entries, bodyBytes)) return 1;
  if (entries.empty()) {
    PrintMessage("the index holds no clip");
    return 1;
  }
  int bad = 0;
  CaptureOutput capture;
  CWavePlayer player(&capture);
  for (size_t i = 0; i < entries.size(); ++i) {
    const int32_t n = static_cast<int32_t>(i + 1);
    auto fail = [&](const std::string& why) {
      std::printf("clip %d: %s\n", n, why.c_str());
      ++bad;
    };
    int32_t current = -1;
    capture.ClearLog();
    const ClipStatus loaded = LoadClip(n, player, current, PrintMessage);
    if (loaded != ClipStatus::Loaded) {
      fail(StatusName(loaded));
      continue;
    }
    player.Stop();
    player.Start();
    std::vector<uint8_t> body;
    ReadClip({}, n, body);
    const ClipSummary s = Summarise(body);
    const uint32_t played = std::min(s.walk.frames, CWavePlayer::kMaxFramesPerBlock);
    if (capture.Writes().empty()) {
      fail("nothing was played");
    } else if (s.walk.frames > CWavePlayer::kMaxFramesPerBlock) {
      fail(std::to_string(s.walk.frames) + " frames: only the first 300 are played");
    } else if (s.walk.frameBytes != s.layout.streamLength) {
      fail(std::to_string(s.layout.streamLength - s.walk.frameBytes) + " bytes after the last whole frame");
    } else if (player.FramesDecoded() < played) {
      fail("decoded " + std::to_string(player.FramesDecoded()) + " of " + std::to_string(played) + " frames");
    } else if (IsSilent(player.Block(), player.BlockSize())) {
      fail("plays only silence");
    } else if (const double ms = SpeechStartMs(player.Block(), player.BlockSize(), player.Format());
               ms < 0 || ms > kLatestSpeechStartMs) {
      char why[96];
      std::snprintf(why, sizeof why, "speech starts %.0f ms in (at most %.0f)", ms, kLatestSpeechStartMs);
      fail(ms < 0 ? std::string("no speech above -40 dBFS") : std::string(why));
    }
  }
  player.Close();
  if (bad == 0) std::printf("%zu clips, all play\n", entries.size());
  return bad == 0 ? 0 : 1;
}

}  // namespace lexoria::cliptool
