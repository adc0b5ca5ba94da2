// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/favouritesfile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <iterator>
#include <thread>

#include "data/favouritesshape.h"
#include "data/wellformed.h"

namespace lexoria {
namespace {

using Clock = std::chrono::steady_clock;

FavouritesResult FromErrno(int error) {
  switch (error) {
    case EROFS:
    case EACCES:
    case EPERM: return FavouritesResult::ReadOnly;
    case ENOSPC:
    case EDQUOT: return FavouritesResult::DiskFull;
    case EWOULDBLOCK: return FavouritesResult::Locked;
    default: return FavouritesResult::Failed;
  }
}

// Closes the descriptor on every way out.
class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  ~Descriptor() { Reset(); }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int Get() const { return fd_; }
  void Reset(int fd = -1) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
  }
  int Release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }
  // close() reports late write errors (NFS): they count.
  int Close() {
    const int rc = fd_ >= 0 ? ::close(fd_) : 0;
    fd_ = -1;
    return rc;
  }

 private:
  int fd_;
};

bool WriteAll(int fd, const unsigned char* data, std::size_t size, off_t at) {
  while (size > 0) {
    const ssize_t n = ::pwrite(fd, data, size, at);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = ENOSPC;
      return false;
    }
    data += n;
    size -= static_cast<std::size_t>(n);
    at += n;
  }
  return true;
}

// A fifo or a device under the favourites name must not hang the opening;
// it is refused once open.
constexpr int kOpenFlags = O_CLOEXEC | O_NONBLOCK | O_NOCTTY;

// Larger than any list of favourites; such a file is nobody's favourites.
constexpr off_t kLargestFavouritesFile = off_t{16} << 20;

// An open favourites file read whole, with the records to keep from it.
struct Stored {
  std::vector<EnglishBytes> records;  // every whole record, in file order
  FavouritesShape shape = FavouritesShape::Sound;
  off_t size = 0;
  mode_t mode = 0644;
};

bool ReadAll(int fd, std::vector<unsigned char>& bytes, off_t size) {
  bytes.resize(static_cast<std::size_t>(size));
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::pread(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) break;  // shorter than fstat said: what is there
    done += static_cast<std::size_t>(n);
  }
  bytes.resize(done);
  return true;
}

bool Load(int fd, Stored& out) {
  struct stat st {};
  if (::fstat(fd, &st) != 0) return false;
  if (!S_ISREG(st.st_mode)) {
    errno = EINVAL;
    return false;
  }
  out.mode = st.st_mode & 0777;
  out.records.clear();
  if (st.st_size > kLargestFavouritesFile) {
    out.size = st.st_size;
    out.shape = FavouritesShape::Foreign;
    return true;
  }
  std::vector<unsigned char> bytes;
  if (!ReadAll(fd, bytes, st.st_size)) return false;
  out.size = static_cast<off_t>(bytes.size());
  out.shape = ShapeOfFavourites(bytes);
  out.records.resize(bytes.size() / kEnglishRecordSize);
  for (std::size_t i = 0; i < out.records.size(); ++i)
    std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(i * kEnglishRecordSize), kEnglishRecordSize,
                out.records[i].begin());
  return true;
}

// favorite.dat opened for update and locked. The lock counts only if it is
// on the file the name stands for: a copy that renamed a new file over it
// while this one waited left this one holding the old file. A link whose
// target is missing is not followed to make one.
FavouritesResult LockFile(const std::filesystem::path& path, std::chrono::milliseconds timeout, Descriptor& out,
                          bool& isLink) {
  const Clock::time_point deadline = Clock::now() + timeout;
  auto pause = std::chrono::milliseconds(1);
  for (;;) {
    Descriptor fd(::open(path.c_str(), kOpenFlags | O_RDWR));
    if (fd.Get() < 0) {
      if (errno != ENOENT) return FromErrno(errno);
      struct stat entry {};
      if (::lstat(path.c_str(), &entry) == 0) return FavouritesResult::Failed;
      fd.Reset(::open(path.c_str(), kOpenFlags | O_RDWR | O_CREAT | O_EXCL, 0644));
      if (fd.Get() < 0) {
        if (errno == EEXIST) continue;  // another copy made it just now
        return FromErrno(errno);
      }
    }
    struct stat held {};
    if (::fstat(fd.Get(), &held) != 0) return FromErrno(errno);
    if (!S_ISREG(held.st_mode)) return FavouritesResult::Failed;
    bool locked = false;
    while (!locked) {
      if (::flock(fd.Get(), LOCK_EX | LOCK_NB) == 0) {
        locked = true;
      } else if (errno != EWOULDBLOCK && errno != EINTR) {
        return FromErrno(errno);
      } else if (Clock::now() >= deadline) {
        return FavouritesResult::Locked;
      } else {
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::milliseconds(16));
      }
    }
    struct stat named {};
    if (::stat(path.c_str(), &named) == 0 && named.st_dev == held.st_dev && named.st_ino == held.st_ino) {
      struct stat entry {};
      isLink = ::lstat(path.c_str(), &entry) == 0 && S_ISLNK(entry.st_mode);
      out.Reset(fd.Release());
      return FavouritesResult::Done;
    }
    if (Clock::now() >= deadline) return FavouritesResult::Locked;
  }
}

