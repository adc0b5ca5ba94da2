// SPDX-License-Identifier: GPL-3.0-or-later
// The practice history on disk and the sessions built from it: lines kept
// across two writers, a kill and a full disk; due cards and new cards.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "data/practicedeck.h"
#include "data/reviewlog.h"
#include "fixture.h"

namespace lexoria::test {
namespace {

using fsrs::Rating;
using ReviewLogTest = TempDirTest;

std::string Text(const std::string& name) {
  const std::vector<unsigned char> bytes = ReadFile(name);
  return {bytes.begin(), bytes.end()};
}

TEST(ReviewLogText, RoundTripsAndSkipsDamagedLines) {
  const std::vector<ReviewEntry> entries = {{{1, CardKind::Say}, 20000, Rating::Good},
                                            {{826, CardKind::Hear}, -3, Rating::Again}};
  EXPECT_EQ(ParseReviewLog(ReviewLogText(entries)).size(), 2u);
  const std::string text = ReviewLogText(entries) +
                           "0\tsay\t1\t3\n"    // no phrase 0
                           "827\tsay\t1\t3\n"  // nor 827
                           "5\tread\t1\t3\n"   // unknown card
                           "5\tsay\t1\t5\n"    // unknown rating
                           "5\tsay\tx\t3\n"    // not a day
                           "5\tsay\t1\t3\textra\n"
                           "5\tsay\t1\t3";  // torn: no line feed
  const std::vector<ReviewEntry> parsed = ParseReviewLog(text);
  ASSERT_EQ(parsed.size(), 2u);
  EXPECT_EQ(parsed[1].card, (CardKey{826, CardKind::Hear}));
  EXPECT_EQ(parsed[1].day, -3);
  EXPECT_EQ(parsed[1].rating, Rating::Again);
}

TEST_F(ReviewLogTest, AppendsSurviveRereadingAndLeaveNoTemporaryFile) {
  ReviewLog log;
  for (int i = 0; i < 3; ++i)
    ASSERT_EQ(log.Append({{10 + i, CardKind::Say}, 100, Rating::Good}), ReviewLogResult::Done);
  std::vector<ReviewEntry> entries;
  ASSERT_EQ(log.Read(entries), ReviewLogResult::Done);
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[2].card.phrase, 12);
  std::size_t files = 0;
  for (const auto& e : std::filesystem::directory_iterator("."))
    files += e.path().filename().string()[0] == '.' ? 1 : 0;
  EXPECT_EQ(files, 0u);
}

TEST_F(ReviewLogTest, TwoCopiesAppendingAtOnceLoseNothing) {
  constexpr int kEach = 40;
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  const int phrase = child == 0 ? 1 : 2;
  ReviewLog log;
  log.SetLockTimeout(std::chrono::milliseconds(10000));
  for (int i = 0; i < kEach; ++i) {
    if (log.Append({{phrase, CardKind::Say}, i, Rating::Good}) != ReviewLogResult::Done && child == 0) _exit(1);
  }
  if (child == 0) _exit(0);
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  std::vector<ReviewEntry> entries;
  ASSERT_EQ(log.Read(entries), ReviewLogResult::Done);
  EXPECT_EQ(entries.size(), 2u * kEach);
}

TEST_F(ReviewLogTest, AKillWhileWritingLeavesAWholeHistory) {
  ReviewLog log;
  ASSERT_EQ(log.Append({{7, CardKind::Say}, 1, Rating::Good}), ReviewLogResult::Done);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    for (int i = 0;; ++i) log.Append({{8, CardKind::Hear}, i, Rating::Hard});
  }
  usleep(50000);
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  // Every line the file holds is whole, and the first review is among them.
  const std::string text = Text("reviews.tsv");
  ASSERT_FALSE(text.empty());
  EXPECT_EQ(text.back(), '\n');
  std::vector<ReviewEntry> entries;
  ASSERT_EQ(log.Read(entries), ReviewLogResult::Done);
  ASSERT_FALSE(entries.empty());
  EXPECT_EQ(entries[0].card.phrase, 7);
  // A later append still works: the dead copy's lock went with it.
  EXPECT_EQ(log.Append({{9, CardKind::Say}, 2, Rating::Easy}), ReviewLogResult::Done);
}

