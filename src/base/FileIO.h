// Checked binary file access: a reader that never reads past the real end of the file,
// and an atomic writer that replaces a file only when the whole new content is on disk.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kelvra {

// Why a file operation failed: an OS error code (errno) or a content message.
struct FileFault {
  int code = 0;         // errno, 0 when the fault is a content message
  std::string message;  // e.g. "Unexpected end of file"
  bool failed() const { return code != 0 || !message.empty(); }
  std::string Text() const;  // the message, else the system's text for the code
};

class FileReader {
 public:
  FileReader() = default;
  ~FileReader();
  FileReader(const FileReader&) = delete;
  FileReader& operator=(const FileReader&) = delete;

  bool Open(const std::string& path);  // false: fault() tells why
  void Close();
  int64_t Size() const { return size_; }
  int64_t Pos() const { return pos_; }
  int64_t Remaining() const { return size_ - pos_; }
  bool Seek(int64_t pos);          // 0..Size()
  bool Read(void* dst, size_t n);  // all n bytes or a fault; never past the end
  bool Skip(int64_t n);
  const FileFault& fault() const { return fault_; }

 private:
  int fd_ = -1;
  int64_t size_ = 0;
  int64_t pos_ = 0;
  FileFault fault_;
};

// Collects the new content in memory; Commit writes it to a temporary file in the same
// folder, flushes it and renames it over the target, keeping the old file's permissions.
class AtomicFileWriter {
 public:
  void Write(const void* src, size_t n);
  void Reserve(size_t n) { data_.reserve(n); }  // room for n bytes in all, to avoid regrowth
  template <typename T>
  void WriteValue(const T& v) {
    Write(&v, sizeof v);
  }
  size_t Size() const { return data_.size(); }
  const std::vector<uint8_t>& Data() const { return data_; }
  bool Commit(const std::string& path, FileFault& fault);

 private:
  std::vector<uint8_t> data_;
};

// Test seam: when set, Commit fails with this errno after writing half of the data to the
// temporary file (simulates a full disk). 0 disables it.
extern int gFailWriteErrno;

bool FileExists(const std::string& path);

}  // namespace kelvra
