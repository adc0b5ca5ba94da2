// SPDX-License-Identifier: GPL-3.0-or-later
// bench_tempo_stretch [--archive DIR] [benchmark options]
//
// Times StretchPcm at the slow tempo on the decoded block of the longest
// clip of the archive in DIR (the working directory by default): the work
// a press on "Play slowly" adds to a press on play.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <vector>

#include "bench/common/archivebench.h"
#include "sound/captureoutput.h"
#include "sound/cliparchive.h"
#include "sound/loadclip.h"
#include "sound/tempostretch.h"

namespace {

using namespace lexoria::sound;

std::filesystem::path g_folder;
std::vector<uint8_t> g_block;
WaveFormat g_format;

void BM_StretchLongestClip(benchmark::State& state) {
  std::vector<uint8_t> out;
  for (auto _ : state) {
    StretchPcm(g_block.data(), static_cast<uint32_t>(g_block.size()), g_format, kSlowTempo, out);
    benchmark::DoNotOptimize(out.data());
  }
  const double seconds = static_cast<double>(g_block.size()) / (2.0 * g_format.channels * g_format.samplesPerSec);
  state.counters["clip_ms"] = seconds * 1000.0;
  state.counters["stretched_ms"] = seconds * 1000.0 / kSlowTempo;
}

BENCHMARK(BM_StretchLongestClip)->Unit(benchmark::kMillisecond);

// The longest clip: the one whose whole decoded block is the largest, as
// play writes it.
bool DecodeLongestClip() {
  std::vector<ClipEntry> entries;
  if (!lexoria::bench::ReadArchiveOrSay("bench_tempo_stretch", g_folder, entries)) return false;
  int32_t longest = 0;
  uint32_t longestSize = 0;
  for (size_t i = 0; i < entries.size(); ++i) {
    CWavePlayer player(nullptr);
    int32_t current = -1;
    const auto n = static_cast<int32_t>(i + 1);
    if (LoadClip(n, player, current, nullptr, g_folder) != ClipStatus::Loaded) continue;
    if (player.BlockSize() > longestSize) {
      longestSize = player.BlockSize();
      longest = n;
    }
  }
  CaptureOutput out;
  CWavePlayer player(&out);
  int32_t current = -1;
  if (longest == 0 || LoadClip(longest, player, current, nullptr, g_folder) != ClipStatus::Loaded ||
      player.Start() != CWavePlayer::kSuccess || out.Writes().empty()) {
    std::fprintf(stderr, "bench_tempo_stretch: no clip decodes\n");
    return false;
  }
  g_block = out.Writes().back();
  g_format = out.Format();
  std::printf("clip %d of %zu: %zu PCM bytes, %u Hz, %u channel(s)\n", longest, entries.size(), g_block.size(),
              unsigned{g_format.samplesPerSec}, unsigned{g_format.channels});
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  return lexoria::bench::RunArchiveBenchmarks(argc, argv, g_folder, DecodeLongestClip);
}