TEST_F(ReviewLogTest, AFullDiskKeepsTheOldHistoryAndSaysSo) {
  ReviewLog log;
  for (int i = 0; i < 20; ++i) ASSERT_EQ(log.Append({{1, CardKind::Say}, i, Rating::Good}), ReviewLogResult::Done);
  const std::string before = Text("reviews.tsv");
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // No room for a file as long as the history: the write runs out of space.
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{before.size() - 10, before.size() - 10};
    setrlimit(RLIMIT_FSIZE, &limit);
    _exit(log.Append({{2, CardKind::Say}, 30, Rating::Good}) == ReviewLogResult::DiskFull ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(Text("reviews.tsv"), before);
  std::size_t hidden = 0;
  for (const auto& e : std::filesystem::directory_iterator("."))
    hidden += e.path().filename().string()[0] == '.' ? 1 : 0;
  EXPECT_EQ(hidden, 0u);
}

TEST_F(ReviewLogTest, ALinkInPlaceOfTheHistoryIsNotFollowed) {
  WriteFile("elsewhere", {'x'});
  std::filesystem::create_symlink("elsewhere", "reviews.tsv");
  ReviewLog log;
  std::vector<ReviewEntry> entries;
  EXPECT_EQ(log.Read(entries), ReviewLogResult::Failed);
  EXPECT_NE(log.Append({{1, CardKind::Say}, 1, Rating::Good}), ReviewLogResult::Done);
  EXPECT_EQ(Text("elsewhere"), "x");
}

TEST_F(ReviewLogTest, AFifoInPlaceOfTheFilesNeverHangs) {
  ASSERT_EQ(::mkfifo("reviews.tsv", 0644), 0);
  ReviewLog log;
  std::vector<ReviewEntry> entries;
  EXPECT_EQ(log.Read(entries), ReviewLogResult::Failed);
  EXPECT_NE(log.Append({{1, CardKind::Say}, 1, Rating::Good}), ReviewLogResult::Done);
  std::filesystem::remove("reviews.tsv");
  std::filesystem::remove("reviews.lock");
  ASSERT_EQ(::mkfifo("reviews.lock", 0644), 0);
  EXPECT_NE(log.Append({{1, CardKind::Say}, 1, Rating::Good}), ReviewLogResult::Done);
}

TEST(PracticeDeck, DueCardsFirstThenNewOnesUpToTheDailyLimit) {
  const fsrs::Scheduler scheduler;
  std::vector<ReviewEntry> history = {
      {{1, CardKind::Say}, 0, Rating::Good},   // due on day 3
      {{2, CardKind::Say}, 0, Rating::Again},  // due on day 1
      {{3, CardKind::Say}, 0, Rating::Easy},   // due on day 8
  };
  std::vector<std::int32_t> phrases = {1, 2, 3};
  for (int n = 100; n < 120; ++n) phrases.push_back(n);
  const auto states = ReplayReviews(history, scheduler);
  const std::vector<CardKey> cards = DueCards(phrases, states, 3, history);
  ASSERT_GE(cards.size(), 2u);
  EXPECT_EQ(cards[0], (CardKey{2, CardKind::Say}));  // the most overdue first
  EXPECT_EQ(cards[1], (CardKey{1, CardKind::Say}));
  // Hear cards of phrases begun on an earlier day, then new Say cards.
  std::size_t hear = 0, fresh = 0;
  for (const CardKey& c : cards) {
    hear += c.kind == CardKind::Hear ? 1 : 0;
    fresh += c.phrase >= 100 ? 1 : 0;
  }
  EXPECT_EQ(hear, 3u);
  EXPECT_EQ(hear + fresh, static_cast<std::size_t>(kNewCardsPerDay));
  // New cards begun today count against the limit.
  for (int n = 100; n < 105; ++n) history.push_back({{n, CardKind::Say}, 3, Rating::Good});
  const auto later = DueCards(phrases, ReplayReviews(history, scheduler), 3, history);
  EXPECT_EQ(later.size(), 2u + kNewCardsPerDay - 5);
}

TEST(PracticeDeck, AgainBringsTheCardBackOnceAtTheEnd) {
  PracticeSession session({{1, CardKind::Say}, {2, CardKind::Say}}, {}, 50);
  EXPECT_LT(session.IntervalIf(Rating::Again), session.IntervalIf(Rating::Easy));
  const ReviewEntry first = session.Rate(Rating::Again);
  EXPECT_EQ(first.card.phrase, 1);
  EXPECT_EQ(first.day, 50);
  EXPECT_EQ(session.Current().phrase, 2);
  session.Rate(Rating::Good);
  ASSERT_FALSE(session.Finished());
  EXPECT_EQ(session.Current().phrase, 1);
  session.Rate(Rating::Again);
  EXPECT_TRUE(session.Finished());
  EXPECT_EQ(session.Reviewed(), 3u);
}

}  // namespace
}  // namespace lexoria::test
