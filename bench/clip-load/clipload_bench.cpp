// SPDX-License-Identifier: GPL-3.0-or-later
// bench_clip_load [--archive DIR] [benchmark options]
//
// Times, for the longest clip of the archive in DIR (the working directory
// by default): LoadClip with its quarter decode (a click on a phrase), the
// first Stop + Start with the rest of the decode (the play button), and a
// replay that decodes nothing.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <vector>

#include "bench/common/archivebench.h"
#include "sound/captureoutput.h"
#include "sound/cliparchive.h"
#include "sound/loadclip.h"

namespace {

using namespace lexoria::sound;

std::filesystem::path g_folder;
int32_t g_clip = 0;

void LoadOnce(CWavePlayer& player) {
  int32_t current = -1;
  LoadClip(g_clip, player, current, nullptr, g_folder);
}

void BM_LoadClipAndQuarter(benchmark::State& state) {
  CaptureOutput out;
  CWavePlayer player(&out);
  for (auto _ : state) {
    LoadOnce(player);
    benchmark::DoNotOptimize(player.Block());
  }
  state.counters["frames"] = player.FramesPerBlock();
}

void BM_StartFirstPress(benchmark::State& state) {
  CaptureOutput out;
  CWavePlayer player(&out);
  for (auto _ : state) {
    state.PauseTiming();
    LoadOnce(player);
    out.ClearLog();
    state.ResumeTiming();
    player.Stop();
    player.Start();
    benchmark::DoNotOptimize(player.Block());
  }
}

void BM_StartReplay(benchmark::State& state) {
  CaptureOutput out;
  CWavePlayer player(&out);
  LoadOnce(player);
  player.Start();
  for (auto _ : state) {
    out.ClearLog();
    player.Stop();
    player.Start();
  }
}

BENCHMARK(BM_LoadClipAndQuarter)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartFirstPress)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartReplay)->Unit(benchmark::kMicrosecond);

// The longest clip: the one with the most bytes.
bool PickLongestClip() {
  std::vector<ClipEntry> entries;
  if (!lexoria::bench::ReadArchiveOrSay("bench_clip_load", g_folder, entries)) return false;
  uint32_t largest = 0;
  for (size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].size > largest) {
      largest = entries[i].size;
      g_clip = static_cast<int32_t>(i + 1);
    }
  }
  CaptureOutput out;
  CWavePlayer player(&out);
  int32_t current = -1;
  if (LoadClip(g_clip, player, current, nullptr, g_folder) != ClipStatus::Loaded) {
    std::fprintf(stderr, "bench_clip_load: clip %d does not load\n", g_clip);
    return false;
  }
  std::printf("clip %d of %zu: %u bytes, %u frames in the block, %u Hz, %u channel(s)\n", g_clip, entries.size(),
              largest, player.FramesPerBlock(), unsigned{player.SampleRate()}, unsigned{player.Channels()});
  return true;
}

}  // namespace

int main(int argc, char** argv) { return lexoria::bench::RunArchiveBenchmarks(argc, argv, g_folder, PickLongestClip); }
