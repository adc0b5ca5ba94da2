// SPDX-License-Identifier: GPL-3.0-or-later
// The main of every GoogleTest binary. Run by hand it ends by naming every
// case that was skipped and why (no conformance vectors, a missing tool, a
// mount this machine refuses); when nothing ran to success and something was
// skipped it exits with 77, which CTest reports as skipped, not passed.
#include <gtest/gtest.h>

#include <cstdio>

namespace {

constexpr int kSkippedExitCode = 77;

void ReportSkipped(const testing::UnitTest& unit) {
  std::printf("\nSkipped here, %d of %d:\n", unit.skipped_test_count(), unit.test_to_run_count());
  for (int s = 0; s < unit.total_test_suite_count(); ++s) {
    const testing::TestSuite& suite = *unit.GetTestSuite(s);
    for (int t = 0; t < suite.total_test_count(); ++t) {
      const testing::TestInfo& info = *suite.GetTestInfo(t);
      const testing::TestResult& result = *info.result();
      if (!info.should_run() || !result.Skipped()) continue;
      const char* why = "";
      for (int p = 0; p < result.total_part_count(); ++p) {
        if (result.GetTestPartResult(p).skipped()) why = result.GetTestPartResult(p).message();
      }
      std::printf("  %s.%s: %s\n", suite.name(), info.name(), why);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  const int failed = RUN_ALL_TESTS();
  const testing::UnitTest& unit = *testing::UnitTest::GetInstance();
  if (unit.skipped_test_count() > 0) ReportSkipped(unit);
  if (failed != 0) return failed;
  if (unit.skipped_test_count() > 0 && unit.successful_test_count() == 0) return kSkippedExitCode;
  return 0;
}
