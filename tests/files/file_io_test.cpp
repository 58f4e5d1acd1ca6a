// The file module: what the reader refuses, and that a save in flight can always be undone.
#include "files/file_io.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "support/temp_dir.h"

namespace theolink {
namespace {

namespace fs = std::filesystem;

class FileIoTest : public ::testing::Test {
 protected:
  std::string Path(const char* name) const { return (dir_ / name).string(); }
  std::size_t Entries() const {
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir_)) ++n;
    return n;
  }

  // Other users reach its files, as in a folder made with the usual umask: one test plays
  // the refused writer as `nobody`.
  FileIoTest() { fs::permissions(dir_, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                           fs::perms::others_read | fs::perms::others_exec); }

  test::TempDir tmp_{"theolink_io"};
  fs::path dir_{tmp_.Path()};
};

TEST_F(FileIoTest, WholeFileReaderTakesRegularFilesOnly) {
  std::ofstream(Path("a.txt"), std::ios::binary) << "abc";
  ASSERT_EQ(::mkfifo(Path("fifo").c_str(), 0600), 0);
  std::string bytes = "x";
  EXPECT_TRUE(ReadWholeFile(Path("a.txt"), bytes).Ok());
  EXPECT_EQ(bytes, "abc");
  EXPECT_EQ(ReadWholeFile(Path("fifo"), bytes).Fault, FileFault::Fifo) << "refused without blocking";
  EXPECT_EQ(ReadWholeFile("/dev/zero", bytes).Fault, FileFault::Device);
  EXPECT_EQ(ReadWholeFile(dir_.string(), bytes).Fault, FileFault::Folder);
  EXPECT_EQ(ReadWholeFile(Path("a.txt"), bytes, 2).Fault, FileFault::TooLarge);
  const FileStatus missing = ReadWholeFile(Path("none"), bytes);
  EXPECT_EQ(FileStatusText("none", missing), "none: No such file or directory");
  EXPECT_TRUE(bytes.empty());
}

// What a signal handler does while a save writes: the temporary file goes, the old file stays.
// A folder that refuses new files but holds a writable target: the file is rewritten in
// place with a warning. A replaced file keeps its bits and, for root, its owner.
TEST_F(FileIoTest, AFolderThatTakesNoNewFileGetsItsWritableFileRewrittenInPlace) {
  const std::string target = Path("out.txt");
  std::ofstream(target) << "old";
  ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
  const bool root = ::geteuid() == 0;
  constexpr uid_t kNobody = 65534;
  int rewrote = -1;
  if (root) {
    // Root may create files anywhere: the refusal is played by another user.
    ASSERT_EQ(::chown(target.c_str(), kNobody, kNobody), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) ::_exit(2);
      const FileStatus status = WriteFileAtomically(target, "new");
      ::_exit(status.Ok() && status.InPlace ? 0 : 1);
    }
    int wstatus = 0;
    ASSERT_EQ(::waitpid(child, &wstatus, 0), child);
    rewrote = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
  } else {
    ASSERT_EQ(::chmod(dir_.c_str(), 0555), 0);
    const FileStatus status = WriteFileAtomically(target, "new");
    rewrote = status.Ok() && status.InPlace ? 0 : 1;
    ::chmod(dir_.c_str(), 0755);
  }
  EXPECT_EQ(rewrote, 0);
  std::ifstream in(target);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "new");
  EXPECT_EQ(Entries(), 1u);
  struct stat st {};
  ASSERT_EQ(::stat(target.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  if (!root) return;
  const FileStatus replaced = WriteFileAtomically(target, "newer");
  EXPECT_TRUE(replaced.Ok());
  EXPECT_FALSE(replaced.InPlace);
  ASSERT_EQ(::stat(target.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(st.st_uid, kNobody);
  EXPECT_EQ(st.st_gid, kNobody);
}

TEST_F(FileIoTest, SaveInFlightCanBeRemovedFromASignalHandler) {
  std::ofstream(Path("out.txt"), std::ios::binary) << "old";
  AtomicFileWriter writer(Path("out.txt"));
  ASSERT_TRUE(writer.Status().Ok());
  const std::string name = fs::path(writer.TemporaryPath()).filename().string();
  EXPECT_EQ(name.rfind(".out.txt.", 0), 0u) << name;
  EXPECT_EQ(name.substr(name.size() - 4), ".tmp") << name;
  writer.Write("new");
  RemoveTemporaryFilesInFlight();
  EXPECT_FALSE(writer.Commit().Ok());
  std::ifstream in(Path("out.txt"), std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "old");
  EXPECT_EQ(Entries(), 1u);
}

}  // namespace
}  // namespace theolink
