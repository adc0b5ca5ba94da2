// SPDX-License-Identifier: GPL-3.0-or-later
// phrasebuild english|japanese|all
// Works in the current directory. Exit 0 when every file asked for was
// written; otherwise each failure is named on stderr and the exit is 1
// (2 for a wrong command line).
#include <cstdio>
#include <string_view>

#include "data/builder.h"

namespace {

int Usage() {
  std::fputs(
      "usage: phrasebuild english|japanese|all\n"
      "  english   English.txt -> English.dat\n"
      "  japanese  Pron.txt, Japanese1.txt, Japanese2.txt -> Japanese.dat\n"
      "  all       both\n",
      stderr);
  return 2;
}

bool Run(int (*build)(lexoria::BuildReport*)) {
  lexoria::BuildReport report;
  if (build(&report) == 1) return true;
  std::fprintf(stderr, "phrasebuild: %s\n", report.Describe().c_str());
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return Usage();
  const std::string_view what = argv[1];
  bool ok = true;
  if (what == "english") {
    ok = Run(lexoria::BuildEnglishData);
  } else if (what == "japanese") {
    ok = Run(lexoria::BuildJapaneseData);
  } else if (what == "all") {
    const bool english = Run(lexoria::BuildEnglishData);
    const bool japanese = Run(lexoria::BuildJapaneseData);
    ok = english && japanese;
  } else {
    return Usage();
  }
  return ok ? 0 : 1;
}
