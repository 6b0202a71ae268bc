// Tests of the bounded file reader and the atomic file writer.
#include "base/FileIO.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "TestUtil.h"

namespace kelvra {
namespace {

using test::ReadAll;
using test::TempDir;
using test::WriteAll;

std::vector<uint8_t> Bytes(size_t n, uint8_t first = 0) {
  std::vector<uint8_t> v(n);
  for (size_t i = 0; i < n; ++i) v[i] = uint8_t(first + i);
  return v;
}

int FilesIn(const std::string& dir) {
  int n = 0;
  for (const auto& e : std::filesystem::directory_iterator(dir)) n += e.is_regular_file() ? 1 : 0;
  return n;
}

class FileIOTest : public ::testing::Test {
 protected:
  void TearDown() override { gFailWriteErrno = 0; }
  TempDir dir;
};

TEST_F(FileIOTest, ReaderStopsAtTheRealEnd) {
  WriteAll(dir.File("a.bin"), Bytes(10));
  FileReader r;
  ASSERT_TRUE(r.Open(dir.File("a.bin")));
  EXPECT_EQ(r.Size(), 10);
  uint8_t buf[16] = {};
  ASSERT_TRUE(r.Read(buf, 4));
  EXPECT_EQ(buf[3], 3);
  EXPECT_EQ(r.Remaining(), 6);

  // Asking for more than is left reads nothing and says why.
  EXPECT_FALSE(r.Read(buf, 7));
  EXPECT_EQ(r.fault().code, 0);
  EXPECT_EQ(r.fault().message, "Unexpected end of file");
  EXPECT_EQ(r.Pos(), 4);

  EXPECT_TRUE(r.Seek(10));
  EXPECT_TRUE(r.Read(buf, 0));
  EXPECT_FALSE(r.Seek(11));
  EXPECT_FALSE(r.Seek(-1));
  ASSERT_TRUE(r.Seek(2));
  EXPECT_FALSE(r.Skip(9));
  EXPECT_TRUE(r.Skip(8));
  EXPECT_EQ(r.Pos(), 10);
}

TEST_F(FileIOTest, ReaderOpenFaultsCarryTheErrorCode) {
  FileReader r;
  EXPECT_FALSE(r.Open(dir.File("missing.bin")));
  EXPECT_EQ(r.fault().code, ENOENT);
  EXPECT_FALSE(r.Open(dir.path()));
  EXPECT_EQ(r.fault().code, EISDIR);
}

TEST_F(FileIOTest, CommitCreatesAndReplaces) {
  std::string name = dir.File("out.bin");
  AtomicFileWriter w;
  w.Write("abc", 3);
  w.WriteValue(uint32_t(0x01020304));
  FileFault fault;
  ASSERT_TRUE(w.Commit(name, fault));
  EXPECT_FALSE(fault.failed());
  EXPECT_EQ(ReadAll(name), (std::vector<uint8_t>{'a', 'b', 'c', 4, 3, 2, 1}));

  // Replacing a longer file leaves only the new content, with the old permission bits.
  WriteAll(name, Bytes(5000));
  ASSERT_EQ(chmod(name.c_str(), 0640), 0);
  ASSERT_TRUE(w.Commit(name, fault));
  EXPECT_EQ(ReadAll(name).size(), 7u);
  struct stat st;
  ASSERT_EQ(stat(name.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(FilesIn(dir.path()), 1);  // no temporary file left
}

TEST_F(FileIOTest, FailedCommitLeavesTheOldFileAlone) {
  std::string name = dir.File("keep.bin");
  std::vector<uint8_t> old = Bytes(300, 7);
  WriteAll(name, old);
  AtomicFileWriter w;
  std::vector<uint8_t> fresh = Bytes(1000);
  w.Write(fresh.data(), fresh.size());

  gFailWriteErrno = ENOSPC;
  FileFault fault;
  EXPECT_FALSE(w.Commit(name, fault));
  EXPECT_EQ(fault.code, ENOSPC);
  EXPECT_EQ(ReadAll(name), old);
  EXPECT_EQ(FilesIn(dir.path()), 1);

  gFailWriteErrno = 0;
  EXPECT_FALSE(w.Commit(dir.File("no/such/folder.bin"), fault));
  EXPECT_EQ(fault.code, ENOENT);
}

TEST_F(FileIOTest, CommitThroughASymbolicLinkReplacesItsTarget) {
  std::string target = dir.File("target.bin");
  std::string link = dir.File("link.bin");
  WriteAll(target, Bytes(50));
  ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
  AtomicFileWriter w;
  w.Write("xy", 2);
  FileFault fault;
  ASSERT_TRUE(w.Commit(link, fault));
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(ReadAll(target), (std::vector<uint8_t>{'x', 'y'}));
}

TEST_F(FileIOTest, ReadOnlyFileOrFolderRefusesTheSave) {
  if (geteuid() == 0) GTEST_SKIP() << "permission checks do not apply to root";
  std::string locked = dir.File("locked.bin");
  WriteAll(locked, Bytes(8));
  ASSERT_EQ(chmod(locked.c_str(), 0444), 0);
  AtomicFileWriter w0;
  w0.Write("new", 3);
  FileFault fault0;
  EXPECT_FALSE(w0.Commit(locked, fault0));
  EXPECT_EQ(fault0.code, EACCES);
  EXPECT_EQ(ReadAll(locked), Bytes(8));

  std::string sub = dir.File("ro");
  ASSERT_EQ(mkdir(sub.c_str(), 0755), 0);
  std::string name = sub + "/file.bin";
  WriteAll(name, Bytes(20));
  ASSERT_EQ(chmod(sub.c_str(), 0555), 0);
  AtomicFileWriter w;
  w.Write("new", 3);
  FileFault fault;
  EXPECT_FALSE(w.Commit(name, fault));
  EXPECT_EQ(fault.code, EACCES);
  EXPECT_EQ(ReadAll(name), Bytes(20));
}

}  // namespace
}  // namespace kelvra
