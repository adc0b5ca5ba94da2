// SPDX-License-Identifier: GPL-3.0-or-later
#include "soundfixtures.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "mpeg/streamreader.h"

namespace lexoria::sound::testing {

namespace {

void Put32(Bytes& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void PutText(Bytes& out, const char* text) { out.insert(out.end(), text, text + std::strlen(text)); }

int Run(std::string command) {
  command.append(" >/dev/null 2>&1");
  return std::system(command.c_str());
}

}  // namespace

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "lexoria-sound-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp");
  m_path = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(m_path, ignored);
}

Bytes SilentFrames(uint32_t count, const uint8_t header[4], uint32_t frameBytes) {
  Bytes out;
  for (uint32_t i = 0; i < count; ++i) {
    out.insert(out.end(), header, header + 4);
    out.resize(out.size() + frameBytes - 4, 0);
  }
  return out;
}

Bytes Wrap(const Bytes& stream, ClipWrapper wrapper) {
  Bytes out;
  PutText(out, "RIFF");
  Put32(out, 0);  // patched below
  auto fmtChunk = [&](uint32_t size) {
    PutText(out, "WAVEfmt ");
    Put32(out, size);
    out.push_back(0x55);  // MPEG layer III format tag
    out.push_back(0x00);
    out.resize(out.size() + size - 2, 0);
  };
  switch (wrapper) {
    case ClipWrapper::Bare: return stream;
    case ClipWrapper::WaveFact70:
    case ClipWrapper::WaveFact72:
      fmtChunk(wrapper == ClipWrapper::WaveFact70 ? 30 : 32);
      PutText(out, "fact");
      Put32(out, 4);
      Put32(out, 1234);
      PutText(out, "data");
      Put32(out, static_cast<uint32_t>(stream.size()));
      break;
    case ClipWrapper::WaveData58:
      fmtChunk(30);
      PutText(out, "data");
      Put32(out, static_cast<uint32_t>(stream.size()));
      break;
    case ClipWrapper::Rmp3: PutText(out, "RMP3data"); break;
  }
  out.insert(out.end(), stream.begin(), stream.end());
  const uint32_t riffSize = static_cast<uint32_t>(out.size() - 8);
  std::memcpy(out.data() + 4, &riffSize, 4);
  return out;
}

Bytes WithTag(const Bytes& stream) {
  Bytes out = stream;
  Bytes tag(128, 0);
  std::memcpy(tag.data(), "TAGA test title", 15);
  out.insert(out.end(), tag.begin(), tag.end());
  return out;
}

Bytes ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const std::filesystem::path& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void WriteArchiveFiles(const std::filesystem::path& folder, const std::vector<Bytes>& clips) {
  Bytes data;
  PutText(data, "zarquell");
  Put32(data, 2102);
  Bytes index;
  for (const Bytes& clip : clips) {
    Put32(index, static_cast<uint32_t>(data.size() - 12));
    Put32(index, static_cast<uint32_t>(clip.size()));
    data.insert(data.end(), clip.begin(), clip.end());
  }
  WriteFile(folder / "data.dat", data);
  WriteFile(folder / "data.idx", index);
}

bool HaveEncoder() { return Run("command -v sox") == 0 && Run("command -v lame") == 0; }

Bytes Encode(const std::filesystem::path& folder, double seconds, const std::string& lameArgs) {
  const std::filesystem::path wav = folder / "signal.wav";
  const std::filesystem::path mp3 = folder / "signal.mp3";
  // A tone gliding over the speech band with a tremolo: every frame differs.
  char synth[256];
  std::snprintf(synth, sizeof synth, "sox -n -r 24000 -c 1 -b 16 '%s' synth %.3f sine 150-3000 tremolo 5 60 vol 0.6",
                wav.c_str(), seconds);
  if (Run(synth) != 0) return {};
  std::string lame = "lame --quiet ";
  lame.append(lameArgs).append(" '").append(wav.string()).append("' '").append(mp3.string()).append("'");
  if (Run(lame) != 0) return {};
  return ReadFile(mp3);
}

std::vector<Bytes> SplitFrames(const Bytes& stream) {
  std::vector<Bytes> frames;
  size_t offset = 0;
  while (stream.size() - offset >= 4) {
    mpeg::FrameHeader h;
    if (mpeg::ReadFrameHeader(stream.data() + offset, h) != mpeg::Result::kOk) break;
    const uint32_t length = mpeg::FrameLength(h, mpeg::HeaderSampleRate(h));
    if (length == 0 || length > stream.size() - offset) break;
    frames.emplace_back(stream.begin() + static_cast<std::ptrdiff_t>(offset),
                        stream.begin() + static_cast<std::ptrdiff_t>(offset + length));
    offset += length;
  }
  return frames;
}

Bytes JoinFrames(const std::vector<Bytes>& frames, size_t first, size_t count) {
  Bytes out;
  for (size_t i = first; i < first + count && i < frames.size(); ++i)
    out.insert(out.end(), frames[i].begin(), frames[i].end());
  return out;
}

Bytes DecodeWithMpadec(const std::filesystem::path& folder, const Bytes& stream, std::string& why) {
  const char* runDir = std::getenv("LEXORIA_RUN_DIR");
  if (runDir == nullptr) {
    why = "LEXORIA_RUN_DIR is not set";
    return {};
  }
  const std::filesystem::path tool = std::filesystem::path(runDir) / "mpadec";
  if (!std::filesystem::exists(tool)) {
    why = tool.string() + " is not built";
    return {};
  }
  const std::filesystem::path in = folder / "oracle.mp3";
  const std::filesystem::path out = folder / "oracle.pcm";
  WriteFile(in, stream);
  std::filesystem::remove(out);
  std::string command = "'";
  command.append(tool.string()).append("' '").append(in.string()).append("' '").append(out.string()).append("'");
  if (Run(command) != 0) {
    why = "mpadec failed on the stream";
    return {};
  }
  return ReadFile(out);
}

}  // namespace lexoria::sound::testing
