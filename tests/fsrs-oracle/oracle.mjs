// Runs fixed review histories through ts-fsrs (FSRS-6, default parameters,
// long-term scheduling, no fuzz) and prints what it schedules, one line per
// review: history, review, rating, day, interval in days, stability and
// difficulty. Used only to produce the expected outputs our scheduler is
// tested against.
import { readFileSync } from 'node:fs';
import { fsrs, generatorParameters, createEmptyCard } from 'ts-fsrs';

const histories = readFileSync(process.argv[2], 'utf8')
  .split('\n')
  .filter((line) => line.trim() !== '' && !line.startsWith('#'))
  .map((line) => line.trim().split(/\s+/).map((pair) => pair.split(':').map(Number)));

const scheduler = fsrs(generatorParameters({ enable_fuzz: false, enable_short_term: false }));
const dayMs = 24 * 60 * 60 * 1000;
// Day d is noon UTC of d days after 2026-01-01, so no review lands on a day boundary.
const start = Date.UTC(2026, 0, 1, 12);
const at = (day) => new Date(start + day * dayMs);
const dayOf = (date) => Math.round((date.getTime() - start) / dayMs);

histories.forEach((history, h) => {
  let card = createEmptyCard(at(history[0][0]));
  history.forEach(([day, rating], i) => {
    card = scheduler.next(card, at(day), rating).card;
    const interval = dayOf(card.due) - day;
    console.log([h, i, rating, day, interval, card.stability.toFixed(6), card.difficulty.toFixed(6)].join('\t'));
  });
});
