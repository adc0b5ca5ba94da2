// SPDX-License-Identifier: GPL-3.0-or-later
// favorite.dat shared by several copies of the program: the lock, the
// re-read under it, and the failures that must say why and lose nothing
// (read-only file or folder, full disk, a lock held by another copy).
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <set>
#include <thread>

#include "data/favouritesfile.h"
#include "fixture.h"

namespace lexoria {
namespace {

namespace fs = std::filesystem;
using test::Book;
using test::U;

std::vector<std::u16string> StoredTexts(const fs::path& file = kFavouritesFileName) {
  const auto bytes = test::ReadFile(file.string());
  std::vector<std::u16string> out;
  for (std::size_t at = 0; at + kEnglishRecordSize <= bytes.size(); at += kEnglishRecordSize) {
    EnglishBytes r;
    std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(at), kEnglishRecordSize, r.begin());
    out.push_back(DecodeEnglishRecord(r).text);
  }
  return out;
}

void WriteTexts(const std::vector<std::u16string>& texts, const fs::path& file = kFavouritesFileName) {
  std::vector<test::EnglishEntry> entries;
  for (std::size_t i = 0; i < texts.size(); ++i) entries.push_back({texts[i], static_cast<std::int32_t>(i + 1)});
  test::WriteEnglish(entries, file.string());
}

std::u16string Numbered(const char* prefix, int n) { return U(std::string(prefix) + " " + std::to_string(n)); }

EnglishBytes Record(const std::u16string& text) { return EncodeEnglishRecord(text, 7); }

// Runs fn in a child process and returns its exit code (fn's result).
int InChild(const std::function<int()>& fn) {
  const pid_t pid = ::fork();
  if (pid == 0) ::_exit(fn());
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 255;
}

// A child that holds an exclusive lock on a file until told to let go.
class LockHolder {
 public:
  explicit LockHolder(const fs::path& file) {
    int ready[2], release[2];
    if (::pipe(ready) != 0 || ::pipe(release) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      const int fd = ::open(file.c_str(), O_RDWR | O_CREAT, 0644);
      const char ok = (fd >= 0 && ::flock(fd, LOCK_EX) == 0) ? 'y' : 'n';
      (void)!::write(ready[1], &ok, 1);
      char c;
      (void)!::read(release[0], &c, 1);
      ::_exit(0);
    }
    ::close(ready[1]);
    ::close(release[0]);
    release_ = release[1];
    char ok = 'n';
    locked_ = ::read(ready[0], &ok, 1) == 1 && ok == 'y';
    ::close(ready[0]);
  }
  ~LockHolder() { Release(); }
  bool Locked() const { return locked_; }
  void Release() {
    if (pid_ <= 0) return;
    (void)!::write(release_, "x", 1);
    ::close(release_);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }

 private:
  pid_t pid_ = -1;
  int release_ = -1;
  bool locked_ = false;
};

class FavouritesFileTest : public test::TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    test::WriteNumberedEnglish(5);
    test::WriteTemplates({{"Phrase 1"}, {"Phrase 2"}, {"Phrase 3"}, {"Phrase 4"}, {"Phrase 5"}});
  }
  // A model browsing phrases 1..5, as the window leaves it.
  static void Browse(Book& b, const fs::path& favourites = {}) {
    b.book.SetFolders({{}, favourites});
    b.book.OpenPhraseFiles();
    b.book.SetViewMode(kViewBrowse);
    b.book.SetFavouritesView(false);
    b.book.LoadEnglishRange(1, 5);
  }
};

// --- Two copies on one folder -------------------------------------------------

