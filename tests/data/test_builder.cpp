// SPDX-License-Identifier: GPL-3.0-or-later
// The builder of English.dat and Japanese.dat, as functions and as the
// phrasebuild tool.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "data/builder.h"
#include "fixture.h"

namespace lexoria {
namespace {

using Lines = std::vector<std::u16string>;

// A source file as the authors keep it: UTF-16LE, mark, CR LF lines.
void WriteSource(const std::string& name, const Lines& lines, bool mark = true, bool lastLineFeed = true) {
  std::vector<unsigned char> bytes;
  auto unit = [&bytes](char16_t u) {
    bytes.push_back(static_cast<unsigned char>(u & 0xFF));
    bytes.push_back(static_cast<unsigned char>(u >> 8));
  };
  if (mark) unit(u'\uFEFF');
  for (std::size_t i = 0; i < lines.size(); ++i) {
    for (const char16_t u : lines[i]) unit(u);
    unit(u'\r');
    if (lastLineFeed || i + 1 < lines.size()) unit(u'\n');
  }
  test::WriteFile(name, bytes);
}

Lines Numbered(const std::u16string& stem, int n = 826) {
  Lines lines;
  for (int k = 1; k <= n; ++k) lines.push_back(stem + test::U(std::to_string(k)));
  return lines;
}

void WriteAllSources() {
  Lines english = Numbered(u"Phrase ");
  english[0] = u"Hello";
  english[4] = u"Tab\there";
  WriteSource("English.txt", english);
  Lines pron = Numbered(u"Pron ");
  pron[4] = u"Tab\tkept";
  WriteSource("Pron.txt", pron);
  WriteSource("Japanese1.txt", Numbered(u"\u65e5\u672c "));
  WriteSource("Japanese2.txt", Numbered(u"\u306b\u307b\u3093 "));
}

// Expected bytes, written out here independently of the record encoders.
void PutUnits(std::vector<unsigned char>& out, std::size_t at, const std::u16string& text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    out[at + 2 * i] = static_cast<unsigned char>(text[i] & 0xFF);
    out[at + 2 * i + 1] = static_cast<unsigned char>(text[i] >> 8);
  }
}

std::u16string Stored(const std::u16string& line, int n) { return (n == 1 ? u"\uFEFF" : u"") + line + u"\r"; }

class Builder : public test::TempDirTest {};

TEST_F(Builder, AllSourcesBecomeBothFilesByteForByte) {
  WriteAllSources();
  BuildReport report;
  ASSERT_EQ(BuildEnglishData(&report), 1) << report.Describe();
  ASSERT_EQ(BuildJapaneseData(&report), 1) << report.Describe();

  std::vector<unsigned char> english(826 * 124, 0);
  std::vector<unsigned char> japanese(826 * 660, 0);
  for (int n = 1; n <= 826; ++n) {
    const std::size_t e = static_cast<std::size_t>(n - 1) * 124;
    const std::u16string line = n == 1 ? u"Hello" : n == 5 ? u"Tabhere" : u"Phrase " + test::U(std::to_string(n));
    PutUnits(english, e, Stored(line, n));
    english[e + 120] = static_cast<unsigned char>(n & 0xFF);
    english[e + 121] = static_cast<unsigned char>(n >> 8);
    const std::size_t j = static_cast<std::size_t>(n - 1) * 660;
    const std::u16string num = test::U(std::to_string(n));
    PutUnits(japanese, j, Stored(n == 5 ? u"Tab\tkept" : u"Pron " + num, n));
    PutUnits(japanese, j + 220, Stored(u"\u65e5\u672c " + num, n));
    PutUnits(japanese, j + 440, Stored(u"\u306b\u307b\u3093 " + num, n));
  }
  EXPECT_EQ(test::ReadFile("English.dat"), english);
  EXPECT_EQ(test::ReadFile("Japanese.dat"), japanese);
}

TEST_F(Builder, TheFilesReadBackAsThePhrases) {
  WriteAllSources();
  ASSERT_EQ(BuildEnglishData(), 1);
  ASSERT_EQ(BuildJapaneseData(), 1);
  test::Book b;
  b.book.OpenPhraseFiles();
  b.book.SetViewMode(kViewSearch);
  ASSERT_EQ(b.book.LoadEnglishRange(1, 826), 1);
  EXPECT_EQ(b.book.Map().size(), 826u);
  EXPECT_EQ(b.book.Map().at(u"Hello"), u"1");
  const JapaneseRecord r = b.book.ReadJapaneseRecord(826);
  EXPECT_EQ(r.first, u"\u65e5\u672c 826\r");
}

TEST_F(Builder, LinesPast826AreIgnoredAndLimitsAreInclusive) {
  Lines english = Numbered(u"E", 900);
  english[0] = std::u16string(57, u'a');  // mark + 57 + CR = 59
  english[1] = std::u16string(58, u'b');  // 58 + CR = 59
  WriteSource("English.txt", english);
  Lines pron = Numbered(u"P", 830);
  pron[0] = std::u16string(107, u'p');
  pron[825] = std::u16string(108, u'q');
  WriteSource("Pron.txt", pron);
  WriteSource("Japanese1.txt", Numbered(u"J"));
  WriteSource("Japanese2.txt", Numbered(u"K"));
  ASSERT_EQ(BuildEnglishData(), 1);
  ASSERT_EQ(BuildJapaneseData(), 1);
  EXPECT_EQ(std::filesystem::file_size("English.dat"), 826u * 124);
  EXPECT_EQ(std::filesystem::file_size("Japanese.dat"), 826u * 660);
}

struct BadSource {
  const char* name;
  std::string file;  // the source to spoil
  std::function<void()> spoil;
  BuildStatus status;
  int line;
};

TEST_F(Builder, SourcesThatBreakALimitAreRefusedAndTheTargetIsKept) {
  auto tooLong = [](const std::string& file, int index, std::size_t units) {
    return [=] {
      Lines lines = Numbered(u"x");
      lines[static_cast<std::size_t>(index)] = std::u16string(units, u'w');
      WriteSource(file, lines);
    };
  };
  const BadSource cases[] = {
      {"missing English", "English.txt", [] { std::filesystem::remove("English.txt"); }, BuildStatus::SourceMissing, 0},
      {"missing Pron", "Pron.txt", [] { std::filesystem::remove("Pron.txt"); }, BuildStatus::SourceMissing, 0},
      {"missing Japanese1", "Japanese1.txt", [] { std::filesystem::remove("Japanese1.txt"); },
       BuildStatus::SourceMissing, 0},
      {"missing Japanese2", "Japanese2.txt", [] { std::filesystem::remove("Japanese2.txt"); },
       BuildStatus::SourceMissing, 0},
      {"825 lines", "English.txt", [] { WriteSource("English.txt", Numbered(u"x", 825)); }, BuildStatus::TooFewLines,
       825},
      {"last line without LF", "Japanese2.txt", [] { WriteSource("Japanese2.txt", Numbered(u"x"), true, false); },
       BuildStatus::TooFewLines, 825},
      {"English line 1 of 60 with mark", "English.txt", tooLong("English.txt", 0, 58), BuildStatus::LineTooLong, 1},
      {"English line of 60", "English.txt", tooLong("English.txt", 99, 59), BuildStatus::LineTooLong, 100},
      {"Pron line of 110", "Pron.txt", tooLong("Pron.txt", 825, 109), BuildStatus::LineTooLong, 826},
      {"Japanese1 line of 110", "Japanese1.txt", tooLong("Japanese1.txt", 3, 109), BuildStatus::LineTooLong, 4},
      {"no mark", "Japanese1.txt", [] { WriteSource("Japanese1.txt", Numbered(u"x"), false); },
       BuildStatus::NoByteOrderMark, 0},
      {"over 450000 bytes", "English.txt",
       [] {
         Lines lines = Numbered(u"x");
         for (int k = 0; k < 5000; ++k) lines.push_back(std::u16string(50, u'z'));
         WriteSource("English.txt", lines);
       },
       BuildStatus::SourceTooLarge, 0},
  };
  for (const BadSource& c : cases) {
    SCOPED_TRACE(c.name);
    WriteAllSources();
    test::WriteFile("English.dat", {1, 2, 3});
    test::WriteFile("Japanese.dat", {4, 5, 6});
    c.spoil();
    const bool english = c.file == "English.txt";
    BuildReport report;
    EXPECT_EQ(english ? BuildEnglishData(&report) : BuildJapaneseData(&report), 0);
    EXPECT_EQ(report.status, c.status);
    EXPECT_EQ(report.file, c.file);
    if (c.line != 0) {
      EXPECT_EQ(report.line, c.line);
    }
    EXPECT_NE(report.Describe().find(c.file), std::string::npos) << report.Describe();
    EXPECT_EQ(test::ReadFile(english ? "English.dat" : "Japanese.dat").size(), 3u);
  }
}

TEST_F(Builder, AFileOfExactly450000BytesIsAccepted) {
  WriteAllSources();
  auto bytes = test::ReadFile("Pron.txt");
  ASSERT_LT(bytes.size(), kMaxSourceBytes);
  bytes.resize(kMaxSourceBytes, 0x20);  // trailing units after line 826 are never used
  test::WriteFile("Pron.txt", bytes);
  EXPECT_EQ(BuildJapaneseData(), 1);
  bytes.push_back(0x20);
  test::WriteFile("Pron.txt", bytes);
  BuildReport report;
  EXPECT_EQ(BuildJapaneseData(&report), 0);
  EXPECT_EQ(report.status, BuildStatus::SourceTooLarge);
}

TEST_F(Builder, ATargetThatCannotBeCreatedIsReported) {
  WriteAllSources();
  std::filesystem::create_directory("English.dat");
  BuildReport report;
  EXPECT_EQ(BuildEnglishData(&report), 0);
  EXPECT_EQ(report.status, BuildStatus::TargetNotWritten);
}

// The tool as a whole process, in a folder of its own.
class Tool : public test::TempDirTest {
 protected:
  int Run(const std::string& args) {
    const char* tool = std::getenv("PHRASEBUILD");
    if (tool == nullptr) return -1000;
    const std::string command = std::string("'") + tool + "' " + args + " >out.txt 2>err.txt";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  static std::string Read(const char* name) {
    std::ifstream in(name);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  void SetUp() override {
    TempDirTest::SetUp();
    if (std::getenv("PHRASEBUILD") == nullptr) GTEST_SKIP() << "PHRASEBUILD is not set (run through ctest)";
  }
};

TEST_F(Tool, AllWritesBothFilesAndExitsZero) {
  WriteAllSources();
  EXPECT_EQ(Run("all"), 0);
  EXPECT_EQ(std::filesystem::file_size("English.dat"), 826u * 124);
  EXPECT_EQ(std::filesystem::file_size("Japanese.dat"), 826u * 660);
  EXPECT_EQ(Read("err.txt"), "");
  std::filesystem::remove("Japanese.dat");
  EXPECT_EQ(Run("english"), 0);
  EXPECT_FALSE(std::filesystem::exists("Japanese.dat"));
  EXPECT_EQ(Run("japanese"), 0);
  EXPECT_TRUE(std::filesystem::exists("Japanese.dat"));
}

TEST_F(Tool, FailuresNameTheSourceOnStderrAndExitNonZero) {
  WriteAllSources();
  std::filesystem::remove("Japanese1.txt");
  EXPECT_EQ(Run("all"), 1);
  EXPECT_NE(Read("err.txt").find("Japanese1.txt"), std::string::npos) << Read("err.txt");
  EXPECT_TRUE(std::filesystem::exists("English.dat"));  // the other file is still built

  WriteSource("English.txt", Numbered(u"x", 100));
  EXPECT_EQ(Run("english"), 1);
  EXPECT_NE(Read("err.txt").find("English.txt has 100 lines"), std::string::npos) << Read("err.txt");
}

TEST_F(Tool, AWrongCommandLineShowsUsage) {
  EXPECT_EQ(Run(""), 2);
  EXPECT_EQ(Run("everything"), 2);
  EXPECT_NE(Read("err.txt").find("usage: phrasebuild english|japanese|all"), std::string::npos);
}

}  // namespace
}  // namespace lexoria
