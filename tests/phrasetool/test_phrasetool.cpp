// SPDX-License-Identifier: GPL-3.0-or-later
// phrasetool's commands on the run folder's data, and on folders that lack
// one of its files. Phrases are picked by their text, not their number, so
// the content may change under the tests.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Result {
  int status = -1;
  std::string out;
  std::string err;
};

std::string ReadText(const fs::path& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return {};
  std::string text;
  char buffer[4096];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) text.append(buffer, n);
  std::fclose(f);
  return text;
}

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::stringstream stream(text);
  for (std::string part; std::getline(stream, part, separator);) parts.push_back(part);
  return parts;
}

class Phrasetool : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* runDir = std::getenv("LEXORIA_RUN_DIR");
    if (runDir == nullptr || !fs::exists(fs::path(runDir) / "phrasetool")) GTEST_SKIP() << "phrasetool is not built";
    run_ = runDir;
    if (!fs::exists(run_ / "English.dat")) GTEST_SKIP() << "the run folder holds no data files";
    std::random_device rd;
    scratch_ = fs::temp_directory_path() / ("lexoria-phrasetool-" + std::to_string(rd()));
    fs::create_directories(scratch_);
  }
  void TearDown() override {
    std::error_code ec;
    if (!scratch_.empty()) fs::remove_all(scratch_, ec);
  }

  // Runs phrasetool in `folder` (the run folder by default). No sound
  // server can be reached, so play never sounds from a test.
  Result Run(const std::string& arguments, const fs::path& folder = {}) {
    const fs::path where = folder.empty() ? run_ : folder;
    const std::string command = "cd '" + where.string() + "' && PULSE_SERVER=unix:/nonexistent '" +
                                (run_ / "phrasetool").string() + "' " + arguments + " >'" +
                                (scratch_ / "out").string() + "' 2>'" + (scratch_ / "err").string() + "'";
    const int status = std::system(command.c_str());
    Result r;
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.out = ReadText(scratch_ / "out");
    r.err = ReadText(scratch_ / "err");
    return r;
  }

  // A copy of the run folder's data without one file.
  fs::path DataWithout(const std::string& missing) {
    const fs::path folder = scratch_ / ("without-" + missing);
    fs::create_directories(folder);
    for (const char* name : {"English.dat", "Japanese.dat", "MapEngSpec.data", "Relate.dat", "data.idx", "data.dat"})
      if (missing != name) fs::copy_file(run_ / name, folder / name, fs::copy_options::overwrite_existing);
    return folder;
  }

  fs::path run_;
  fs::path scratch_;
};

TEST_F(Phrasetool, SearchPrintsNumberEnglishJapaneseAndRomaji) {
  for (const char* key : {"station", "eki", "'\xE9\xA7\x85'" /* 駅 */, "'\xE3\x81\x88\xE3\x81\x8D'" /* えき */}) {
    SCOPED_TRACE(key);
    const Result r = Run(std::string("search ") + key);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.err.empty());
    const std::vector<std::string> lines = Split(r.out, '\n');
    ASSERT_FALSE(lines.empty());
    bool station = false;
    for (const std::string& line : lines) {
      const std::vector<std::string> fields = Split(line, '\t');
      ASSERT_EQ(fields.size(), 4u) << line;
      EXPECT_GT(std::atoi(fields[0].c_str()), 0) << line;
      if (fields[1].find("station") != std::string::npos && fields[2].find("\xE9\xA7\x85") != std::string::npos &&
          fields[3].find("ki") != std::string::npos)
        station = true;
    }
    EXPECT_TRUE(station) << r.out;
  }
}

TEST_F(Phrasetool, SearchJoinsItsWordsAndKnowsExactMatches) {
  const Result loose = Run("search thank you");
  ASSERT_EQ(loose.status, 0);
  const Result exact = Run("search --exact thank you.");
  ASSERT_EQ(exact.status, 0) << exact.err;
  EXPECT_EQ(Split(exact.out, '\n').size(), 1u) << exact.out;
  EXPECT_NE(loose.out.find(exact.out), std::string::npos);
  EXPECT_LT(exact.out.size(), loose.out.size());
  for (const char* forms : {"ohayo", "ohayou", "Ohay\xC5\x8D" /* Ohayō */})
    EXPECT_NE(Run(std::string("search ") + forms).out.find("\xE3\x81\x8A\xE3\x81\xAF\xE3\x82\x88\xE3\x81\x86"),
              std::string::npos)
        << forms;  // おはよう
}

