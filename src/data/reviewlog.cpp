// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/reviewlog.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <sstream>
#include <thread>

#include "data/atomicfile.h"
#include "data/records.h"

namespace lexoria {
namespace {

constexpr char kHeader[] = "# lexoria-japanese practice history: phrase, card (say/hear), day, rating 1-4\n";

ReviewLogResult FromErrno(int error) {
  switch (error) {
    case EROFS:
    case EACCES:
    case EPERM: return ReviewLogResult::ReadOnly;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return ReviewLogResult::DiskFull;
    default: return ReviewLogResult::Failed;
  }
}

// Opened without blocking (a fifo put in its place would hang a plain
// open) and kept only when it is an ordinary file.
int OpenRegular(const std::filesystem::path& path, int flags) {
  const int fd = ::open(path.c_str(), flags | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0644);
  if (fd < 0) return -1;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    errno = EINVAL;
    return -1;
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return fd;
}

// The whole file, not following a link put where it should be.
int ReadWhole(const std::filesystem::path& path, std::string& text) {
  text.clear();
  const int fd = OpenRegular(path, O_RDONLY);
  if (fd < 0) return errno == ENOENT ? 0 : errno;
  char buffer[8192];
  int error = 0;
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) error = errno;
    if (n <= 0) break;
    text.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return error;
}

bool ParseInt(const std::string& field, std::int32_t& value) {
  if (field.empty() || field.size() > 9) return false;
  std::size_t i = field[0] == '-' ? 1 : 0;
  if (i == field.size()) return false;
  std::int32_t v = 0;
  for (; i < field.size(); ++i) {
    if (field[i] < '0' || field[i] > '9') return false;
    v = v * 10 + (field[i] - '0');
  }
  value = field[0] == '-' ? -v : v;
  return true;
}

}  // namespace

ReviewLog::ReviewLog(std::filesystem::path folder) : folder_(std::move(folder)) {}

std::string ReviewLogText(const std::vector<ReviewEntry>& entries) {
  std::string text = kHeader;
  char line[64];
  for (const ReviewEntry& e : entries) {
    std::snprintf(line, sizeof line, "%d\t%s\t%d\t%d\n", static_cast<int>(e.card.phrase),
                  e.card.kind == CardKind::Say ? "say" : "hear", static_cast<int>(e.day), static_cast<int>(e.rating));
    text += line;
  }
  return text;
}

std::vector<ReviewEntry> ParseReviewLog(const std::string& text) {
  std::vector<ReviewEntry> entries;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find('\n', start);
    // A line with no line feed was torn by a crash of an older writer.
    if (end == std::string::npos) break;
    const std::string line = text.substr(start, end - start);
    start = end + 1;
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> fields;
    std::stringstream stream(line);
    for (std::string field; std::getline(stream, field, '\t');) fields.push_back(field);
    std::int32_t phrase = 0, day = 0, rating = 0;
    if (fields.size() != 4 || !ParseInt(fields[0], phrase) || !ParseInt(fields[2], day) ||
        !ParseInt(fields[3], rating) || phrase < 1 || phrase > kPhraseCount || rating < 1 || rating > 4 ||
        (fields[1] != "say" && fields[1] != "hear"))
      continue;
    entries.push_back(
        {{phrase, fields[1] == "say" ? CardKind::Say : CardKind::Hear}, day, static_cast<fsrs::Rating>(rating)});
  }
  return entries;
}

ReviewLogResult ReviewLog::Read(std::vector<ReviewEntry>& entries) const {
  std::string text;
  if (ReadWhole(FilePath(), text) != 0) return ReviewLogResult::Failed;
  entries = ParseReviewLog(text);
  return ReviewLogResult::Done;
}

ReviewLogResult ReviewLog::Append(const ReviewEntry& entry) {
  const std::filesystem::path lockPath = (folder_.empty() ? std::filesystem::path(".") : folder_) / kReviewLockName;
  const int lock = OpenRegular(lockPath, O_RDWR | O_CREAT);
  if (lock < 0) return FromErrno(errno);
  const auto deadline = std::chrono::steady_clock::now() + lockTimeout_;
  auto pause = std::chrono::milliseconds(1);
  while (::flock(lock, LOCK_EX | LOCK_NB) != 0) {
    if ((errno != EWOULDBLOCK && errno != EINTR) || std::chrono::steady_clock::now() >= deadline) {
      const int error = errno;
      ::close(lock);
      return error == EWOULDBLOCK || error == EINTR ? ReviewLogResult::Locked : FromErrno(error);
    }
    std::this_thread::sleep_for(pause);
    pause = std::min(pause * 2, std::chrono::milliseconds(16));
  }
  // Read under the lock, so a review another copy just wrote is kept.
  std::vector<ReviewEntry> entries;
  std::string text;
  ReviewLogResult result = ReviewLogResult::Done;
  if (const int error = ReadWhole(FilePath(), text); error != 0) {
    result = FromErrno(error);
  } else {
    entries = ParseReviewLog(text);
    entries.push_back(entry);
    if (const int error = WriteFileAtomically(FilePath(), ReviewLogText(entries)); error != 0)
      result = FromErrno(error);
  }
  ::close(lock);  // lets the lock go
  return result;
}

std::map<CardKey, fsrs::CardState> ReplayReviews(const std::vector<ReviewEntry>& entries,
                                                 const fsrs::Scheduler& scheduler) {
  std::map<CardKey, fsrs::CardState> states;
  for (const ReviewEntry& e : entries) {
    fsrs::CardState& state = states[e.card];
    state = scheduler.Review(state, e.day, e.rating);
  }
  return states;
}

const char* ReviewLogMessage(ReviewLogResult result) {
  switch (result) {
    case ReviewLogResult::Done: return "";
    case ReviewLogResult::ReadOnly: return "The practice history can't be saved: its folder is read-only.";
    case ReviewLogResult::DiskFull: return "The practice history can't be saved: the disk is full.";
    case ReviewLogResult::Locked: return "The practice history is in use by another copy of the program.";
    case ReviewLogResult::Failed: break;
  }
  return "The practice history can't be saved.";
}

}  // namespace lexoria
