// SPDX-License-Identifier: GPL-3.0-or-later
// ReviewLog: the practice history, reviews.tsv beside favorite.dat, one
// line per rating ("phrase<TAB>card<TAB>day<TAB>rating"). The schedule is
// never stored: it is the history replayed through the scheduler, so the
// file can only gain lines and a reader needs nothing else.
//
// Every append takes an exclusive lock on reviews.lock (waiting at most the
// lock timeout), reads the history afresh under it, and replaces the file
// in one step with the new line added (a unique temporary file, synced,
// renamed, the folder synced). Two copies of the program never lose each
// other's reviews; a kill at any moment leaves the old or the new file; a
// full disk leaves the old one and says so. Damaged lines are skipped.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "data/fsrs.h"

namespace lexoria {

inline constexpr char kReviewLogName[] = "reviews.tsv";
inline constexpr char kReviewLockName[] = "reviews.lock";

// The two cards of a phrase.
enum class CardKind : std::uint8_t {
  Say,   // the English shown: say the Japanese, then hear it
  Hear,  // the recording played: recall the meaning, then see the English
};

struct CardKey {
  std::int32_t phrase = 0;
  CardKind kind = CardKind::Say;
  friend auto operator<=>(const CardKey&, const CardKey&) = default;
};

struct ReviewEntry {
  CardKey card;
  std::int32_t day = 0;  // days since 1970-01-01 in the user's time zone
  fsrs::Rating rating = fsrs::Rating::Good;
};

enum class ReviewLogResult { Done, ReadOnly, DiskFull, Locked, Failed };

class ReviewLog {
 public:
  // folder: the favourites folder; empty means the working folder.
  explicit ReviewLog(std::filesystem::path folder = {});
  std::filesystem::path FilePath() const { return folder_ / kReviewLogName; }
  void SetLockTimeout(std::chrono::milliseconds timeout) { lockTimeout_ = timeout; }

  // Every whole, valid line in file order; a missing file holds none.
  ReviewLogResult Read(std::vector<ReviewEntry>& entries) const;
  ReviewLogResult Append(const ReviewEntry& entry);

 private:
  std::filesystem::path folder_;
  std::chrono::milliseconds lockTimeout_{2000};
};

// The history's lines as the file holds them, and back (invalid lines
// skipped: a phrase out of 1..826, an unknown card or rating, a torn line).
std::string ReviewLogText(const std::vector<ReviewEntry>& entries);
std::vector<ReviewEntry> ParseReviewLog(const std::string& text);

// Each card's state after its reviews, in history order.
std::map<CardKey, fsrs::CardState> ReplayReviews(const std::vector<ReviewEntry>& entries,
                                                 const fsrs::Scheduler& scheduler);

// A short English reason for a failed append, for the message box.
const char* ReviewLogMessage(ReviewLogResult result);

}  // namespace lexoria