// The rename is durable only once the folder entry is on disk too.
void SyncFolder(const std::filesystem::path& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
}

// Writes the records to a new file of a name nobody else has (made
// exclusively, so no link planted in the folder is followed) and renames
// it over favorite.dat in one step, once it is complete and on disk: a
// failure at any point leaves favorite.dat as it was.
FavouritesResult Replace(const std::filesystem::path& folder, const std::filesystem::path& file,
                         const std::vector<EnglishBytes>& records, mode_t mode) {
  std::string name = (folder / kFavouritesTempPrefix).string() + "XXXXXX";
  Descriptor out(::mkostemp(name.data(), O_CLOEXEC));
  if (out.Get() < 0) return FromErrno(errno);
  const auto fail = [&](int error) {
    out.Reset();
    ::unlink(name.c_str());
    return FromErrno(error);
  };
  // The new file keeps the old one's permissions, not mkostemp's 0600.
  if (::fchmod(out.Get(), mode) != 0) return fail(errno);
  std::vector<unsigned char> bytes;
  bytes.reserve(records.size() * kEnglishRecordSize);
  for (const EnglishBytes& r : records) bytes.insert(bytes.end(), r.begin(), r.end());
  if (!WriteAll(out.Get(), bytes.data(), bytes.size(), 0) || ::fsync(out.Get()) != 0) return fail(errno);
  if (out.Close() != 0) return fail(errno);
  if (::rename(name.c_str(), file.c_str()) != 0) return fail(errno);
  SyncFolder(folder);
  return FavouritesResult::Done;
}

// favorite.dat.damaged-<date>, or -2, -3... after it when that is taken.
std::string SetAsideName(int attempt) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  char date[16] = "unknown";
  if (::localtime_r(&now, &local) != nullptr) std::strftime(date, sizeof date, "%Y-%m-%d", &local);
  std::string name = std::string(kFavouritesFileName) + ".damaged-" + date;
  if (attempt > 1) {
    name += '-';
    name += std::to_string(attempt);
  }
  return name;
}

// Keeps what the favourites name stands for, byte for byte, under a name
// of its own: a second name (the file, or the link itself, untouched) that
// the rewrite leaves behind, or where the file system has no hard links, a
// rename that never replaces a file.
FavouritesResult KeepAside(const std::filesystem::path& folder, const std::filesystem::path& file,
                           std::string& keptAs) {
  for (int attempt = 1; attempt <= 100; ++attempt) {
    const std::string name = SetAsideName(attempt);
    const std::filesystem::path aside = folder / name;
    if (::linkat(AT_FDCWD, file.c_str(), AT_FDCWD, aside.c_str(), 0) == 0) {
      keptAs = name;
      return FavouritesResult::Done;
    }
    if (errno == EEXIST) continue;
    if (errno != EPERM && errno != EOPNOTSUPP && errno != EMLINK) return FromErrno(errno);
    if (::renameat2(AT_FDCWD, file.c_str(), AT_FDCWD, aside.c_str(), RENAME_NOREPLACE) == 0) {
      keptAs = name;
      return FavouritesResult::Done;
    }
    if (errno == EEXIST) continue;
    return FromErrno(errno);
  }
  return FavouritesResult::Failed;
}

// The records a rewrite starts from: all of a sound file, those that read
// as records of a foreign one.
std::vector<EnglishBytes> Keepers(const Stored& stored) {
  if (stored.shape != FavouritesShape::Foreign) return stored.records;
  std::vector<EnglishBytes> keep;
  std::copy_if(stored.records.begin(), stored.records.end(), std::back_inserter(keep), ReadsAsFavourite);
  return keep;
}

}  // namespace

FavouritesFile::FavouritesFile(std::filesystem::path folder) : folder_(std::move(folder)) {}

