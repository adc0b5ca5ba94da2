// SPDX-License-Identifier: GPL-3.0-or-later
// The FSRS-6 memory model and its day-based scheduler: how stable and how
// difficult a card's memory is after each review, and in how many days it
// should be seen again. Default parameters, no optimiser, no fuzz; every
// interval is a whole number of days (reviews on the same day count as
// zero days apart).
#pragma once

#include <array>
#include <cstdint>

namespace lexoria::fsrs {

enum class Rating : std::uint8_t { Again = 1, Hard = 2, Good = 3, Easy = 4 };

inline constexpr int kParameterCount = 21;
using Weights = std::array<double, kParameterCount>;

// The published default weights of FSRS-6, w0..w20.
inline constexpr Weights kDefaultWeights = {0.212,  1.2931, 2.3065, 8.2956, 6.4133, 0.8334, 3.0194,
                                            0.001,  1.8722, 0.1666, 0.796,  1.4835, 0.0614, 0.2629,
                                            1.6483, 0.6014, 1.8729, 0.5425, 0.0912, 0.0658, 0.1542};

struct Parameters {
  Weights w = kDefaultWeights;
  double desiredRetention = 0.9;
  std::int32_t maximumInterval = 36500;  // days
};

// What the scheduler knows of one card after its reviews so far.
struct CardState {
  bool reviewed = false;  // false: a new card, the rest is unset
  double stability = 0;   // days until recall falls to 90 %
  double difficulty = 0;  // 1 (easy) .. 10 (hard)
  std::int32_t lastDay = 0;
  std::int32_t interval = 0;  // days from lastDay to the due day
  std::int32_t reps = 0;
  std::int32_t lapses = 0;  // reviews rated Again after the first
  std::int32_t DueDay() const { return lastDay + interval; }
};

class Scheduler {
 public:
  explicit Scheduler(Parameters parameters = {});

  // The state after reviewing `card` on `day` with `rating`. A day before
  // the last review counts as the same day.
  CardState Review(const CardState& card, std::int32_t day, Rating rating) const;

  // Probability of recall `elapsedDays` after a review left `stability`.
  double Retrievability(double elapsedDays, double stability) const;
  // Whole days until recall falls to the desired retention, 1 at least.
  std::int32_t IntervalFor(double stability) const;

  double InitialStability(Rating rating) const;
  double InitialDifficulty(Rating rating) const;
  double NextDifficulty(double difficulty, Rating rating) const;
  double RecallStability(double difficulty, double stability, double retrievability, Rating rating) const;
  double ForgetStability(double difficulty, double stability, double retrievability) const;

 private:
  double ClampStability(double stability) const;

  Parameters p_;
  double decay_;
  double factor_;
};

}  // namespace lexoria::fsrs
