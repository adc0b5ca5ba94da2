// SPDX-License-Identifier: GPL-3.0-or-later
// The phrase files read from a data folder and the favourites written to a
// folder of their own, the way an installed program runs; the working
// folder stays untouched.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "data/datafolders.h"
#include "fixture.h"

namespace lexoria {
namespace {

namespace fs = std::filesystem;
using test::Book;

std::vector<fs::path> Entries(const fs::path& folder) {
  std::vector<fs::path> out;
  for (const auto& e : fs::recursive_directory_iterator(folder)) out.push_back(fs::relative(e.path(), folder));
  std::sort(out.begin(), out.end());
  return out;
}

class DataFoldersTest : public test::TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    // The fixture writers work in the working folder: make the files there,
    // then move them to the data folder and leave the working folder empty.
    test::WriteEnglish({{u"\uFEFFHello\r", 1}, {u"Thank you\r", 2}, {u"Good night\r", 3}});
    test::WriteTemplates({{"Hello"}, {"Thank you"}, {"Good night"}});
    test::WriteJapanese({{u"\uFEFFp1\r", u"\uFEFFj1\r", u""}, {u"p2\r", u"j2\r", u""}, {u"p3\r", u"j3\r", u""}});
    fs::create_directories(dir_ / "share");
    for (const char* name : {"English.dat", "MapEngSpec.data", "Japanese.dat"})
      fs::rename(dir_ / name, dir_ / "share" / name);
    fs::create_directories(dir_ / "work");
    fs::current_path(dir_ / "work");
    folders.data = dir_ / "share";
    folders.favourites = dir_ / "home" / ".local" / "share" / "lexoria-japanese";
  }
  void OpenAndBrowse() {
    b.book.SetFolders(folders);
    b.book.OpenPhraseFiles();
    b.book.SetViewMode(kViewBrowse);
    b.book.SetCategoryCode(100);
    b.book.SetFavouritesView(false);
    ASSERT_EQ(b.book.LoadEnglishRange(1, 3), 1);
  }
  void Toggle(int line) {
    b.Select(line);
    b.book.ToggleFavourite();
  }
  DataFolders folders;
  Book b;
};

TEST(DataFolders, EmptyFoldersNameTheBareFileAsTheRunFolderAlwaysHas) {
  const DataFolders here;
  EXPECT_EQ(here.DataFile("English.dat"), fs::path("English.dat"));
  EXPECT_EQ(here.FavouritesFile("temp.dat"), fs::path("temp.dat"));
  EXPECT_EQ(here.FavouritesFolder(), fs::path("."));
  std::string reason;
  EXPECT_TRUE(CreateFavouritesFolder(here, reason));
}

TEST_F(DataFoldersTest, PhrasesComeFromTheDataFolderAndFavouritesGoToTheirOwn) {
  OpenAndBrowse();
  ASSERT_EQ(b.LineTexts().size(), 3u);
  b.Select(1);
  EXPECT_EQ(b.book.JapaneseText(), u"j2");
  // Nothing is made before the first add.
  EXPECT_FALSE(fs::exists(folders.favourites));

  Toggle(1);
  Toggle(2);
  ASSERT_EQ(b.Log().messages.size(), 2u);
  EXPECT_EQ(b.Log().messages[0], "One item has just added to your favorite category");
  EXPECT_EQ(fs::file_size(folders.favourites / "favorite.dat"), 2 * kEnglishRecordSize);
  struct stat st {};
  ASSERT_EQ(::stat(folders.favourites.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);

  // Removing goes through temp.dat beside favorite.dat.
  b.ShowFavourites();
  ASSERT_EQ(b.book.CategoryCode(), kCategoryFavourites);
  b.Log().messages.clear();
  Toggle(0);
  EXPECT_EQ(b.Log().messages, std::vector<std::string>{"One item has just removed from your favorite category"});
  EXPECT_EQ(fs::file_size(folders.favourites / "favorite.dat"), kEnglishRecordSize);
  EXPECT_EQ(Entries(folders.favourites), std::vector<fs::path>{"favorite.dat"});

  // The working folder and the data folder got nothing.
  EXPECT_TRUE(Entries(dir_ / "work").empty());
  EXPECT_EQ(Entries(dir_ / "share"), (std::vector<fs::path>{"English.dat", "Japanese.dat", "MapEngSpec.data"}));
}

TEST_F(DataFoldersTest, AFavouritesFolderThatCannotBeMadeSaysSoAndKeepsWhatIsStored) {
  // A file where a parent folder should be: no user, root included, can
  // make the folder there.
  fs::create_directories(dir_ / "home");
  std::ofstream(dir_ / "home" / ".local") << "not a folder";
  OpenAndBrowse();
  Toggle(1);
  ASSERT_EQ(b.Log().messages.size(), 1u);
  EXPECT_NE(b.Log().messages[0].find("Can't create the folder for favorite phrases"), std::string::npos);
  EXPECT_NE(b.Log().messages[0].find(folders.favourites.string()), std::string::npos);
  EXPECT_NE(b.Log().messages[0].find("Not a directory"), std::string::npos);
  EXPECT_TRUE(Entries(dir_ / "work").empty());
  EXPECT_EQ(Entries(dir_ / "home"), std::vector<fs::path>{".local"});
}

// The user's folder with favourites in it where no scratch file can be made
// (read-only to its owner; root, who writes anyway, hands folder and file
// to nobody and runs the removal as nobody): removing says so, and the
// stored favourites and the working folder stay as they were.
TEST_F(DataFoldersTest, AFavouritesFolderThatCannotTakeAScratchFileLosesNothing) {
  OpenAndBrowse();
  Toggle(0);
  Toggle(2);
  const fs::path file = folders.favourites / "favorite.dat";
  const auto stored = fs::file_size(file);
  ASSERT_EQ(stored, 2 * kEnglishRecordSize);
  b.ShowFavourites();
  b.Log().messages.clear();
  const bool root = ::geteuid() == 0;
  if (root) {
    for (fs::path p = folders.favourites; p != dir_; p = p.parent_path()) ::chmod(p.c_str(), 0755);
    ::chmod(dir_.c_str(), 0755);
    ASSERT_EQ(::chown(folders.favourites.c_str(), 65534, 65534), 0);
    ASSERT_EQ(::chown(file.c_str(), 65534, 65534), 0);
  }
  ::chmod(folders.favourites.c_str(), 0555);
  const pid_t child = ::fork();
  if (child == 0) {
    if (root && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(100);
    Toggle(0);
    const bool said = b.Log().messages.size() == 1 && b.Log().messages[0].find("can't be removed") != std::string::npos;
    ::_exit(said && b.book.Lines().size() == 2u ? 0 : 1);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  ::chmod(folders.favourites.c_str(), 0700);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "1: not said, or the list changed; 100: cannot drop privileges";
  EXPECT_EQ(fs::file_size(file), stored);
  EXPECT_TRUE(test::ScratchFiles(folders.favourites).empty());
  EXPECT_TRUE(Entries(dir_ / "work").empty());
}

TEST_F(DataFoldersTest, AnExistingFavouritesFolderKeepsItsMode) {
  fs::create_directories(folders.favourites);
  fs::permissions(folders.favourites, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
  OpenAndBrowse();
  Toggle(0);
  EXPECT_EQ(fs::file_size(folders.favourites / "favorite.dat"), kEnglishRecordSize);
  EXPECT_EQ(fs::status(folders.favourites).permissions(),
            fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
}

}  // namespace
}  // namespace lexoria