// Mended: one copy's removal (temp.dat renamed over favorite.dat) threw away
// what the other had just added, which it had reported as added.
TEST_F(FavouritesFileTest, TwoBooksInThreadsOneRemovingOneAddingLoseNothing) {
  std::vector<std::u16string> stored;
  for (int n = 0; n < 3000; ++n) stored.push_back(Numbered("Stored", n));
  WriteTexts(stored);
  constexpr int kRounds = 25;
  std::vector<int> added;
  std::thread adder([&] {
    FavouritesFile b;
    for (int n = 0; n < kRounds; ++n)
      if (b.Add(Record(Numbered("Added", n))) == FavouritesResult::Done) added.push_back(n);
  });
  int removed = 0;
  {
    FavouritesFile a;
    for (int n = 0; n < kRounds; ++n) {
      std::size_t count = 0;
      if (a.Remove(Numbered("Stored", n), count) == FavouritesResult::Done) ++removed;
    }
  }
  adder.join();
  EXPECT_EQ(removed, kRounds);
  EXPECT_EQ(added.size(), static_cast<std::size_t>(kRounds));
  const auto texts = StoredTexts();
  const std::set<std::u16string> in(texts.begin(), texts.end());
  for (int n : added) EXPECT_TRUE(in.count(Numbered("Added", n))) << n;
  for (int n = 0; n < kRounds; ++n) EXPECT_FALSE(in.count(Numbered("Stored", n))) << n;
  EXPECT_EQ(texts.size(), stored.size() - static_cast<std::size_t>(removed) + added.size());
  EXPECT_TRUE(test::ScratchFiles().empty());
}

