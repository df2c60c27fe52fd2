// Device records and boxes that are not what they claim: FIFOs and files among the records,
// records naming files and other people's terminals, a box killed with its record left behind,
// a box that stops answering or dies in the middle of a firmware update.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>

#include <future>

#include "link/firmware_image.h"
#include "link_test_support.h"

namespace edumac8 {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

const std::string kBoxIds = std::string("USB\\VID_1A86&PID_FE0C&REV_6611") + '\0';

void WriteRecord(const std::string& path, const std::string& device, long pid = 0) {
  WriteBytes(path, FormatDeviceRecord({kBoxIds, "USB-SERIAL CH340 (COM5)", device, pid}));
}

// A process id that no process has any longer.
pid_t DeadPid() {
  const pid_t pid = fork();
  if (pid == 0) _exit(0);
  waitpid(pid, nullptr, 0);
  return pid;
}

// A terminal in use by someone else: a pseudo-terminal in its default (cooked) mode.
class Terminal {
 public:
  Terminal() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) return;
    path_ = ptsname(master_);
    slave_ = open(path_.c_str(), O_RDWR | O_NOCTTY);
    fcntl(master_, F_SETFL, O_NONBLOCK);
  }
  ~Terminal() {
    if (slave_ >= 0) close(slave_);
    if (master_ >= 0) close(master_);
  }
  Terminal(const Terminal&) = delete;
  Terminal& operator=(const Terminal&) = delete;

  const std::string& Path() const { return path_; }
  std::array<tcflag_t, 4> Mode() const {
    termios t{};
    tcgetattr(slave_, &t);
    return {t.c_iflag, t.c_oflag, t.c_cflag, t.c_lflag};
  }
  // What was written into the terminal, as its user would see it.
  std::string Received() const {
    std::string bytes;
    pollfd p{master_, POLLIN, 0};
    char chunk[256];
    while (poll(&p, 1, 100) > 0 && (p.revents & POLLIN)) {
      const ssize_t n = read(master_, chunk, sizeof chunk);
      if (n <= 0) break;
      bytes.append(chunk, static_cast<std::size_t>(n));
    }
    return bytes;
  }

 private:
  int master_ = -1;
  int slave_ = -1;
  std::string path_;
};

TEST(HostileDevices, DiscoveryReadsOnlySmallRegularRecords) {
  TempDir dir;
  const std::string devices = dir / "devices";
  fs::create_directories(devices);
  WriteRecord(devices + "/a.dev", "/dev/pts/1");
  ASSERT_EQ(mkfifo((devices + "/b.dev").c_str(), 0600), 0);
  WriteRecord(dir / "elsewhere.txt", "/dev/pts/2");
  fs::create_symlink(dir / "elsewhere.txt", devices + "/c.dev");
  fs::create_directory(devices + "/d.dev");
  {
    std::ofstream(devices + "/e.dev");
    fs::resize_file(devices + "/e.dev", 1u << 30);  // sparse
  }
  auto listed = std::async(std::launch::async, [&] { return PublishedDevices(devices); });
  if (listed.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
    std::ofstream(devices + "/b.dev").close();  // lets the blocked reader go
    listed.wait();
    FAIL() << "discovery waited on a FIFO";
  }
  const std::vector<DeviceRecord> found = listed.get();
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].devicePath, "/dev/pts/1");
}

TEST(HostileDevices, RecordsNameTheirOwnerByProcessId) {
  DeviceRecord parsed;
  ASSERT_TRUE(
      ParseDeviceRecord(FormatDeviceRecord({kBoxIds, "B (COM3)", "/dev/pts/4", 4242}), parsed));
  EXPECT_EQ(parsed.ownerPid, 4242);
  const std::string base = FormatDeviceRecord({kBoxIds, "B (COM3)", "/dev/pts/4", 0});
  EXPECT_TRUE(ParseDeviceRecord(base, parsed));
  EXPECT_EQ(parsed.ownerPid, 0);
  for (const char* pid : {"", "0", "-1", "+5", "12a", " 7", "99999999", "4194305"})
    EXPECT_FALSE(ParseDeviceRecord(base + "Pid=" + pid + "\n", parsed)) << pid;
}

