// SPDX-License-Identifier: GPL-3.0-or-later
// PracticeDeck: which cards a practice session shows, over a set of phrases
// (the favourites or a category), from the cards' replayed states.
//
// A phrase starts with its Say card (English shown); its Hear card
// (recording played) joins once the Say card has been reviewed on an
// earlier day. Due cards come first, the most overdue first; then new
// cards, at most kNewCardsPerDay a day counting those begun today. A card
// rated Again comes back once more at the end of the session.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <vector>

#include "data/fsrs.h"
#include "data/reviewlog.h"

namespace lexoria {

inline constexpr int kNewCardsPerDay = 10;

// Cards of `phrases` to practise on `today`, in the order to show them.
std::vector<CardKey> DueCards(const std::vector<std::int32_t>& phrases,
                              const std::map<CardKey, fsrs::CardState>& states, std::int32_t today,
                              const std::vector<ReviewEntry>& history);

class PracticeSession {
 public:
  PracticeSession(std::vector<CardKey> cards, std::map<CardKey, fsrs::CardState> states, std::int32_t today,
                  fsrs::Scheduler scheduler = fsrs::Scheduler());

  bool Finished() const { return queue_.empty(); }
  // The card on show; only when not finished.
  const CardKey& Current() const { return queue_.front(); }
  std::size_t Remaining() const { return queue_.size(); }
  std::size_t Reviewed() const { return reviewed_; }
  // Days until the current card would be due again with each rating.
  std::int32_t IntervalIf(fsrs::Rating rating) const;
  // Rates the current card: its new state, the entry to append to the
  // history, and the next card on show.
  ReviewEntry Rate(fsrs::Rating rating);

 private:
  std::deque<CardKey> queue_;
  std::map<CardKey, fsrs::CardState> states_;
  std::map<CardKey, int> shown_;
  std::int32_t today_;
  fsrs::Scheduler scheduler_;
  std::size_t reviewed_ = 0;
};

}  // namespace lexoria
