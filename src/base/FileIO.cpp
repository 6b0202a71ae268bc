// Checked binary file access: positional reads bounded by the file's real size, and the
// atomic writer that builds the new file beside the old one and renames it into place.
#include "base/FileIO.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace kelvra {

std::string FileFault::Text() const {
  return message.empty() ? std::string(std::strerror(code)) : message;
}

int gFailWriteErrno = 0;

namespace {
const char* const kUnexpectedEnd = "Unexpected end of file";
}

FileReader::~FileReader() {
  Close();
}

bool FileReader::Open(const std::string& path) {
  Close();
  fault_ = FileFault{};
  // Non-blocking so that a FIFO named by mistake does not hang the open.
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    fault_.code = errno;
    return false;
  }
  struct stat st;
  if (::fstat(fd, &st) != 0) {
    fault_.code = errno;
    ::close(fd);
    return false;
  }
  if (!S_ISREG(st.st_mode)) {
    fault_.code = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
    ::close(fd);
    return false;
  }
  fd_ = fd;
  size_ = st.st_size;
  pos_ = 0;
  return true;
}

void FileReader::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  size_ = 0;
  pos_ = 0;
}

bool FileReader::Seek(int64_t pos) {
  if (fd_ < 0) {
    fault_.code = EBADF;
    return false;
  }
  if (pos < 0 || pos > size_) {
    fault_.message = kUnexpectedEnd;
    return false;
  }
  pos_ = pos;
  return true;
}

bool FileReader::Skip(int64_t n) {
  if (n < 0 || n > Remaining()) {
    fault_.message = kUnexpectedEnd;
    return false;
  }
  return Seek(pos_ + n);
}

bool FileReader::Read(void* dst, size_t n) {
  if (fd_ < 0) {
    fault_.code = EBADF;
    return false;
  }
  if (n > uint64_t(Remaining())) {
    fault_.message = kUnexpectedEnd;
    return false;
  }
  auto* out = static_cast<uint8_t*>(dst);
  size_t done = 0;
  while (done < n) {
    ssize_t got = ::pread(fd_, out + done, n - done, off_t(pos_ + int64_t(done)));
    if (got < 0) {
      if (errno == EINTR || errno == EAGAIN) continue;
      fault_.code = errno;
      return false;
    }
    if (got == 0) {  // the file shrank since it was opened
      fault_.message = kUnexpectedEnd;
      return false;
    }
    done += size_t(got);
  }
  pos_ += int64_t(n);
  return true;
}

void AtomicFileWriter::Write(const void* src, size_t n) {
  const auto* p = static_cast<const uint8_t*>(src);
  data_.insert(data_.end(), p, p + n);
}

namespace {

// Writes all of data; false with errno set.
bool WriteFully(int fd, const uint8_t* data, size_t n) {
  size_t done = 0;
  while (done < n) {
    ssize_t put = ::write(fd, data + done, n - done);
    if (put < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (put == 0) {
      errno = EIO;
      return false;
    }
    done += size_t(put);
  }
  return true;
}

std::string FolderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

}  // namespace

bool AtomicFileWriter::Commit(const std::string& path, FileFault& fault) {
  fault = FileFault{};
  // A symbolic link keeps pointing at the file it named: the new content replaces the
  // link's target, not the link.
  std::string target = path;
  struct stat linkSt;
  if (::lstat(path.c_str(), &linkSt) == 0 && S_ISLNK(linkSt.st_mode)) {
    if (char* real = ::realpath(path.c_str(), nullptr)) {
      target = real;
      std::free(real);
    }
  }

  struct stat oldSt;
  bool hadOld = ::stat(target.c_str(), &oldSt) == 0;
  if (hadOld && S_ISDIR(oldSt.st_mode)) {
    fault.code = EISDIR;
    return false;
  }
  // The rename would replace a write-protected file too; refuse as writing in place would.
  if (hadOld && ::access(target.c_str(), W_OK) != 0) {
    fault.code = errno;
    return false;
  }

  size_t slash = target.rfind('/');
  std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
  std::string temp = (slash == std::string::npos ? std::string() : target.substr(0, slash + 1)) +
                     "." + base + ".XXXXXX";
  int fd = ::mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) {
    fault.code = errno;
    return false;
  }

  auto fail = [&](int code) {
    if (fd >= 0) ::close(fd);
    ::unlink(temp.c_str());
    fault.code = code ? code : EIO;
    return false;
  };

  mode_t mode;
  if (hadOld) {
    mode = oldSt.st_mode & 07777;
    // Only root may give the file back its owner; others keep their own ownership.
    if (::geteuid() == 0) (void)::fchown(fd, oldSt.st_uid, oldSt.st_gid);
  } else {
    mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  if (::fchmod(fd, mode) != 0) return fail(errno);

  if (gFailWriteErrno != 0) {
    // Simulated full disk: part of the data reaches the temporary file, then the write fails.
    (void)WriteFully(fd, data_.data(), data_.size() / 2);
    return fail(gFailWriteErrno);
  }
  if (!WriteFully(fd, data_.data(), data_.size())) return fail(errno);
  if (::fsync(fd) != 0) return fail(errno);
  int closed = ::close(fd);
  fd = -1;
  if (closed != 0) return fail(errno);
  if (::rename(temp.c_str(), target.c_str()) != 0) return fail(errno);

  // Make the rename itself durable; a failure here does not undo a complete save.
  int dir = ::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    (void)::fsync(dir);
    ::close(dir);
  }
  return true;
}

bool FileExists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

}  // namespace kelvra