TEST_F(Phrasetool, ACorrectedWordIsSaidOnStderrAndTheLinesStayFourColumns) {
  const Result r = Run("search where is the hospial");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "Showing results for \"where is the hospital\"\n");
  const std::vector<std::string> lines = Split(r.out, '\n');
  ASSERT_FALSE(lines.empty());
  EXPECT_NE(lines[0].find("hospital"), std::string::npos) << r.out;
  EXPECT_EQ(Split(lines[0], '\t').size(), 4u);
}

TEST_F(Phrasetool, NoMatchIsOneLineOnStderrAndStatusOne) {
  for (const char* args : {"search xyzzyq", "search --exact station"}) {
    const Result r = Run(args);
    EXPECT_EQ(r.status, 1) << args;
    EXPECT_TRUE(r.out.empty());
    EXPECT_EQ(Split(r.err, '\n').size(), 1u) << r.err;
    EXPECT_NE(r.err.find("phrasetool:"), std::string::npos);
  }
}

TEST_F(Phrasetool, ShowPrintsTheFourFormsAndTheRelatedPhrases) {
  // The first phrase the search finds for the station, whatever its number.
  const std::string first = Split(Run("search station").out, '\n').at(0);
  const std::vector<std::string> found = Split(first, '\t');
  const Result r = Run("show " + found[0]);
  ASSERT_EQ(r.status, 0) << r.err;
  const std::vector<std::string> lines = Split(r.out, '\n');
  ASSERT_GE(lines.size(), 4u);
  EXPECT_EQ(lines[0], "English\t" + found[1]);
  EXPECT_EQ(lines[1], "Japanese\t" + found[2]);
  EXPECT_EQ(lines[2].rfind("Kana\t", 0), 0u);
  EXPECT_EQ(lines[3], "Romaji\t" + found[3]);
  for (size_t i = 4; i < lines.size(); ++i) {
    const std::vector<std::string> related = Split(lines[i], '\t');
    ASSERT_EQ(related.size(), 3u) << lines[i];
    EXPECT_EQ(related[0], "Related");
    EXPECT_GT(std::atoi(related[1].c_str()), 0);
  }
}

TEST_F(Phrasetool, WrongNumbersAndCommandLines) {
  EXPECT_EQ(Run("show 99999").status, 1);
  for (const char* args : {"", "show", "show x", "show 0", "play", "play --slow", "search", "search --exact", "frob"})
    EXPECT_EQ(Run(args).status, 2) << args;
}

TEST_F(Phrasetool, PlayWithoutASoundDeviceSaysSo) {
  for (const char* args : {"play 1", "play --slow 1"}) {
    const Result r = Run(args);
    EXPECT_EQ(r.status, 1) << args;
    EXPECT_NE(r.err.find("sound device"), std::string::npos) << r.err;
  }
}

TEST_F(Phrasetool, AMissingDataFileIsNamedWithStatusTwo) {
  struct Case {
    const char* missing;
    const char* args;
  };
  for (const Case c : {Case{"English.dat", "search eki"}, Case{"Japanese.dat", "search eki"},
                       Case{"MapEngSpec.data", "search eki"}, Case{"Japanese.dat", "show 1"},
                       Case{"Relate.dat", "show 1"}, Case{"data.idx", "play 1"}, Case{"data.dat", "play --slow 1"}}) {
    SCOPED_TRACE(std::string(c.missing) + ", " + c.args);
    const Result r = Run(c.args, DataWithout(c.missing));
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.out.empty());
    EXPECT_NE(r.err.find(c.missing), std::string::npos) << r.err;
    EXPECT_EQ(Split(r.err, '\n').size(), 1u) << r.err;
  }
}

// A favorite.dat of these run-folder phrases, as the window stores them.
void WriteFavourites(const fs::path& folder, const std::vector<int>& numbers, const fs::path& run) {
  const std::string english = ReadText(run / "English.dat");
  std::string records;
  for (int n : numbers) records += english.substr(static_cast<size_t>(n - 1) * 124, 124);
  std::FILE* f = std::fopen((folder / "favorite.dat").c_str(), "wb");
  std::fwrite(records.data(), 1, records.size(), f);
  std::fclose(f);
}