bool FavouritesFile::Usable() const {
  const std::filesystem::path path = FilePath();
  int fd = ::open(path.c_str(), kOpenFlags | O_RDONLY);
  struct stat entry {};
  // Made empty when missing and the folder allows, never through a link.
  if (fd < 0 && errno == ENOENT && ::lstat(path.c_str(), &entry) != 0) {
    fd = ::open(path.c_str(), kOpenFlags | O_RDONLY | O_CREAT | O_EXCL, 0644);
    if (fd < 0 && errno == EEXIST) fd = ::open(path.c_str(), kOpenFlags | O_RDONLY);
  }
  if (fd < 0) return false;
  struct stat st {};
  const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  ::close(fd);
  return regular;
}

FavouritesResult FavouritesFile::Read(std::vector<EnglishBytes>& records) const {
  records.clear();
  Descriptor fd(::open(FilePath().c_str(), kOpenFlags | O_RDONLY));
  if (fd.Get() < 0) return errno == ENOENT ? FavouritesResult::Done : FavouritesResult::Failed;
  Stored stored;
  if (!Load(fd.Get(), stored)) return FavouritesResult::Failed;
  records = std::move(stored.records);
  return FavouritesResult::Done;
}

FavouritesResult FavouritesFile::Add(const EnglishBytes& record) {
  setAside_.clear();
  Descriptor fd;
  bool isLink = false;
  if (const FavouritesResult r = LockFile(FilePath(), lockTimeout_, fd, isLink); r != FavouritesResult::Done) return r;
  Stored stored;
  if (!Load(fd.Get(), stored)) return FromErrno(errno);
  // A link's target is never cut, not even by a torn record's few bytes.
  if (isLink && stored.shape == FavouritesShape::TornTail) stored.shape = FavouritesShape::Foreign;
  std::vector<EnglishBytes> keep = Keepers(stored);

  const std::u16string text = DecodeEnglishRecord(record).text;
  // An empty text counts as stored, as it always has.
  if (text.empty() ||
      std::any_of(keep.begin(), keep.end(), [&](const EnglishBytes& r) { return DecodeEnglishRecord(r).text == text; }))
    return FavouritesResult::Duplicate;

  if (stored.shape == FavouritesShape::Foreign) {
    if (const FavouritesResult r = KeepAside(folder_, FilePath(), setAside_); r != FavouritesResult::Done) return r;
    keep.push_back(record);
    return Replace(folder_, FilePath(), keep, stored.mode);
  }
  // A torn last record is ignored by every reader; appending after it would
  // shift the new record off the 124-byte grid, so it goes.
  const auto whole = static_cast<off_t>(stored.records.size() * kEnglishRecordSize);
  if (stored.size != whole && ::ftruncate(fd.Get(), whole) != 0) return FromErrno(errno);
  if (!WriteAll(fd.Get(), record.data(), record.size(), whole) || ::fsync(fd.Get()) != 0) {
    const int error = errno;
    // A full disk may take part of the record: the file goes back to its
    // whole records.
    if (::ftruncate(fd.Get(), whole) == 0) ::fsync(fd.Get());
    return FromErrno(error);
  }
  return FavouritesResult::Done;
}

FavouritesResult FavouritesFile::Remove(std::u16string_view lineText, std::size_t& count) {
  count = 0;
  setAside_.clear();
  Descriptor fd;
  bool isLink = false;
  if (const FavouritesResult r = LockFile(FilePath(), lockTimeout_, fd, isLink); r != FavouritesResult::Done) return r;
  Stored stored;
  if (!Load(fd.Get(), stored)) return FromErrno(errno);
  count = stored.records.size();

  const auto match = std::find_if(stored.records.begin(), stored.records.end(),
                                  [&](const EnglishBytes& r) { return FavouriteLineText(r) == lineText; });
  if (match == stored.records.end()) return FavouritesResult::NotStored;
  stored.records.erase(match);
  if (stored.shape == FavouritesShape::Foreign) {
    if (const FavouritesResult r = KeepAside(folder_, FilePath(), setAside_); r != FavouritesResult::Done) return r;
  }
  return Replace(folder_, FilePath(), Keepers(stored), stored.mode);
}

std::u16string FavouriteLineText(const EnglishBytes& record) {
  if (!WellFormedEnglish(record)) return {};
  std::u16string text = DecodeEnglishRecord(record).text;
  if (text.size() > kMaxLineUnits) text.resize(kMaxLineUnits);
  return text;
}

}  // namespace lexoria