// The same through the model, the adding copy in a second process; and the
// removing copy opened its files before the other one changed anything.
TEST_F(FavouritesFileTest, TwoBooksInTwoProcessesOneRemovingOneAddingLoseNothing) {
  std::vector<std::u16string> stored;
  for (int n = 0; n < 2000; ++n) stored.push_back(Numbered("Phrase", n + 10));
  stored.insert(stored.begin(), U("Phrase 1"));
  WriteTexts(stored);
  Book a;
  a.book.OpenPhraseFiles();  // no handle kept from here on
  int pipeFds[2];
  ASSERT_EQ(::pipe(pipeFds), 0);
  const pid_t child = ::fork();
  if (child == 0) {
    Book b;
    Browse(b);
    char c;
    (void)!::read(pipeFds[0], &c, 1);
    int failures = 0;
    for (int line = 1; line < 5; ++line) {  // phrases 2..5
      b.Select(line);
      b.book.ToggleFavourite();
      failures += b.Log().messages.back() == "One item has just added to your favorite category" ? 0 : 1;
    }
    ::_exit(failures);
  }
  (void)!::write(pipeFds[1], "go", 1);
  // A removes phrase 1 and then the first ten stored others, from the view.
  a.book.SetCategoryCode(kCategoryFavourites);
  ASSERT_TRUE(a.book.ListFavourites());
  for (int n = 0; n < 11; ++n) {
    a.Select(0);
    a.book.ToggleFavourite();
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "adds not reported as done";
  const auto texts = StoredTexts();
  const std::set<std::u16string> in(texts.begin(), texts.end());
  for (int n = 2; n <= 5; ++n) EXPECT_TRUE(in.count(Numbered("Phrase", n))) << n;
  EXPECT_EQ(texts.size(), stored.size() - 11 + 4);
  EXPECT_FALSE(in.count(U("Phrase 1")));
}

// Mended: 100 processes adding while one removed reported 100 successes and
// left 46 records.
TEST_F(FavouritesFileTest, AHundredAddersAndARemoverKeepEveryReportedAdd) {
  std::vector<std::u16string> stored;
  for (int n = 0; n < 200; ++n) stored.push_back(Numbered("Stored", n));
  WriteTexts(stored);
  constexpr int kAdders = 100;
  std::vector<pid_t> adders;
  for (int n = 0; n < kAdders; ++n) {
    const pid_t pid = ::fork();
    if (pid == 0) {
      FavouritesFile f;
      ::_exit(f.Add(Record(Numbered("Added", n))) == FavouritesResult::Done ? 0 : 1);
    }
    adders.push_back(pid);
  }
  const pid_t remover = ::fork();
  if (remover == 0) {
    FavouritesFile f;
    int failed = 0;
    for (int n = 0; n < 50; ++n) {
      std::size_t count = 0;
      failed += f.Remove(Numbered("Stored", n), count) == FavouritesResult::Done ? 0 : 1;
    }
    ::_exit(failed);
  }
  std::vector<int> reported;
  for (int n = 0; n < kAdders; ++n) {
    int status = 0;
    ::waitpid(adders[static_cast<std::size_t>(n)], &status, 0);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) reported.push_back(n);
  }
  int status = 0;
  ::waitpid(remover, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  const int removalsFailed = WEXITSTATUS(status);
  const auto texts = StoredTexts();
  const std::set<std::u16string> in(texts.begin(), texts.end());
  for (int n : reported) EXPECT_TRUE(in.count(Numbered("Added", n))) << n;
  EXPECT_EQ(texts.size(), stored.size() - static_cast<std::size_t>(50 - removalsFailed) + reported.size());
  // Not asserted, but worth seeing: how many waited longer than the limit.
  std::printf("%zu of %d adds and %d of 50 removals done\n", reported.size(), kAdders, 50 - removalsFailed);
}

// Mended: a copy kept writing to the favorite.dat it opened at start, after
// another copy had replaced the file.
TEST_F(FavouritesFileTest, ACopyStartedEarlierWritesToTheFileOfNow) {
  WriteTexts({U("Phrase 9"), U("Phrase 8")});
  Book early;
  Browse(early);
  Book later;
  Browse(later);
  later.book.SetCategoryCode(kCategoryFavourites);
  ASSERT_TRUE(later.book.ListFavourites());
  later.Select(0);
  later.book.ToggleFavourite();  // favorite.dat is now another file
  early.Select(2);
  early.book.ToggleFavourite();
  EXPECT_EQ(StoredTexts(), (std::vector<std::u16string>{U("Phrase 8"), U("Phrase 3")}));
  // And a list shown is read afresh.
  early.ShowFavourites();
  EXPECT_EQ(early.LineTexts(), (std::vector<std::u16string>{U("Phrase 8"), U("Phrase 3")}));
}

// --- A lock held by another copy ---------------------------------------------

TEST_F(FavouritesFileTest, ALockHeldByAnotherProcessFailsClearlyAndChangesNothing) {
  WriteTexts({U("Phrase 1"), U("Phrase 2")});
  const auto before = test::ReadFile(kFavouritesFileName);
  LockHolder holder(kFavouritesFileName);
  ASSERT_TRUE(holder.Locked());
  Book b;
  Browse(b);
  b.book.Favourites().SetLockTimeout(std::chrono::milliseconds(150));
  b.Select(2);
  b.book.ToggleFavourite();
  b.book.SetCategoryCode(kCategoryFavourites);
  ASSERT_TRUE(b.book.ListFavourites());  // reading needs no lock
  b.book.ToggleFavourite();
  EXPECT_EQ(b.Log().messages,
            (std::vector<std::string>{
                "This item can't be added to favorite category: favorite.dat is in use by another copy of the program!",
                "This item can't be removed from favorite category: favorite.dat is in use by another copy of the "
                "program!"}));
  EXPECT_EQ(test::ReadFile(kFavouritesFileName), before);
  EXPECT_TRUE(test::ScratchFiles().empty());
  EXPECT_EQ(b.book.Lines().size(), 2u);  // the list stays as it was

  // Let go within the limit: the next change waits for it and is done.
  b.book.Favourites().SetLockTimeout(std::chrono::milliseconds(5000));
  std::thread release([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    holder.Release();
  });
  std::size_t count = 0;
  EXPECT_EQ(b.book.Favourites().Remove(U("Phrase 1"), count), FavouritesResult::Done);
  release.join();
  EXPECT_EQ(StoredTexts(), std::vector<std::u16string>{U("Phrase 2")});
}

// --- Damaged records --------------------------------------------------------

// Mended: a record of 0xFF bytes showed as garbage and could not be removed.
// Such a file is no longer rewritten in place either: the first change keeps
// it byte for byte aside and goes on with the records that read as records.
TEST_F(FavouritesFileTest, DamagedRecordsShowAsEmptyLinesAndTheFileIsKeptAsideOnRemoval) {
  WriteTexts({U("Phrase 1"), U("Phrase 2"), U("Phrase 3")});
  auto bytes = test::ReadFile(kFavouritesFileName);
  std::fill(bytes.begin() + 124, bytes.begin() + 248, 0xFF);
  std::mt19937 random(14);
  std::vector<unsigned char> noise(124);
  for (auto& c : noise) c = static_cast<unsigned char>(random());
  bytes.insert(bytes.end(), noise.begin(), noise.end());
  test::WriteFile(kFavouritesFileName, bytes);
  Book b;
  Browse(b);
  b.ShowFavourites();
  ASSERT_EQ(b.LineTexts(), (std::vector<std::u16string>{U("Phrase 1"), u"", U("Phrase 3"), u""}));
  b.Select(1);
  EXPECT_TRUE(b.book.PhraseSelected());
  b.book.ToggleFavourite();
  const std::string aside = b.book.Favourites().SetAsideName();
  ASSERT_FALSE(aside.empty());
  EXPECT_EQ(test::ReadFile(aside), bytes);
  ASSERT_EQ(b.Log().messages.size(), 2u);
  EXPECT_NE(b.Log().messages[0].find(aside), std::string::npos);
  EXPECT_EQ(b.Log().messages[1], "One item has just removed from your favorite category");
  EXPECT_EQ(b.LineTexts(), (std::vector<std::u16string>{U("Phrase 1"), U("Phrase 3")}));
  EXPECT_EQ(StoredTexts(), (std::vector<std::u16string>{U("Phrase 1"), U("Phrase 3")}));
  // Said once: the new file is sound.
  b.Select(1);
  b.book.ToggleFavourite();
  EXPECT_EQ(b.Log().messages.size(), 3u);
  EXPECT_EQ(StoredTexts(), std::vector<std::u16string>{U("Phrase 1")});
}

// --- Files that are not ours ------------------------------------------------

std::vector<unsigned char> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

std::vector<unsigned char> Records(const std::vector<std::u16string>& texts) {
  std::vector<unsigned char> out;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    const EnglishBytes r = EncodeEnglishRecord(texts[i], static_cast<std::int32_t>(i + 1));
    out.insert(out.end(), r.begin(), r.end());
  }
  return out;
}

