// SPDX-License-Identifier: GPL-3.0-or-later
// What the archive benchmarks share: the --archive DIR option beside Google
// Benchmark's own, and reading the index with a message naming the folder.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

#include "sound/cliparchive.h"

namespace lexoria::bench {

inline bool ReadArchiveOrSay(const char* tool, const std::filesystem::path& folder,
                             std::vector<sound::ClipEntry>& entries) {
  uint64_t bodyBytes = 0;
  const sound::ClipStatus status = sound::ReadArchiveIndex(folder, entries, bodyBytes);
  if (status == sound::ClipStatus::Loaded && !entries.empty()) return true;
  std::fprintf(stderr, "%s: no sound archive in %s (%s)\n", tool,
               folder.empty() ? "the working directory" : folder.c_str(), sound::StatusName(status));
  return false;
}

// Takes --archive DIR out of the arguments, runs `prepare`, then the
// registered benchmarks.
inline int RunArchiveBenchmarks(int argc, char** argv, std::filesystem::path& folder, bool (*prepare)()) {
  std::vector<char*> args;
  for (int i = 0; i < argc; ++i) {
    if (std::strcmp(argv[i], "--archive") == 0 && i + 1 < argc) {
      folder = argv[++i];
    } else {
      args.push_back(argv[i]);
    }
  }
  int count = static_cast<int>(args.size());
  benchmark::Initialize(&count, args.data());
  if (!prepare()) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

}  // namespace lexoria::bench
