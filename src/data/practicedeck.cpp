// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/practicedeck.h"

#include <algorithm>
#include <set>

namespace lexoria {

std::vector<CardKey> DueCards(const std::vector<std::int32_t>& phrases,
                              const std::map<CardKey, fsrs::CardState>& states, std::int32_t today,
                              const std::vector<ReviewEntry>& history) {
  // Cards whose first review was today count against the new-card limit.
  std::map<CardKey, std::int32_t> firstDay;
  for (const ReviewEntry& e : history) firstDay.try_emplace(e.card, e.day);
  int begunToday = 0;
  for (const auto& [card, day] : firstDay) begunToday += day == today ? 1 : 0;

  std::vector<std::pair<std::int32_t, CardKey>> due;
  std::vector<CardKey> fresh;
  std::set<std::int32_t> seen;
  for (std::int32_t phrase : phrases) {
    if (!seen.insert(phrase).second) continue;
    const CardKey say{phrase, CardKind::Say};
    const CardKey hear{phrase, CardKind::Hear};
    const auto s = states.find(say);
    if (s == states.end() || !s->second.reviewed) {
      fresh.push_back(say);
      continue;
    }
    if (s->second.DueDay() <= today) due.emplace_back(s->second.DueDay(), say);
    const auto h = states.find(hear);
    if (h != states.end() && h->second.reviewed) {
      if (h->second.DueDay() <= today) due.emplace_back(h->second.DueDay(), hear);
    } else if (firstDay[say] < today) {
      fresh.push_back(hear);
    }
  }
  std::stable_sort(due.begin(), due.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<CardKey> cards;
  for (const auto& [day, card] : due) cards.push_back(card);
  const auto allowed = static_cast<std::size_t>(std::max(0, kNewCardsPerDay - begunToday));
  for (std::size_t i = 0; i < fresh.size() && i < allowed; ++i) cards.push_back(fresh[i]);
  return cards;
}

PracticeSession::PracticeSession(std::vector<CardKey> cards, std::map<CardKey, fsrs::CardState> states,
                                 std::int32_t today, fsrs::Scheduler scheduler)
    : queue_(cards.begin(), cards.end()), states_(std::move(states)), today_(today), scheduler_(scheduler) {}

std::int32_t PracticeSession::IntervalIf(fsrs::Rating rating) const {
  const auto it = states_.find(Current());
  return scheduler_.Review(it == states_.end() ? fsrs::CardState{} : it->second, today_, rating).interval;
}

ReviewEntry PracticeSession::Rate(fsrs::Rating rating) {
  const CardKey card = Current();
  queue_.pop_front();
  fsrs::CardState& state = states_[card];
  state = scheduler_.Review(state, today_, rating);
  ++reviewed_;
  if (rating == fsrs::Rating::Again && ++shown_[card] < 2) queue_.push_back(card);
  return {card, today_, rating};
}

}  // namespace lexoria
