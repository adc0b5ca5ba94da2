// Helpers shared by the decoder tests: files, commands, PCM comparison.
#pragma once

#include <sys/wait.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace mpegtest {

inline std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

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
