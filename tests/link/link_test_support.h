// Test support for the link: temporary directories, firmware images, the software box as a
// child process, and a workbench whose BoxLink looks for boxes only in a test directory.
#pragma once

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "link/box_link.h"
#include "workbench/workbench.h"

extern char** environ;

namespace edumac8 {

struct TempDir {
  std::filesystem::path path;
  TempDir() {
    std::string templ = (std::filesystem::temp_directory_path() / "edumac8-link-XXXXXX").string();
    path = mkdtemp(templ.data());
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
  }
  std::string operator/(const std::string& name) const { return (path / name).string(); }
};

inline std::string RandomBytes(std::size_t n, unsigned seed) {
  std::mt19937 random(seed);
  std::string bytes(n, '\0');
  for (char& c : bytes) c = static_cast<char>(random());
  return bytes;
}

// A configuration image of max(P, 1) pages with the "QUOR" header.
inline std::string ConfigImage(int pages, int sectors, unsigned seed) {
  std::string image = RandomBytes(256 * std::max(pages, 1), seed);
  image.replace(0, 4, "QUOR");
  image[8] = static_cast<char>(pages);
  image[9] = static_cast<char>(pages >> 8);
  image[10] = static_cast<char>(sectors);
  image[11] = static_cast<char>(sectors >> 8);
  return image;
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// The software box as a child process. Its log has one line per request: "CC NN PPPPPPPP".
class BoxProcess {
 public:
  BoxProcess(const std::string& devicesDir, const std::string& logPath,
             std::vector<std::string> options)
      : recordPath_(devicesDir + "/edumac8-box.dev"), logPath_(logPath) {
    std::vector<std::string> args = {EDUMAC8_BOX_PROGRAM, "--devices", devicesDir, "--log", logPath,
                                     "--restart-delay",   "50"};
    args.insert(args.end(), options.begin(), options.end());
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    if (posix_spawn(&pid_, argv[0], nullptr, nullptr, argv.data(), environ) != 0) pid_ = -1;
  }
  ~BoxProcess() { Unplug(); }

  // True once the box has published its device record.
  bool Plugged(std::chrono::milliseconds limit = std::chrono::seconds(5)) const {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
      if (std::filesystem::exists(recordPath_)) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
  }

  // Ends the box (it removes its record and saves its flash).
  void Unplug() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
  }

  // Sends `signal` and waits for the box to end; returns the wait status.
  int Signal(int signal) {
    int status = 0;
    if (pid_ <= 0) return status;
    kill(pid_, signal);
    waitpid(pid_, &status, 0);
    pid_ = -1;
    return status;
  }
  std::string RecordPath() const { return recordPath_; }

  std::vector<std::string> Log() const {
    std::vector<std::string> lines;
    std::ifstream in(logPath_);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
  // The command codes of the log, from line `from` on.
  std::vector<int> Commands(std::size_t from = 0) const {
    std::vector<int> codes;
    const std::vector<std::string> lines = Log();
    for (std::size_t i = from; i < lines.size(); ++i)
      codes.push_back(std::stoi(lines[i].substr(0, 2), nullptr, 16));
    return codes;
  }

 private:
  pid_t pid_ = -1;
  std::string recordPath_;
  std::string logPath_;
};

class TestHost : public Host {
 public:
  void RunLoopEnded() override {
    std::lock_guard lock(mutex_);
    ended_ = true;
    cv_.notify_all();
  }
  bool WaitRunEnded(std::chrono::milliseconds limit) {
    std::unique_lock lock(mutex_);
    const bool ended = cv_.wait_for(lock, limit, [this] { return ended_; });
    ended_ = false;
    return ended;
  }

 private:
  std::mutex mutex_;
  std::condition_variable cv_;
  bool ended_ = false;
};

// Short restart waits: the software box is back within 50 ms.
inline LinkOptions TestLinkOptions(const TempDir& dir, bool background = false) {
  LinkOptions options;
  options.timing.restartWait = std::chrono::milliseconds(250);
  options.timing.openRetryWait = std::chrono::milliseconds(50);
  options.timing.intPulseHold = std::chrono::milliseconds(5);
  options.firmwareDir = dir / "FIRMWARE/";
  const std::string devices = dir / "devices";
  std::filesystem::create_directories(devices);
  options.devices = [devices] { return PublishedDevices(devices); };
  options.backgroundAttempts = background;
  return options;
}

// A workbench with a BoxLink, a software box directory and a log.
struct LinkRig {
  TempDir dir;
  TestHost host;
  Workbench wb;
  BoxLink& link;
  std::vector<std::string> statuses;

  explicit LinkRig(bool background = false)
      : wb(host, std::make_unique<BoxLink>(TestLinkOptions(dir, background))),
        link(static_cast<BoxLink&>(*wb.box)) {
    link.Attach(wb.control);
    link.onStatus = [this](const std::string& s) { statuses.push_back(s); };
  }
  std::string Devices() const { return dir / "devices"; }
  std::string LogPath() const { return dir / "box.log"; }
  std::unique_ptr<BoxProcess> StartBox(std::vector<std::string> options = {}) {
    auto box = std::make_unique<BoxProcess>(Devices(), LogPath(), std::move(options));
    return box->Plugged() ? std::move(box) : nullptr;
  }
  bool Simulation() const { return wb.control.Simulation; }
};

}  // namespace edumac8