std::vector<unsigned char> Concat(std::vector<unsigned char> a, const std::vector<unsigned char>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

std::vector<std::string> DamagedCopies() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator("."))
    if (entry.path().filename().string().rfind("favorite.dat.damaged-", 0) == 0)
      names.push_back(entry.path().filename().string());
  return names;
}

// Mended: a favorite.dat linked to a 20-byte text file was cut to nothing
// and got one record, with only the usual "added". Each case: what is under
// the favourites name (a file, or a link to it), whether an add keeps it
// aside or (a torn last record of our own, only) mends it in place, and the
// records the new file starts from.
struct ForeignCase {
  const char* name;
  std::vector<unsigned char> content;
  bool linked;
  bool keptAside;
  std::vector<std::u16string> kept;
};

class Foreign : public FavouritesFileTest, public ::testing::WithParamInterface<ForeignCase> {};

TEST_P(Foreign, AnAddKeepsWhatIsNotOursByteForByte) {
  const ForeignCase& c = GetParam();
  test::WriteFile("target.txt", c.content);
  if (c.linked)
    fs::create_symlink("target.txt", kFavouritesFileName);
  else
    fs::rename("target.txt", kFavouritesFileName);
  Book b;
  Browse(b);
  b.Select(4);
  b.book.ToggleFavourite();
  std::vector<std::u16string> expected = c.kept;
  expected.push_back(U("Phrase 5"));
  EXPECT_EQ(StoredTexts(), expected);
  EXPECT_EQ(fs::file_size(kFavouritesFileName), expected.size() * kEnglishRecordSize);
  EXPECT_EQ(b.Log().messages.back(), "One item has just added to your favorite category");
  const auto copies = DamagedCopies();
  if (!c.keptAside) {
    EXPECT_TRUE(copies.empty());
    EXPECT_EQ(b.Log().messages.size(), 1u);
    return;
  }
  ASSERT_EQ(copies.size(), 1u);
  EXPECT_EQ(test::ReadFile(copies[0]), c.content);
  EXPECT_EQ(b.book.Favourites().SetAsideName(), copies[0]);
  ASSERT_EQ(b.Log().messages.size(), 2u);
  EXPECT_NE(b.Log().messages[0].find(copies[0]), std::string::npos);
  if (c.linked) {
    // The link itself went aside; its target is as it was, and the new
    // favourites file is a file of its own.
    EXPECT_TRUE(fs::is_symlink(copies[0]));
    EXPECT_EQ(test::ReadFile("target.txt"), c.content);
    EXPECT_FALSE(fs::is_symlink(kFavouritesFileName));
  }
}

