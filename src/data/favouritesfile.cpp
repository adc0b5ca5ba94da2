#include "data/favouritesfile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <thread>

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

// The whole records of an open file, from its start.
bool ReadRecords(int fd, std::vector<EnglishBytes>& records, off_t& size) {
  struct stat st {};
  if (::fstat(fd, &st) != 0) return false;
  size = st.st_size;
  const auto count = static_cast<std::size_t>(size) / kEnglishRecordSize;
  records.assign(count, EnglishBytes{});
  for (std::size_t i = 0; i < count; ++i) {
    std::size_t done = 0;
    while (done < kEnglishRecordSize) {
      const ssize_t n = ::pread(fd, records[i].data() + done, kEnglishRecordSize - done,
                                static_cast<off_t>(i * kEnglishRecordSize + done));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        // Shorter than fstat said: keep the whole records read so far.
        if (n == 0) {
          records.resize(i);
          return true;
        }
        return false;
      }
      done += static_cast<std::size_t>(n);
    }
  }
  return true;
}

// favorite.dat opened for update and locked. The lock counts only if it is
// on the file the name stands for: a copy that renamed temp.dat over it
// while this one waited left this one holding the old file.
FavouritesResult LockFile(const std::filesystem::path& path, std::chrono::milliseconds timeout, Descriptor& out) {
  const Clock::time_point deadline = Clock::now() + timeout;
  auto pause = std::chrono::milliseconds(1);
  for (;;) {
    Descriptor fd(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644));
    if (fd.Get() < 0) return FromErrno(errno);
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
    struct stat held {
    }, named{};
    if (::fstat(fd.Get(), &held) != 0) return FromErrno(errno);
    if (::stat(path.c_str(), &named) == 0 && named.st_dev == held.st_dev && named.st_ino == held.st_ino) {
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

}  // namespace

FavouritesFile::FavouritesFile(std::filesystem::path folder) : folder_(std::move(folder)) {}

bool FavouritesFile::Usable() const {
  const std::filesystem::path path = FilePath();
  int fd = ::open(path.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0644);
  // A read-only folder still lets an existing file be read.
  if (fd < 0 && errno != ENOENT) fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  ::close(fd);
  return regular;
}

FavouritesResult FavouritesFile::Read(std::vector<EnglishBytes>& records) const {
  records.clear();
  Descriptor fd(::open(FilePath().c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.Get() < 0) return errno == ENOENT ? FavouritesResult::Done : FavouritesResult::Failed;
  off_t size = 0;
  return ReadRecords(fd.Get(), records, size) ? FavouritesResult::Done : FavouritesResult::Failed;
}

FavouritesResult FavouritesFile::Add(const EnglishBytes& record) {
  Descriptor fd;
  if (const FavouritesResult r = LockFile(FilePath(), lockTimeout_, fd); r != FavouritesResult::Done) return r;
  std::vector<EnglishBytes> stored;
  off_t size = 0;
  if (!ReadRecords(fd.Get(), stored, size)) return FromErrno(errno);

  const std::u16string text = DecodeEnglishRecord(record).text;
  // An empty text counts as stored, as it always has.
  if (text.empty() || std::any_of(stored.begin(), stored.end(),
                                  [&](const EnglishBytes& r) { return DecodeEnglishRecord(r).text == text; }))
    return FavouritesResult::Duplicate;

  // A partial record at the end is ignored by every reader; appending after
  // it would shift the new record off the 124-byte grid, so it goes.
  const auto whole = static_cast<off_t>(stored.size() * kEnglishRecordSize);
  if (size != whole && ::ftruncate(fd.Get(), whole) != 0) return FromErrno(errno);
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
  Descriptor fd;
  if (const FavouritesResult r = LockFile(FilePath(), lockTimeout_, fd); r != FavouritesResult::Done) return r;
  std::vector<EnglishBytes> stored;
  off_t size = 0;
  if (!ReadRecords(fd.Get(), stored, size)) return FromErrno(errno);
  count = stored.size();

  const auto match = std::find_if(stored.begin(), stored.end(),
                                  [&](const EnglishBytes& r) { return FavouriteLineText(r) == lineText; });
  if (match == stored.end()) return FavouritesResult::NotStored;
  stored.erase(match);

  // temp.dat is complete and on disk before it replaces favorite.dat in one
  // step, so a failure at any point leaves favorite.dat as it was.
  const std::filesystem::path temp = folder_ / kFavouritesTempName;
  Descriptor out(::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
  if (out.Get() < 0) return FromErrno(errno);
  std::vector<unsigned char> bytes;
  bytes.reserve(stored.size() * kEnglishRecordSize);
  for (const EnglishBytes& r : stored) bytes.insert(bytes.end(), r.begin(), r.end());
  const bool written = WriteAll(out.Get(), bytes.data(), bytes.size(), 0) && ::fsync(out.Get()) == 0;
  const int writeError = errno;
  if (!written || out.Close() != 0) {
    const int error = written ? errno : writeError;
    std::error_code ignored;
    std::filesystem::remove(temp, ignored);
    return FromErrno(error);
  }
  if (std::rename(temp.c_str(), FilePath().c_str()) != 0) {
    const int error = errno;
    std::error_code ignored;
    std::filesystem::remove(temp, ignored);
    return FromErrno(error);
  }
  SyncFolder(folder_);
  return FavouritesResult::Done;
}

std::u16string FavouriteLineText(const EnglishBytes& record) {
  if (!WellFormedEnglish(record)) return {};
  std::u16string text = DecodeEnglishRecord(record).text;
  if (text.size() > kMaxLineUnits) text.resize(kMaxLineUnits);
  return text;
}

}  // namespace lexoria