TEST(HostileDevices, AStaleRecordIsSkippedAndOnlyTheOwnersIsRemoved) {
  TempDir dir;
  const std::string devices = dir / "devices";
  fs::create_directories(devices);
  WriteRecord(devices + "/live.dev", "/dev/pts/1", getpid());
  WriteRecord(devices + "/plain.dev", "/dev/pts/2");
  WriteRecord(devices + "/stale.dev", "/dev/pts/3", DeadPid());
  WriteRecord(devices + "/foreign.dev", "/dev/pts/4", DeadPid());
  const bool superuser = geteuid() == 0;
  if (superuser) {
    ASSERT_EQ(chown((devices + "/foreign.dev").c_str(), 65534, 65534), 0);
  }
  const std::vector<DeviceRecord> found = PublishedDevices(devices);
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0].devicePath, "/dev/pts/1");
  EXPECT_EQ(found[1].devicePath, "/dev/pts/2");
  EXPECT_FALSE(fs::exists(devices + "/stale.dev"));
  if (superuser) {
    EXPECT_TRUE(fs::exists(devices + "/foreign.dev")) << "another user's record";
  }
}

TEST(HostileDevices, TheLinkOpensNothingButTerminals) {
  TempDir outside;
  const std::string file = outside / "precious.txt";
  const std::string fifo = outside / "fifo";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const int fifoReader = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  for (const std::string& target : {file, fifo, std::string("/dev/null"), outside / ""}) {
    SCOPED_TRACE(target);
    WriteBytes(file, "precious bytes");
    LinkRig rig;
    WriteRecord(rig.Devices() + "/box.dev", target);
    rig.link.Tick();
    EXPECT_EQ(rig.link.StatusText(), kNotConnectedText);
    EXPECT_TRUE(rig.Simulation());
    EXPECT_EQ(ReadBytes(file), "precious bytes");
    char byte;
    EXPECT_LE(read(fifoReader, &byte, 1), 0) << "a request frame went into the FIFO";
  }
  close(fifoReader);
}

TEST(HostileDevices, APortNumberIsNoPath) {
  TempDir dir;
  WriteBytes(dir / "COM7", "precious bytes");
  const fs::path before = fs::current_path();
  fs::current_path(dir.path);
  LinkRig rig;
  rig.link.OpenPort(7);  // never found by discovery
  rig.link.Transact(CMD_INFO, 0);
  fs::current_path(before);
  EXPECT_TRUE(rig.link.LinkFailedFlag());
  EXPECT_EQ(ReadBytes(dir / "COM7"), "precious bytes");
}

TEST(HostileDevices, AStaleRecordNeverReachesTheTerminalThatTookItsNumber) {
  LinkRig rig;
  Terminal terminal;
  ASSERT_FALSE(terminal.Path().empty());
  const std::string record = rig.Devices() + "/edumac8-box.dev";
  WriteRecord(record, terminal.Path(), DeadPid());
  const auto mode = terminal.Mode();
  rig.link.Tick();
  EXPECT_EQ(rig.link.StatusText(), kNotConnectedText);
  EXPECT_EQ(terminal.Mode(), mode) << "the terminal was put into raw mode";
  EXPECT_EQ(terminal.Received(), "");
  EXPECT_FALSE(fs::exists(record));
}

TEST(HostileDevices, ABoxKilledOutrightLeavesNothingTheLinkWouldUse) {
  LinkRig rig;
  auto box = rig.StartBox();
  ASSERT_TRUE(box);
  DeviceRecord published;
  ASSERT_TRUE(ParseDeviceRecord(ReadBytes(box->RecordPath()), published));
  box->Signal(SIGKILL);
  ASSERT_TRUE(fs::exists(box->RecordPath())) << "a killed box cannot remove its record";
  // A new terminal (a tab of a terminal program) takes the freed pseudo-terminal number.
  std::vector<std::unique_ptr<Terminal>> terminals;
  const Terminal* reused = nullptr;
  for (int i = 0; i < 64 && !reused; ++i) {
    terminals.push_back(std::make_unique<Terminal>());
    if (terminals.back()->Path() == published.devicePath) reused = terminals.back().get();
  }
  if (!reused) GTEST_SKIP() << "the system did not hand out " << published.devicePath << " again";
  const auto mode = reused->Mode();
  rig.link.Tick();
  EXPECT_EQ(rig.link.StatusText(), kNotConnectedText);
  EXPECT_EQ(reused->Mode(), mode);
  EXPECT_EQ(reused->Received(), "");
  EXPECT_FALSE(fs::exists(box->RecordPath()));
}

