// Reads that refuse what is not a plain bounded file, and saves that keep links, permissions
// and old contents.
#include "platform/file_io.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <thread>

namespace edumac8 {
namespace {

namespace fs = std::filesystem;

struct FileIoTest : ::testing::Test {
  fs::path dir;
  void SetUp() override {
    std::string templ = (fs::temp_directory_path() / "edumac8-fileio-XXXXXX").string();
    dir = mkdtemp(templ.data());
  }
  void TearDown() override {
    fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(dir);
  }
  std::string Path(const std::string& name) const { return (dir / name).string(); }
  void Put(const std::string& name, const std::string& bytes) const {
    std::ofstream(Path(name), std::ios::binary) << bytes;
  }
  std::string Get(const std::string& name) const {
    std::ifstream in(Path(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  mode_t ModeOf(const std::string& name) const {
    struct stat st {};
    lstat(Path(name).c_str(), &st);
    return st.st_mode;
  }
  // Temporary files a save left behind anywhere below the directory.
  std::vector<std::string> Leftovers() const {
    std::vector<std::string> found;
    for (const auto& e : fs::recursive_directory_iterator(dir))
      if (e.path().filename().string().rfind(".edumac8-", 0) == 0) found.push_back(e.path());
    return found;
  }
};

mode_t CurrentUmask() {
  const mode_t mask = umask(0);
  umask(mask);
  return mask;
}

// Runs `body` in a child process and returns its wait status.
template <typename Body>
int InChild(Body body) {
  const pid_t pid = fork();
  if (pid == 0) _exit(body());
  int status = 0;
  waitpid(pid, &status, 0);
  return status;
}

TEST_F(FileIoTest, ReadsOnlyRegularFilesWithinTheBound) {
  Put("small", "abc");
  fs::create_directory(Path("dir"));
  fs::create_symlink("/dev/zero", Path("zero"));
  fs::create_symlink(Path("small"), Path("link"));
  {
    std::ofstream(Path("huge"));
    fs::resize_file(Path("huge"), kMaxInputFileBytes + 1);  // sparse: no disk space taken
  }
  struct Case {
    const char* name;
    std::size_t limit;
    Links links;
    std::optional<std::string> expected;
  };
  const Case cases[] = {
      {"small", kMaxInputFileBytes, Links::Follow, "abc"},
      {"small", 3, Links::Follow, "abc"},
      {"small", 2, Links::Follow, std::nullopt},
      {"link", kMaxInputFileBytes, Links::Follow, "abc"},
      {"link", kMaxInputFileBytes, Links::Refuse, std::nullopt},
      {"dir", kMaxInputFileBytes, Links::Follow, std::nullopt},
      {"zero", kMaxInputFileBytes, Links::Follow, std::nullopt},
      {"huge", kMaxInputFileBytes, Links::Follow, std::nullopt},
      {"missing", kMaxInputFileBytes, Links::Follow, std::nullopt},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ReadWholeFile(Path(c.name), c.limit, c.links), c.expected)
        << c.name << " limit " << c.limit;
  EXPECT_EQ(RegularFileSize(Path("small")), 3u);
  EXPECT_EQ(RegularFileSize(Path("dir")), std::nullopt);
  EXPECT_EQ(RegularFileSize(Path("zero")), std::nullopt);
}

TEST_F(FileIoTest, AFifoIsRefusedWithoutWaitingForAWriter) {
  ASSERT_EQ(mkfifo(Path("fifo").c_str(), 0600), 0);
  auto read = std::async(std::launch::async, [&] { return ReadWholeFile(Path("fifo")); });
  if (read.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
    // Let the blocked reader go, so the test ends with a failure instead of hanging.
    std::ofstream writer(Path("fifo"));
    writer.close();
    read.wait();
    FAIL() << "reading a FIFO waited for a writer";
  }
  EXPECT_EQ(read.get(), std::nullopt);
}

TEST_F(FileIoTest, AllocationFailureIsAReadError) {
  {
    std::ofstream(Path("big"));
    fs::resize_file(Path("big"), 512u << 20);
  }
  const int status = InChild([&] {
    rlimit limit{};
    getrlimit(RLIMIT_AS, &limit);
    long pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    limit.rlim_cur = static_cast<rlim_t>(pages) * sysconf(_SC_PAGESIZE) + (64u << 20);
    setrlimit(RLIMIT_AS, &limit);
    return ReadWholeFile(Path("big"), 1u << 30) ? 1 : 0;
  });
  ASSERT_TRUE(WIFEXITED(status)) << "killed by signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST_F(FileIoTest, SaveThroughASymbolicLinkReplacesItsTarget) {
  fs::create_directory(Path("real"));
  Put("real/doc.asm", "old");
  fs::create_symlink("real/doc.asm", Path("doc.asm"));       // relative
  fs::create_symlink(Path("doc.asm"), Path("chain.asm"));    // a link to the link
  fs::create_symlink("real/new.asm", Path("dangling.asm"));  // names a file yet to come
  ASSERT_TRUE(WriteFileAtomic(Path("chain.asm"), "new"));
  EXPECT_TRUE(fs::is_symlink(Path("doc.asm")));
  EXPECT_TRUE(fs::is_symlink(Path("chain.asm")));
  EXPECT_EQ(Get("real/doc.asm"), "new");
  ASSERT_TRUE(WriteFileAtomic(Path("dangling.asm"), "created"));
  EXPECT_TRUE(fs::is_symlink(Path("dangling.asm")));
  EXPECT_EQ(Get("real/new.asm"), "created");
  fs::create_symlink("loop2", Path("loop1"));
  fs::create_symlink("loop1", Path("loop2"));
  EXPECT_FALSE(WriteFileAtomic(Path("loop1"), "x"));
  EXPECT_TRUE(Leftovers().empty());
}

TEST_F(FileIoTest, SaveKeepsThePermissionsAndRefusesReadOnlyFiles) {
  struct Case {
    mode_t before;
    bool saved;
  };
  for (const Case& c : {Case{0600, true}, Case{0640, true}, Case{0755, true}, Case{0444, false},
                        Case{0400, false}}) {
    SCOPED_TRACE(c.before);
    Put("f", "old");
    chmod(Path("f").c_str(), c.before);
    EXPECT_EQ(WriteFileAtomic(Path("f"), "new"), c.saved);
    EXPECT_EQ(Get("f"), c.saved ? "new" : "old");
    EXPECT_EQ(ModeOf("f") & 07777, c.before);
    chmod(Path("f").c_str(), 0600);
    fs::remove(Path("f"));
  }
  ASSERT_TRUE(WriteFileAtomic(Path("fresh"), "x"));
  EXPECT_EQ(ModeOf("fresh") & 07777, 0666 & ~CurrentUmask());
  EXPECT_TRUE(Leftovers().empty());
}

TEST_F(FileIoTest, ABackupFollowsTheRulesOfASaveAndKeepsAPrivateTextPrivate) {
  Put("private.asm", "secret");
  chmod(Path("private.asm").c_str(), 0600);
  ASSERT_TRUE(WriteBackup(Path("private.asm"), Path("private.bak")));
  EXPECT_EQ(Get("private.bak"), "secret");
  EXPECT_EQ(ModeOf("private.bak") & 07777, 0600u);

  Put("shared.asm", "v2");
  chmod(Path("shared.asm").c_str(), 0600);
  fs::create_directory(Path("real"));
  Put("real/shared.bak", "v1");
  chmod(Path("real/shared.bak").c_str(), 0640);
  fs::create_symlink("real/shared.bak", Path("shared.bak"));
  ASSERT_TRUE(WriteBackup(Path("shared.asm"), Path("shared.bak")));
  EXPECT_TRUE(fs::is_symlink(Path("shared.bak")));
  EXPECT_EQ(Get("real/shared.bak"), "v2");
  EXPECT_EQ(ModeOf("real/shared.bak") & 07777, 0640u) << "an existing backup keeps its own";

  chmod(Path("real/shared.bak").c_str(), 0444);
  Put("shared.asm", "v3");
  EXPECT_FALSE(WriteBackup(Path("shared.asm"), Path("shared.bak")));
  EXPECT_EQ(Get("real/shared.bak"), "v2");
  EXPECT_FALSE(WriteBackup(Path("missing.asm"), Path("missing.bak")));
  EXPECT_FALSE(fs::exists(Path("missing.bak")));
  EXPECT_TRUE(Leftovers().empty());
}

TEST_F(FileIoTest, SavesThatCannotSucceedLeaveEverythingAsItWas) {
  fs::create_directory(Path("X.BIN"));
  EXPECT_FALSE(WriteFileAtomic(Path("X.BIN"), "image")) << "a directory of that name";
  EXPECT_TRUE(fs::is_directory(Path("X.BIN")));
  EXPECT_FALSE(WriteFileAtomic("", "x"));
  fs::create_directory(Path("ro"));
  Put("ro/f", "old");
  fs::permissions(Path("ro"), fs::perms::owner_read | fs::perms::owner_exec);
  if (access(Path("ro").c_str(), W_OK) != 0) {  // the superuser writes anywhere
    EXPECT_FALSE(WriteFileAtomic(Path("ro/f"), "new"));
    EXPECT_EQ(Get("ro/f"), "old");
  }
  fs::permissions(Path("ro"), fs::perms::owner_all);
  EXPECT_TRUE(Leftovers().empty());
}

TEST_F(FileIoTest, AnyNameTheFileSystemTakesCanBeSaved) {
  const std::string longest(255, 'N');  // NAME_MAX: no room for a suffix on the name
  ASSERT_TRUE(WriteFileAtomic(Path(longest), "x"));
  EXPECT_EQ(Get(longest), "x");
  ASSERT_TRUE(WriteFileAtomic(Path(longest), "y"));
  EXPECT_EQ(Get(longest), "y");
}

TEST_F(FileIoTest, AFileSizeLimitFailsTheSaveInsteadOfKillingTheProgram) {
  Put("f", "old");
  const int status = InChild([&] {
    IgnoreFileSizeSignal();
    rlimit limit{1000, 1000};
    setrlimit(RLIMIT_FSIZE, &limit);
    return WriteFileAtomic(Path("f"), std::string(5000, 'x')) ? 1 : 0;
  });
  ASSERT_TRUE(WIFEXITED(status)) << "killed by signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(Get("f"), "old");
  EXPECT_TRUE(Leftovers().empty());
}

TEST_F(FileIoTest, ASetOfFilesIsReplacedWhole) {
  Put("a", "old a");
  Put("b", "old b");
  fs::create_directory(Path("c"));  // the third cannot be written
  const auto failed =
      WriteFilesAtomic({{Path("a"), "new a"}, {Path("b"), "new b"}, {Path("c"), "c"}});
  EXPECT_EQ(failed, Path("c"));
  EXPECT_EQ(Get("a"), "old a");
  EXPECT_EQ(Get("b"), "old b");
  EXPECT_TRUE(Leftovers().empty());
  EXPECT_EQ(WriteFilesAtomic({{Path("a"), "new a"}, {Path("b"), "new b"}}), std::nullopt);
  EXPECT_EQ(Get("a"), "new a");
  EXPECT_EQ(Get("b"), "new b");
}

TEST_F(FileIoTest, SameFileSeesThroughLinks) {
  Put("x.asm", "x");
  Put("other", "o");
  fs::create_hard_link(Path("x.asm"), Path("hard"));
  fs::create_symlink(Path("x.asm"), Path("soft"));
  EXPECT_TRUE(SameFile(Path("x.asm"), Path("x.asm")));
  EXPECT_TRUE(SameFile(Path("x.asm"), Path("hard")));
  EXPECT_TRUE(SameFile(Path("soft"), Path("x.asm")));
  EXPECT_FALSE(SameFile(Path("x.asm"), Path("other")));
  EXPECT_FALSE(SameFile(Path("x.asm"), Path("missing")));
}

}  // namespace
}  // namespace edumac8
