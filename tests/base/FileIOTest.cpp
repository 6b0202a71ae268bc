// Tests of the bounded file reader and the atomic file writer.
#include "base/FileIO.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <tuple>

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

TEST_F(FileIOTest, ReaderStopsAtTheRealEndAndOpenFaultsCarryTheCode) {
  WriteAll(dir.File("a.bin"), Bytes(10));
  FileReader r;
  ASSERT_TRUE(r.Open(dir.File("a.bin")));
  uint8_t buf[16] = {};
  ASSERT_TRUE(r.Read(buf, 4));

  // Asking for more than is left reads nothing and says why.
  EXPECT_TRUE(!r.Read(buf, 7) && r.fault().message == "Unexpected end of file" && r.Pos() == 4);

  EXPECT_TRUE(r.Seek(10) && !r.Seek(11));
  ASSERT_TRUE(r.Seek(2));
  EXPECT_TRUE(!r.Skip(9) && r.Skip(8) && r.Pos() == 10);

  EXPECT_TRUE(!r.Open(dir.File("missing.bin")) && r.fault().code == ENOENT);
}

TEST_F(FileIOTest, CommitCreatesAndReplacesAlsoThroughALink) {
  std::string name = dir.File("out.bin");
  AtomicFileWriter w;
  w.Write("abc", 3);
  w.WriteValue(uint32_t(0x01020304));
  FileFault fault;
  ASSERT_TRUE(w.Commit(name, fault));
  EXPECT_EQ(ReadAll(name), (std::vector<uint8_t>{'a', 'b', 'c', 4, 3, 2, 1}));

  // Replacing a longer file leaves only the new content, with the old permission bits.
  WriteAll(name, Bytes(5000));
  ASSERT_EQ(chmod(name.c_str(), 0640), 0);
  ASSERT_TRUE(w.Commit(name, fault));
  EXPECT_EQ(ReadAll(name).size(), 7u);
  struct stat st;
  ASSERT_EQ(stat(name.c_str(), &st), 0);
  // No temporary file left.
  EXPECT_EQ(std::make_tuple(st.st_mode & 07777, FilesIn(dir.path())), std::make_tuple(0640u, 1));

  // Through a symbolic link: the target is replaced and the link stays.
  const std::string link = dir.File("link.bin");
  ASSERT_EQ(symlink(name.c_str(), link.c_str()), 0);
  w.Write("!", 1);
  ASSERT_TRUE(w.Commit(link, fault));
  EXPECT_TRUE(std::filesystem::is_symlink(link) && ReadAll(name).size() == 8u);
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
  EXPECT_EQ(std::make_tuple(fault.code, ReadAll(name), FilesIn(dir.path())),
            std::make_tuple(ENOSPC, old, 1));

  gFailWriteErrno = 0;
  EXPECT_TRUE(!w.Commit(dir.File("no/such/folder.bin"), fault) && fault.code == ENOENT);
}

TEST_F(FileIOTest, ReadOnlyFileOrFolderRefusesTheSave) {
  if (geteuid() == 0) GTEST_SKIP() << "permission checks do not apply to root";
  ASSERT_EQ(mkdir(dir.File("ro").c_str(), 0755), 0);
  WriteAll(dir.File("locked.bin"), Bytes(8));
  WriteAll(dir.File("ro/file.bin"), Bytes(8));
  ASSERT_EQ(chmod(dir.File("locked.bin").c_str(), 0444), 0);
  ASSERT_EQ(chmod(dir.File("ro").c_str(), 0555), 0);
  for (const char* name : {"locked.bin", "ro/file.bin"}) {
    AtomicFileWriter w;
    w.Write("new", 3);
    FileFault fault;
    EXPECT_FALSE(w.Commit(dir.File(name), fault)) << name;
    EXPECT_EQ(fault.code, EACCES) << name;
    EXPECT_EQ(ReadAll(dir.File(name)), Bytes(8)) << name;
  }
}

}  // namespace
}  // namespace kelvra