TEST_F(Phrasetool, ExportOfTheFavouritesHasOneRowAndOnePlayableSoundPerFavourite) {
  const fs::path data = DataWithout("nothing");
  const std::vector<int> numbers = {12, 315, 700};
  WriteFavourites(data, numbers, run_);
  const fs::path out = scratch_ / "deck";
  const Result r = Run("export --favourites '" + out.string() + "'", data);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("3 phrases"), std::string::npos) << r.out;

  const std::vector<std::string> lines = Split(ReadText(out / "phrases.tsv"), '\n');
  ASSERT_EQ(lines.size(), 3u + numbers.size());
  EXPECT_EQ(lines[0], "#separator:tab");
  for (size_t i = 0; i < numbers.size(); ++i) {
    const std::vector<std::string> fields = Split(lines[3 + i], '\t');
    ASSERT_EQ(fields.size(), 5u) << lines[3 + i];
    char sound[32];
    std::snprintf(sound, sizeof sound, "%04d.mp3", numbers[i]);
    EXPECT_EQ(fields[4], std::string("[sound:") + sound + "]");
    // The row holds the phrase's own forms, as show prints them.
    const std::vector<std::string> shown = Split(Run("show " + std::to_string(numbers[i])).out, '\n');
    EXPECT_NE(shown[1].find(fields[1]), std::string::npos) << shown[1] << " / " << fields[1];
    EXPECT_NE(shown[3].find(fields[3]), std::string::npos) << shown[3] << " / " << fields[3];
    const std::string clip = ReadText(out / sound);
    ASSERT_GT(clip.size(), 4u) << sound;
    // A bare MPEG audio stream: a frame sync at its first byte.
    EXPECT_EQ(static_cast<unsigned char>(clip[0]), 0xFF);
    EXPECT_EQ(static_cast<unsigned char>(clip[1]) & 0xE0, 0xE0);
    if (std::system("command -v mpg123 >/dev/null 2>&1") == 0) {
      const std::string decode = "mpg123 -q -w /dev/null '" + (out / sound).string() + "' 2>/dev/null";
      EXPECT_EQ(std::system(decode.c_str()), 0) << sound;
    }
  }
  size_t files = 0;
  for (const auto& entry : fs::directory_iterator(out)) files += entry.is_regular_file() ? 1 : 0;
  EXPECT_EQ(files, 1 + numbers.size());
}

TEST_F(Phrasetool, ExportOfACategoryWritesEveryPhraseOfIt) {
  const fs::path out = scratch_ / "food";
  const Result r = Run("export --category 300 '" + out.string() + "'");
  ASSERT_EQ(r.status, 0) << r.err;
  const std::vector<std::string> lines = Split(ReadText(out / "phrases.tsv"), '\n');
  ASSERT_GT(lines.size(), 3u);
  for (size_t i = 3; i < lines.size(); ++i) {
    const std::vector<std::string> fields = Split(lines[i], '\t');
    ASSERT_EQ(fields.size(), 5u) << lines[i];
    const std::string name = fields[4].substr(7, fields[4].size() - 8);
    EXPECT_TRUE(fs::exists(out / name)) << name;
  }
}

TEST_F(Phrasetool, ExportRefusesBadInputWithAMessage) {
  const fs::path file = scratch_ / "a-file";
  std::fclose(std::fopen(file.c_str(), "w"));
  const fs::path empty = DataWithout("nothing");
  struct Case {
    std::string args;
    int status;
    const char* says;
    fs::path folder;
  };
  const std::vector<Case> cases = {
      {"export --category 350 x", 2, "not a category code", {}},
      {"export --category 1100 x", 2, "not a category code", {}},
      {"export --category basic x", 2, "not a category code", {}},
      {"export --category 300 '" + file.string() + "'", 1, "is not a folder", {}},
      {"export --favourites '" + (scratch_ / "none").string() + "'", 1, "no favourites", empty},
      {"export --favourites x", 2, "data.dat", DataWithout("data.dat")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args);
    const Result r = Run(c.args, c.folder);
    EXPECT_EQ(r.status, c.status);
    EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
  }
  EXPECT_FALSE(fs::exists(scratch_ / "none" / "phrases.tsv"));
  for (const char* args : {"export", "export --favourites", "export --category 300", "export --frob x"})
    EXPECT_EQ(Run(args).status, 2) << args;
}

}  // namespace