const std::vector<unsigned char> kTwenty = Bytes("twenty bytes of text");
const std::vector<unsigned char> kTwoRecords = Records({U("Phrase 1"), U("Phrase 2")});
// "Phra": the first eight bytes of a record, as a cut-off write leaves it.
const std::vector<unsigned char> kTornTail = {'P', 0, 'h', 0, 'r', 0, 'a', 0};

INSTANTIATE_TEST_SUITE_P(
    Favourites, Foreign,
    ::testing::Values(
        ForeignCase{"LinkToTwentyBytesOfText", kTwenty, true, true, {}},
        ForeignCase{"TwentyBytesOfText", kTwenty, false, true, {}},
        // Two records' worth of bytes that do not read as records.
        ForeignCase{"TextOfWholeRecordSize", Bytes(std::string(248, 'x')), false, true, {}},
        ForeignCase{"NoTerminatorInTheText",
                    Concat(kTwoRecords, std::vector<unsigned char>(124, 'a')),
                    false,
                    true,
                    {U("Phrase 1"), U("Phrase 2")}},
        ForeignCase{"NumberNoPhraseHas",
                    Concat(kTwoRecords,
                           [] {
                             EnglishBytes r = EncodeEnglishRecord(u"Odd", 1);
                             r[123] = 0x41;
                             return std::vector<unsigned char>(r.begin(), r.end());
                           }()),
                    false,
                    true,
                    {U("Phrase 1"), U("Phrase 2")}},
        // A tail after sound records that no record starts with.
        ForeignCase{"TailThatIsNoRecord",
                    Concat(kTwoRecords, Bytes("\xff\xff\x01")),
                    false,
                    true,
                    {U("Phrase 1"), U("Phrase 2")}},
        ForeignCase{"TornTailBehindALink", Concat(kTwoRecords, kTornTail), true, true, {U("Phrase 1"), U("Phrase 2")}},
        // What an add cut off by a crash leaves: mended in place.
        ForeignCase{"TornTail", Concat(kTwoRecords, kTornTail), false, false, {U("Phrase 1"), U("Phrase 2")}},
        ForeignCase{"SoundBehindALink", kTwoRecords, true, false, {U("Phrase 1"), U("Phrase 2")}}),
    [](const ::testing::TestParamInfo<ForeignCase>& info) { return std::string(info.param.name); });

TEST_F(FavouritesFileTest, AValidFileBehindALinkGrowsThroughIt) {
  test::WriteFile("target.dat", Records({U("Phrase 1")}));
  fs::create_symlink("target.dat", kFavouritesFileName);
  FavouritesFile file;
  EXPECT_EQ(file.Add(Record(U("Phrase 2"))), FavouritesResult::Done);
  EXPECT_TRUE(fs::is_symlink(kFavouritesFileName));
  EXPECT_EQ(StoredTexts("target.dat"), (std::vector<std::u16string>{U("Phrase 1"), U("Phrase 2")}));
}

TEST_F(FavouritesFileTest, ALinkToNothingIsNotFollowedToMakeAFile) {
  fs::create_symlink("nowhere.dat", kFavouritesFileName);
  FavouritesFile file;
  EXPECT_FALSE(file.Usable());
  EXPECT_EQ(file.Add(Record(U("Phrase 2"))), FavouritesResult::Failed);
  EXPECT_FALSE(fs::exists("nowhere.dat"));
  EXPECT_TRUE(fs::is_symlink(kFavouritesFileName));
}

