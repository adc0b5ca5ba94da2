// SPDX-License-Identifier: GPL-3.0-or-later
// bench_search [--benchmark_...]: the ranked search over content/generated.
//
// FirstSearch opens the phrase files and runs one search, which builds the
// index; BuildIndex builds it alone; Keystroke is one search as live typing
// runs it, on a built index, for the prefixes a traveller types on the way
// to a few queries.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "data/phrasebook.h"

namespace {

using lexoria::DataFolders;
using lexoria::PhraseBook;

// The favourites file the book insists on goes to a folder of its own.
DataFolders Folders() {
  const std::filesystem::path favourites = std::filesystem::temp_directory_path() / "lexoria-bench-search";
  std::filesystem::create_directories(favourites);
  return DataFolders{LEXORIA_CONTENT_DIR, favourites};
}

void Search(PhraseBook& book, std::u16string key) {
  book.LoadAllEnglish();
  book.SetKeyWord(std::move(key));
  book.SetExactMatch(0);
  book.SearchPhrases(false);
  benchmark::DoNotOptimize(book.Lines().data());
  book.TakeChanges();
}

void FirstSearch(benchmark::State& state) {
  PhraseBook book;
  book.SetFolders(Folders());
  for (auto _ : state) {
    book.OpenPhraseFiles();  // forgets the index
    Search(book, u"taxi");
  }
}
BENCHMARK(FirstSearch)->Unit(benchmark::kMillisecond);

// The index alone, as the window builds it once it is on screen.
void BuildIndex(benchmark::State& state) {
  PhraseBook book;
  book.SetFolders(Folders());
  for (auto _ : state) {
    book.OpenPhraseFiles();
    book.PrepareSearch();
  }
}
BENCHMARK(BuildIndex)->Unit(benchmark::kMillisecond);

// Every prefix of the query, as the keys come.
std::vector<std::u16string> Typing(const std::u16string& query) {
  std::vector<std::u16string> prefixes;
  for (std::size_t n = 1; n <= query.size(); ++n) prefixes.push_back(query.substr(0, n));
  return prefixes;
}

void Keystroke(benchmark::State& state, std::u16string query) {
  PhraseBook book;
  book.SetFolders(Folders());
  book.OpenPhraseFiles();
  Search(book, u"warm");
  const std::vector<std::u16string> keys = Typing(query);
  std::size_t i = 0;
  for (auto _ : state) Search(book, keys[i++ % keys.size()]);
}
BENCHMARK_CAPTURE(Keystroke, short, std::u16string(u"taxi"))->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Keystroke, question, std::u16string(u"where is the toilet"))->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Keystroke, slips, std::u16string(u"resturant resevation"))->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Keystroke, romaji, std::u16string(u"arigatou gozaimasu"))->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Keystroke, kana, std::u16string(u"\u3042\u308A\u304C\u3068\u3046"))->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
