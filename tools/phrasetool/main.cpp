// SPDX-License-Identifier: GPL-3.0-or-later
// phrasetool: the phrasebook from a terminal. It reads the same data files
// as the window, from the run folder or the installed layout.
#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "commands.h"
#include "data/phraseexport.h"
#include "toolkit/apppaths.h"

namespace {

int Usage() {
  std::fputs(
      "usage: phrasetool search [--exact] WORD...   phrases answering the words (English, romaji, kana, kanji),\n"
      "                                             best first: number, English, Japanese, romaji, tab-separated\n"
      "       phrasetool show N                     phrase N in its four forms, and its related phrases\n"
      "       phrasetool play [--slow] N            speak phrase N (slowly: at 0.7 of its tempo)\n"
      "       phrasetool export --favourites FOLDER the favourites as FOLDER/phrases.tsv for a flashcard\n"
      "       phrasetool export --category CODE FOLDER  program, each recording beside it as NNNN.mp3;\n"
      "                                             CODE: 100 Basic, 200 Travel, 300 Food, 400 Lodging,\n"
      "                                             500 Business, 600 SightSeeing, 700 Social,\n"
      "                                             800 Shopping, 900 Emergency, 1000 Question\n",
      stderr);
  return 2;
}

bool ParsePhraseNumber(const char* text, std::int32_t& n) {
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || value < 1 || value > 1000000) return false;
  n = static_cast<std::int32_t>(value);
  return true;
}

int ExportCommand(const lexoria::DataFolders& folders, const std::vector<std::string>& args) {
  if (args.size() == 2 && args[0] == "--favourites") return lexoria::phrasetool::Export(folders, 0, args[1]);
  if (args.size() == 3 && args[0] == "--category") {
    char* end = nullptr;
    const long code = std::strtol(args[1].c_str(), &end, 10);
    if (end == args[1].c_str() || *end != '\0' || code < 0 || code > 100000 ||
        lexoria::ExportCategoryName(static_cast<std::int32_t>(code)) == nullptr) {
      std::fprintf(stderr,
                   "phrasetool: %s is not a category code; use 100 Basic, 200 Travel, 300 Food, 400 Lodging, "
                   "500 Business, 600 SightSeeing, 700 Social, 800 Shopping, 900 Emergency or 1000 Question\n",
                   args[1].c_str());
      return 2;
    }
    return lexoria::phrasetool::Export(folders, static_cast<std::int32_t>(code), args[2]);
  }
  return Usage();
}

}  // namespace

int main(int argc, char** argv) {
  using namespace lexoria::phrasetool;
  if (argc < 2) return Usage();
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QString::fromLatin1(lexoria::kApplicationId));
  // The one place that decides where the data files are.
  const lexoria::AppPaths paths = lexoria::AppPaths::ForThisProcess();
  const lexoria::DataFolders folders{paths.dataPath(), paths.favouritesPath()};

  const std::string_view command = argv[1];
  std::vector<std::string> args(argv + 2, argv + argc);
  std::int32_t n = 0;
  if (command == "search") {
    const bool exact = !args.empty() && args.front() == "--exact";
    if (exact) args.erase(args.begin());
    if (args.empty()) return Usage();
    return Search(folders, args, exact);
  }
  if (command == "show" && args.size() == 1 && ParsePhraseNumber(args[0].c_str(), n)) return Show(folders, n);
  if (command == "play") {
    const bool slow = !args.empty() && args.front() == "--slow";
    if (slow) args.erase(args.begin());
    if (args.size() == 1 && ParsePhraseNumber(args[0].c_str(), n)) return Play(folders, n, slow);
  }
  if (command == "export") return ExportCommand(folders, args);
  return Usage();
}
