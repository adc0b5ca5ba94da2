// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers shared by the decoder tests: files, commands, PCM comparison.
#pragma once

#include <sys/wait.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace mpegtest {

inline std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

// Where the shared folder is present the conformance vectors are required:
// a case that needs them fails there instead of skipping. Without it (a
// fresh clone with no test data beside it) such cases skip.
inline bool VectorsRequired() {
  const std::string shared = Env("LEXORIA_SHARED_DIR");
  return !shared.empty() && std::filesystem::is_directory(shared);
}

// Skips a case that lacks the conformance vectors, or fails it where they
// are required (gtest.h included first).
#define MPEGTEST_SKIP_WITHOUT_VECTORS(why)                               \
  do {                                                                   \
    if (mpegtest::VectorsRequired()) {                                   \
      FAIL() << why << " under " << mpegtest::Env("LEXORIA_SHARED_DIR"); \
    } else {                                                             \
      GTEST_SKIP() << why;                                               \
    }                                                                    \
  } while (0)

inline std::string VectorsDir() {
  const std::string shared = Env("LEXORIA_SHARED_DIR");
  return shared.empty() ? "" : shared + "/vectors";
}

inline std::string Mpadec() { return Env("LEXORIA_RUN_DIR") + "/mpadec"; }

inline bool Exists(const std::string& path) { return std::ifstream(path).good(); }

inline std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), {});
}

inline std::vector<int16_t> ReadPcm16(const std::string& path) {
  const std::vector<uint8_t> b = ReadBytes(path);
  std::vector<int16_t> s(b.size() / 2);
  for (size_t i = 0; i < s.size(); ++i) s[i] = static_cast<int16_t>(b[2 * i] | (b[2 * i + 1] << 8));
  return s;
}

// Exit status of a shell command; -1 when it did not exit normally (a crash).
inline int RunCommand(const std::string& command) {
  const int status = std::system(command.c_str());
  if (status == -1 || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

inline std::string Quote(const std::string& s) { return "'" + s + "'"; }

// Makes `path` once: a 16-bit tone from sox's `synth` arguments, encoded by
// `encoder`. "IN" in the encoder command marks the input's place; without
// it the input and the output follow the command. -R makes sox's dither
// repeatable, so every run tests the same stream.
// gcc 12 at -O3 reports a false -Wrestrict overlap inside the inlined string
// concatenations below.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wrestrict"
#endif
inline bool MakeEncodedStream(const std::string& path, int rate, int channels, const std::string& signal,
                              const std::string& encoder) {
  if (Exists(path)) return true;
  std::error_code ignored;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
  const std::string wav = path + ".wav";
  std::string sox = "sox -R -q -n -r ";
  sox += std::to_string(rate) + " -c " + std::to_string(channels) + " -b 16 " + Quote(wav) + " " + signal;
  if (RunCommand(sox + " 2>/dev/null") != 0) return false;
  // The temporary keeps the extension: some encoders choose the format by it.
  const std::string tmp = path + ".tmp" + std::filesystem::path(path).extension().string();
  const size_t in = encoder.find(" IN ");
  const std::string command =
      in == std::string::npos ? encoder + " " + Quote(wav) + " " + Quote(tmp)
                              : encoder.substr(0, in) + " " + Quote(wav) + encoder.substr(in + 3) + " " + Quote(tmp);
  const bool made = RunCommand(command) == 0 && RunCommand("mv " + Quote(tmp) + " " + Quote(path)) == 0;
  std::remove(wav.c_str());
  return made;
}
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

// Makes `raw` once: mpg123's 16-bit decoding of `stream` with `flags`.
inline bool MakeOracleDecode(const std::string& stream, const std::string& raw, const std::string& flags = "") {
  if (Exists(raw)) return true;
  const std::string tmp = raw + ".tmp";
  return RunCommand("mpg123 -q -s " + flags + " " + Quote(stream) + " > " + Quote(tmp) + " 2>/dev/null") == 0 &&
         RunCommand("mv " + Quote(tmp) + " " + Quote(raw)) == 0;
}

struct Difference {
  double rms = 0;
  int max = 0;
  size_t compared = 0;
};

// From the first sample over the length both have.
inline Difference Compare(const std::vector<int16_t>& a, const std::vector<int16_t>& b) {
  Difference d;
  d.compared = std::min(a.size(), b.size());
  double sum = 0;
  for (size_t i = 0; i < d.compared; ++i) {
    const int diff = a[i] - b[i];
    sum += double(diff) * diff;
    d.max = std::max(d.max, std::abs(diff));
  }
  d.rms = d.compared ? std::sqrt(sum / d.compared) : 0;
  return d;
}

}  // namespace mpegtest