// A fifo under the name would block an open for reading until a writer came.
TEST_F(FavouritesFileTest, AFifoUnderTheNameNeitherHangsNorIsTakenForAFile) {
  ASSERT_EQ(::mkfifo(kFavouritesFileName, 0600), 0);
  FavouritesFile file;
  EXPECT_FALSE(file.Usable());
  std::vector<EnglishBytes> records;
  EXPECT_EQ(file.Read(records), FavouritesResult::Failed);
  EXPECT_EQ(file.Add(Record(U("Phrase 2"))), FavouritesResult::Failed);
  EXPECT_EQ(fs::status(kFavouritesFileName).type(), fs::file_type::fifo);
}

// Two foreign files on one day are both kept.
TEST_F(FavouritesFileTest, ASecondForeignFileOnTheSameDayGetsANameOfItsOwn) {
  FavouritesFile file;
  std::set<std::string> names;
  for (const char* text : {"first foreign file", "second foreign one"}) {
    test::WriteFile(kFavouritesFileName, Bytes(text));
    ASSERT_EQ(file.Add(Record(U("Phrase 2"))), FavouritesResult::Done);
    names.insert(file.SetAsideName());
    EXPECT_EQ(test::ReadFile(file.SetAsideName()), Bytes(text));
  }
  EXPECT_EQ(names.size(), 2u);
}

// --- Read-only and full -------------------------------------------------------

