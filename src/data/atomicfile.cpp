// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/atomicfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace lexoria {

void SyncFolder(const std::filesystem::path& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
}

int WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
  const std::filesystem::path folder = path.parent_path();
  std::string name = path.filename().string();
  name.insert(0, 1, '.');
  name.append(".XXXXXX");
  std::string temp = (folder / name).string();
  const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) return errno;
  // mkostemp makes it 0600; the file it replaces is an ordinary one.
  ::fchmod(fd, 0644);
  int error = 0;
  for (std::size_t done = 0; done < bytes.size() && error == 0;) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0)
      error = n == 0 ? ENOSPC : errno;
    else
      done += static_cast<std::size_t>(n);
  }
  if (error == 0 && ::fsync(fd) != 0) error = errno;
  // close() reports late write errors (NFS): they count.
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error == 0 && std::rename(temp.c_str(), path.c_str()) != 0) error = errno;
  if (error != 0) {
    ::unlink(temp.c_str());
    return error;
  }
  SyncFolder(folder);
  return 0;
}

}  // namespace lexoria
