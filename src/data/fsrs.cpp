// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/fsrs.h"

#include <algorithm>
#include <cmath>

namespace lexoria::fsrs {
namespace {

constexpr double kMinStability = 0.001;

double ClampDifficulty(double d) { return std::clamp(d, 1.0, 10.0); }
double Grade(Rating r) { return static_cast<double>(r); }

}  // namespace

Scheduler::Scheduler(Parameters parameters)
    : p_(parameters), decay_(-parameters.w[20]), factor_(std::pow(0.9, 1.0 / decay_) - 1.0) {}

// No memory is held more stable than the longest interval.
double Scheduler::ClampStability(double stability) const {
  return std::clamp(stability, kMinStability, static_cast<double>(p_.maximumInterval));
}

double Scheduler::Retrievability(double elapsedDays, double stability) const {
  return std::pow(1.0 + factor_ * std::max(elapsedDays, 0.0) / stability, decay_);
}

std::int32_t Scheduler::IntervalFor(double stability) const {
  const double days = stability / factor_ * (std::pow(p_.desiredRetention, 1.0 / decay_) - 1.0);
  return std::clamp(static_cast<std::int32_t>(std::lround(days)), 1, p_.maximumInterval);
}

double Scheduler::InitialStability(Rating rating) const { return ClampStability(p_.w[static_cast<int>(rating) - 1]); }

// Not clamped: the mean reversion pulls towards the unclamped value of Easy.
double Scheduler::InitialDifficulty(Rating rating) const {
  return p_.w[4] - std::exp(p_.w[5] * (Grade(rating) - 1.0)) + 1.0;
}

double Scheduler::NextDifficulty(double difficulty, Rating rating) const {
  const double delta = -p_.w[6] * (Grade(rating) - 3.0);
  // Linear damping: the step shrinks as the difficulty nears 10.
  const double damped = difficulty + delta * (10.0 - difficulty) / 9.0;
  const double reverted = p_.w[7] * InitialDifficulty(Rating::Easy) + (1.0 - p_.w[7]) * damped;
  return ClampDifficulty(reverted);
}

double Scheduler::RecallStability(double difficulty, double stability, double retrievability, Rating rating) const {
  const double hardPenalty = rating == Rating::Hard ? p_.w[15] : 1.0;
  const double easyBonus = rating == Rating::Easy ? p_.w[16] : 1.0;
  const double growth = std::exp(p_.w[8]) * (11.0 - difficulty) * std::pow(stability, -p_.w[9]) *
                        (std::exp(p_.w[10] * (1.0 - retrievability)) - 1.0) * hardPenalty * easyBonus;
  return ClampStability(stability * (growth + 1.0));
}

double Scheduler::ForgetStability(double difficulty, double stability, double retrievability) const {
  const double forgotten = p_.w[11] * std::pow(difficulty, -p_.w[12]) * (std::pow(stability + 1.0, p_.w[13]) - 1.0) *
                           std::exp(p_.w[14] * (1.0 - retrievability));
  // A lapse never leaves the memory more stable than a same-day Again would.
  const double ceiling = stability / std::exp(p_.w[17] * p_.w[18]);
  return ClampStability(std::min(forgotten, ceiling));
}

CardState Scheduler::Review(const CardState& card, std::int32_t day, Rating rating) const {
  // The four outcomes are computed together because their intervals are
  // kept in order: Again < Hard < Good < Easy, a day apart at least.
  std::array<double, 4> stability{};
  std::array<double, 4> difficulty{};
  for (int g = 1; g <= 4; ++g) {
    const auto r = static_cast<Rating>(g);
    if (!card.reviewed) {
      stability[g - 1] = InitialStability(r);
      difficulty[g - 1] = ClampDifficulty(InitialDifficulty(r));
    } else {
      const double elapsed = std::max(day - card.lastDay, 0);
      const double retrievability = Retrievability(elapsed, card.stability);
      difficulty[g - 1] = NextDifficulty(card.difficulty, r);
      stability[g - 1] = r == Rating::Again ? ForgetStability(card.difficulty, card.stability, retrievability)
                                            : RecallStability(card.difficulty, card.stability, retrievability, r);
    }
  }
  std::array<std::int32_t, 4> interval{};
  for (int i = 0; i < 4; ++i) interval[i] = IntervalFor(stability[i]);
  interval[0] = std::min(interval[0], interval[1]);
  interval[1] = std::max(interval[1], interval[0] + 1);
  interval[2] = std::max(interval[2], interval[1] + 1);
  interval[3] = std::max(interval[3], interval[2] + 1);

  const int i = static_cast<int>(rating) - 1;
  CardState next;
  next.reviewed = true;
  next.stability = stability[i];
  next.difficulty = difficulty[i];
  next.lastDay = card.reviewed ? std::max(day, card.lastDay) : day;
  next.interval = interval[i];
  next.reps = card.reps + 1;
  next.lapses = card.lapses + (card.reviewed && rating == Rating::Again ? 1 : 0);
  return next;
}

}  // namespace lexoria::fsrs