TEST(HostileDevices, TheBoxRemovesItsRecordWhenItIsStopped) {
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    SCOPED_TRACE(signal);
    TempDir dir;
    fs::create_directories(dir / "devices");
    BoxProcess box(dir / "devices", dir / "box.log", {});
    ASSERT_TRUE(box.Plugged());
    DeviceRecord published;
    ASSERT_TRUE(ParseDeviceRecord(ReadBytes(box.RecordPath()), published));
    EXPECT_GT(published.ownerPid, 0);
    const int status = box.Signal(signal);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_FALSE(fs::exists(box.RecordPath()));
  }
}

// The firmware update with the real restart wait, against a box running its boot loader.
struct RealTimingUpdate {
  TempDir dir;
  TestHost host;
  Workbench wb;
  BoxLink& link;
  explicit RealTimingUpdate(bool background)
      : wb(host, std::make_unique<BoxLink>(Options(dir, background))),
        link(static_cast<BoxLink&>(*wb.box)) {
    link.Attach(wb.control);
    WriteBytes(dir / "FIRMWARE/BOXCTRL.BIN", RandomBytes(kControllerImageBytes, 7));
    WriteBytes(dir / "FIRMWARE/BOXCFG.BIN", ConfigImage(5, 2, 9));
  }
  static LinkOptions Options(const TempDir& dir, bool background) {
    LinkOptions options = TestLinkOptions(dir, background);
    options.timing = LinkTiming{};
    return options;
  }
  std::unique_ptr<BoxProcess> StartBox(std::vector<std::string> faults) {
    std::vector<std::string> options = {"--run-state", "0", "--version", "0"};
    options.insert(options.end(), faults.begin(), faults.end());
    auto box = std::make_unique<BoxProcess>(dir / "devices", dir / "box.log", options);
    return box->Plugged() ? std::move(box) : nullptr;
  }
};

TEST(HostileDevices, AnUpdateEndsAtTheFirstExchangeTheBoxLeavesUnanswered) {
  RealTimingUpdate rig(false);
  auto box = rig.StartBox({"--stop-after", "6"});
  ASSERT_TRUE(box);
  const auto start = Clock::now();
  rig.link.Tick();
  const auto took = Clock::now() - start;
  EXPECT_EQ(rig.link.StatusText(), kNotConnectedText);
  EXPECT_EQ(box->Log().size(), 7u) << "nothing is sent after the unanswered seventh request";
  EXPECT_LT(took, std::chrono::seconds(3)) << "one time limit, no restart waits";
}

TEST(HostileDevices, ABoxKilledDuringAnUpdateEndsTheAttemptAtOnce) {
  RealTimingUpdate rig(true);
  auto box = rig.StartBox({"--slow-at", "6", "--slow-ms", "20000"});
  ASSERT_TRUE(box);
  const std::string record = box->RecordPath();
  rig.link.Tick();
  for (auto end = Clock::now() + std::chrono::seconds(5);
       box->Log().size() < 6 && Clock::now() < end;)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  ASSERT_EQ(box->Log().size(), 6u);
  box->Signal(SIGKILL);
  const auto killed = Clock::now();
  rig.link.WaitForAttempt();
  EXPECT_LT(Clock::now() - killed, std::chrono::seconds(2));
  EXPECT_EQ(rig.link.StatusText(), kNotConnectedText);
  EXPECT_TRUE(rig.wb.control.Simulation);
  rig.link.Tick();  // the next attempt finds only the dead box's record, and removes it
  rig.link.WaitForAttempt();
  EXPECT_EQ(rig.link.StatusText(), kNotConnectedText);
  EXPECT_FALSE(fs::exists(record));
}

}  // namespace
}  // namespace edumac8
