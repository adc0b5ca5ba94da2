// SPDX-License-Identifier: GPL-3.0-or-later
// Window shapes from pictures: the region of the pixels of a bitmap that do
// not match a key colour (within a tolerance). The main window and the about
// box cut themselves to their skins with it.
#pragma once

#include <QImage>
#include <QRegion>

#include <cstdint>
#include <optional>

namespace lexoria {

// Key colour as 0x00BBGGRR: red in the lowest byte, blue in the third.
inline constexpr std::uint32_t kKeyBlack = 0x000000;
inline constexpr std::uint32_t kKeyWhite = 0xFFFFFF;

// Runs go to the region code in batches, so that no single call gets an
// unbounded rectangle list; the batch array grows in steps.
inline constexpr int kRegionBatchLimit = 3000;
inline constexpr int kRegionBatchGrowth = 100;

// What a scan did, for tests and measurements.
struct RegionScanStats {
  int runs = 0;      // run rectangles collected
  int batches = 0;   // batches turned into regions, the final one included
  int capacity = 0;  // largest capacity the batch array reached
};

// mode 0 collects the runs of key-coloured pixels and removes them from the
// full rectangle; any other mode collects the other runs. Both give the same
// region. Empty when there is no picture.
std::optional<QRegion> BitmapToRegion(const QImage& bitmap, std::uint32_t keyColour, int mode,
                                      RegionScanStats* stats = nullptr);

// The same with a smaller batch limit, so tests can show that the batch
// boundaries do not change the result.
std::optional<QRegion> BitmapToRegionBatched(const QImage& bitmap, std::uint32_t keyColour, int mode, int batchLimit,
                                             RegionScanStats* stats = nullptr);

}  // namespace lexoria
