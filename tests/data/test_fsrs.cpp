// SPDX-License-Identifier: GPL-3.0-or-later
// The scheduler against ts-fsrs on fixed review histories: the histories in
// tests/fsrs-oracle/histories.txt, the oracle's outputs in expected.tsv
// (regenerated and compared by test_fsrs_oracle where node is installed).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "data/fsrs.h"

namespace {

using lexoria::fsrs::CardState;
using lexoria::fsrs::Rating;
using lexoria::fsrs::Scheduler;

struct Review {
  int day;
  int rating;
};

struct Expected {
  int history, index, rating, day, interval;
  double stability, difficulty;
};

std::filesystem::path OracleFolder() {
  const char* source = std::getenv("LEXORIA_SOURCE_DIR");
  return std::filesystem::path(source != nullptr ? source : ".") / "tests" / "fsrs-oracle";
}

std::vector<std::vector<Review>> ReadHistories() {
  std::ifstream in(OracleFolder() / "histories.txt");
  std::vector<std::vector<Review>> histories;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream words(line);
    std::vector<Review> history;
    for (std::string pair; words >> pair;) {
      const auto colon = pair.find(':');
      history.push_back({std::stoi(pair.substr(0, colon)), std::stoi(pair.substr(colon + 1))});
    }
    histories.push_back(history);
  }
  return histories;
}

std::vector<Expected> ReadExpected() {
  std::ifstream in(OracleFolder() / "expected.tsv");
  std::vector<Expected> rows;
  Expected e{};
  while (in >> e.history >> e.index >> e.rating >> e.day >> e.interval >> e.stability >> e.difficulty)
    rows.push_back(e);
  return rows;
}

TEST(FsrsOracle, SameIntervalsStabilityAndDifficultyOnEveryFixedHistory) {
  const auto histories = ReadHistories();
  const auto expected = ReadExpected();
  ASSERT_FALSE(histories.empty());
  ASSERT_FALSE(expected.empty());

  const Scheduler scheduler;
  std::size_t row = 0;
  for (std::size_t h = 0; h < histories.size(); ++h) {
    CardState card;
    for (std::size_t i = 0; i < histories[h].size(); ++i, ++row) {
      ASSERT_LT(row, expected.size());
      const Expected& e = expected[row];
      ASSERT_EQ(e.history, static_cast<int>(h));
      ASSERT_EQ(e.index, static_cast<int>(i));
      card = scheduler.Review(card, histories[h][i].day, static_cast<Rating>(histories[h][i].rating));
      SCOPED_TRACE("history " + std::to_string(h) + " review " + std::to_string(i));
      EXPECT_EQ(card.interval, e.interval);
      EXPECT_EQ(card.DueDay(), e.day + e.interval);
      EXPECT_NEAR(card.stability, e.stability, 1e-5 * std::max(1.0, e.stability));
      EXPECT_NEAR(card.difficulty, e.difficulty, 1e-5);
    }
  }
  EXPECT_EQ(row, expected.size());
}

TEST(Fsrs, RecallIsNinetyPercentAfterOneStability) {
  const Scheduler scheduler;
  for (double s : {0.5, 3.0, 40.0, 900.0}) {
    EXPECT_NEAR(scheduler.Retrievability(s, s), 0.9, 1e-12);
    EXPECT_NEAR(scheduler.Retrievability(0, s), 1.0, 1e-12);
    EXPECT_LT(scheduler.Retrievability(2 * s, s), 0.9);
  }
}

TEST(Fsrs, IntervalsKeepTheirOrderAndStayWithinLimits) {
  const Scheduler scheduler;
  // No memory is more stable than the longest interval (the oracle's
  // histories show the intervals there, one day apart past it).
  CardState card;
  for (int day = 0, i = 0; i < 30; ++i) {
    card = scheduler.Review(card, day, Rating::Easy);
    day = card.DueDay();
  }
  EXPECT_EQ(card.stability, 36500);
  EXPECT_LE(card.interval, 36500 + 3);
  // From any state, Again < Hard < Good < Easy.
  CardState state = scheduler.Review(scheduler.Review({}, 0, Rating::Good), 3, Rating::Hard);
  int previous = 0;
  for (int g = 1; g <= 4; ++g) {
    const int interval = scheduler.Review(state, 10, static_cast<Rating>(g)).interval;
    EXPECT_GT(interval, previous) << g;
    previous = interval;
  }
}

TEST(Fsrs, LapsesCountAgainAfterTheFirstReviewOnly) {
  const Scheduler scheduler;
  CardState card = scheduler.Review({}, 0, Rating::Again);
  EXPECT_EQ(card.lapses, 0);
  card = scheduler.Review(card, 1, Rating::Again);
  card = scheduler.Review(card, 2, Rating::Good);
  EXPECT_EQ(card.lapses, 1);
  EXPECT_EQ(card.reps, 3);
  // A clock turned back counts as the same day, never as negative days.
  const CardState back = scheduler.Review(card, -5, Rating::Good);
  EXPECT_EQ(back.lastDay, card.lastDay);
}

}  // namespace