// A small tmpfs of our own; skipped where this machine does not let us mount.
class Tmpfs {
 public:
  Tmpfs(const fs::path& where, const char* size) : path_(where) {
    fs::create_directories(where);
    mounted_ = ::mount("tmpfs", where.c_str(), "tmpfs", 0, (std::string("size=") + size).c_str()) == 0;
  }
  ~Tmpfs() {
    if (mounted_) ::umount2(path_.c_str(), MNT_DETACH);
  }
  bool Mounted() const { return mounted_; }
  bool MakeReadOnly() const { return ::mount("tmpfs", path_.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0; }

 private:
  fs::path path_;
  bool mounted_ = false;
};

// Fills the file system of `folder` to the last byte.
void Fill(const fs::path& folder) {
  std::ofstream filler(folder / "filler", std::ios::binary);
  const std::vector<char> block(4096, 'x');
  while (filler.write(block.data(), static_cast<std::streamsize>(block.size()))) filler.flush();
  filler.clear();
  for (int i = 0; i < 4096 && filler.put('x'); ++i) filler.flush();
}

const char* const kAddedMessage = "One item has just added to your favorite category";
const char* const kRemovedMessage = "One item has just removed from your favorite category";

// Mended: a full disk on add said nothing and left part of a record.
TEST_F(FavouritesFileTest, AFullDiskSaysSoAndKeepsTheFileAsItWas) {
  Tmpfs disk(dir_ / "disk", "64k");
  if (!disk.Mounted()) GTEST_SKIP() << "cannot mount a tmpfs here";
  // 33 records end 4 bytes short of a page: the next one needs a new page.
  std::vector<std::u16string> stored;
  for (int n = 0; n < 33; ++n) stored.push_back(Numbered("Stored", n));
  stored[0] = U("Phrase 1");
  WriteTexts(stored, dir_ / "disk" / kFavouritesFileName);
  Fill(dir_ / "disk");
  const auto before = test::ReadFile((dir_ / "disk" / kFavouritesFileName).string());
  Book b;
  Browse(b, dir_ / "disk");
  b.Select(2);
  b.book.ToggleFavourite();
  b.ShowFavourites();
  ASSERT_EQ(b.LineTexts().size(), 33u);
  b.book.ToggleFavourite();
  EXPECT_EQ(b.Log().messages,
            (std::vector<std::string>{"This item can't be added to favorite category: the disk is full!",
                                      "This item can't be removed from favorite category: the disk is full!"}));
  EXPECT_EQ(test::ReadFile((dir_ / "disk" / kFavouritesFileName).string()), before);
  EXPECT_TRUE(test::ScratchFiles(dir_ / "disk").empty());
  fs::remove(dir_ / "disk" / "filler");
  b.book.ToggleFavourite();
  EXPECT_EQ(b.Log().messages.back(), kRemovedMessage);
}

// Mended: a read-only favorite.dat listed as "No favorite phrase!" and
// adding did nothing without a word. Each case: what adding and removing
// say; the stored favourites are listed and kept either way.
struct ReadOnlyCase {
  const char* name;
  bool tmpfsReadOnly;  // else permissions, checked as an unprivileged user
  mode_t fileMode;
  mode_t folderMode;
  const char* addMessage;
  const char* removeMessage;
};

class ReadOnly : public FavouritesFileTest, public ::testing::WithParamInterface<ReadOnlyCase> {};

TEST_P(ReadOnly, ListsWhatIsStoredAndSaysWhyAChangeFailed) {
  const ReadOnlyCase& c = GetParam();
  const fs::path folder = dir_ / "favourites";
  std::unique_ptr<Tmpfs> disk;
  if (c.tmpfsReadOnly) {
    disk = std::make_unique<Tmpfs>(folder, "1m");
    if (!disk->Mounted()) GTEST_SKIP() << "cannot mount a tmpfs here";
  }
  fs::create_directories(folder);
  WriteTexts({U("Phrase 1"), U("Phrase 4"), U("Phrase 5")}, folder / kFavouritesFileName);
  const auto before = test::ReadFile((folder / kFavouritesFileName).string());
  if (c.tmpfsReadOnly) {
    ASSERT_TRUE(disk->MakeReadOnly());
  } else {
    ::chmod((folder / kFavouritesFileName).c_str(), c.fileMode);
    ::chmod(folder.c_str(), c.folderMode);
    ::chmod(dir_.c_str(), 0755);
  }
  // Root writes through any permission: the model runs as nobody then.
  const bool drop = !c.tmpfsReadOnly && ::geteuid() == 0;
  const int failures = InChild([&] {
    if (drop && (::setgid(65534) != 0 || ::setuid(65534) != 0)) return 100;
    Book b;
    Browse(b, folder);
    b.Select(1);
    b.book.ToggleFavourite();
    b.ShowFavourites();
    int failed = 0;
    const auto lines = b.LineTexts();
    if (lines.size() < 3 || std::vector<std::u16string>(lines.begin(), lines.begin() + 3) !=
                                std::vector<std::u16string>{U("Phrase 1"), U("Phrase 4"), U("Phrase 5")})
      failed |= 1;
    b.Select(1);
    b.book.ToggleFavourite();
    const std::vector<std::string> expected{c.addMessage, c.removeMessage};
    if (b.Log().messages != expected) {
      for (const auto& m : b.Log().messages) std::fprintf(stderr, "said: %s\n", m.c_str());
      failed |= 2;
    }
    return failed;
  });
  ::chmod(folder.c_str(), 0755);
  EXPECT_EQ(failures, 0) << "1: list, 2: messages, 100: cannot drop privileges";
  if (std::string(c.addMessage) == kAddedMessage) {
    EXPECT_EQ(StoredTexts(folder / kFavouritesFileName),
              (std::vector<std::u16string>{U("Phrase 1"), U("Phrase 4"), U("Phrase 5"), U("Phrase 2")}));
  } else {
    EXPECT_EQ(test::ReadFile((folder / kFavouritesFileName).string()), before);
  }
  EXPECT_TRUE(test::ScratchFiles(folder).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Favourites, ReadOnly,
    ::testing::Values(ReadOnlyCase{"ReadOnlyFile", false, 0444, 0777,
                                   "This item can't be added to favorite category: favorite.dat is read-only!",
                                   "This item can't be removed from favorite category: favorite.dat is read-only!"},
                      // The file itself may still grow; the rewrite through temp.dat cannot.
                      ReadOnlyCase{"ReadOnlyFolder", false, 0666, 0555, kAddedMessage,
                                   "This item can't be removed from favorite category: favorite.dat is read-only!"},
                      ReadOnlyCase{"ReadOnlyFileSystem", true, 0, 0,
                                   "This item can't be added to favorite category: favorite.dat is read-only!",
                                   "This item can't be removed from favorite category: favorite.dat is read-only!"}),
    [](const ::testing::TestParamInfo<ReadOnlyCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace lexoria
