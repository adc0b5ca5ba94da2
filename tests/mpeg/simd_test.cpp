// SPDX-License-Identifier: GPL-3.0-or-later
// Every instruction set against the portable scalar kernels, on every
// conformance vector and every output variant (rate reduction, channel
// handling, 8-bit, precise rounding): the same float operations in the same
// order, so the samples are the same, byte for byte.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "mpeg/mpegdecoder.h"
#include "streamrun.h"
#include "testsupport.h"

using namespace lexoria::mpeg;
using mpegtest::Stream;
using mpegtest::StreamRun;

namespace {

std::vector<std::string> Vectors() {
  std::vector<std::string> files;
  const std::string dir = mpegtest::VectorsDir();
  if (dir.empty() || !std::filesystem::is_directory(dir)) return files;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    const std::string ext = entry.path().extension().string();
    if (ext == ".bit" || ext == ".mp3") files.push_back(entry.path().string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::vector<DecoderOptions> Variants() {
  std::vector<DecoderOptions> variants;
  for (uint32_t reduction = 0; reduction <= 2; ++reduction)
    for (uint32_t channels = 0; channels <= 3; ++channels)
      for (uint32_t format : {0u, kConversion8Bit})
        for (uint32_t rounding : {0u, kConversionPrecise}) {
          DecoderOptions o;
          o.reduction = reduction;
          o.conversion = channels | format | rounding;
          variants.push_back(o);
        }
  return variants;
}

TEST(Simd, EverySetGivesTheScalarSamples) {
  const std::vector<std::string> files = Vectors();
  if (files.empty()) MPEGTEST_SKIP_WITHOUT_VECTORS("conformance vectors not found");
  std::vector<Simd> sets;
  for (Simd simd : {Simd::kSse2, Simd::kAvx2})
    if (SimdAvailable(simd)) sets.push_back(simd);
#if defined(__x86_64__)
  // SSE2 is the x86-64 baseline: its kernels are always built and usable.
  ASSERT_FALSE(sets.empty()) << "no SSE2 kernels in an x86-64 build";
#endif
  if (sets.empty()) GTEST_SKIP() << "only the scalar kernels on this processor";
  size_t compared = 0;
  for (const std::string& file : files) {
    Stream stream{mpegtest::ReadBytes(file), {}};
    for (const DecoderOptions& options : Variants()) {
      stream.options = options;
      const std::vector<uint8_t> scalar = StreamRun(stream, Simd::kScalar).Run();
      for (Simd simd : sets) {
        const std::vector<uint8_t> fast = StreamRun(stream, simd).Run();
        ASSERT_EQ(fast.size(), scalar.size()) << file;
        size_t differing = 0;
        for (size_t i = 0; i < fast.size(); ++i) differing += fast[i] != scalar[i];
        EXPECT_EQ(differing, 0u) << std::filesystem::path(file).filename() << " set " << static_cast<int>(simd)
                                 << " reduction " << options.reduction << " conversion " << options.conversion;
        compared += fast.size();
      }
    }
  }
  EXPECT_GT(compared, 0u);
}

TEST(Simd, UnavailableSetsAreRefused) {
  Decoder d;
  EXPECT_TRUE(d.SetSimd(Simd::kScalar));
  EXPECT_EQ(d.ActiveSimd(), Simd::kScalar);
  EXPECT_EQ(d.SetSimd(Simd::kAvx2), SimdAvailable(Simd::kAvx2));
  EXPECT_TRUE(SimdAvailable(BestSimd()));
}

}  // namespace
