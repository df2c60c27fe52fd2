// edumac8-box: the software experiment box.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "link/device_discovery.h"
#include "platform/file_io.h"
#include "software_box.h"

namespace {

constexpr const char* kUsage = R"(usage: edumac8-box [options]

Opens a pseudo-terminal and answers the experiment box's protocol on it with the model
machine, as a box for the micro-programmed whole-machine experiment would. The box publishes
itself as a device record in the devices directory; a workbench that has EDUMAC8_BOX_DEVICES
set to the same directory finds it within a second. Stop it with Ctrl-C.

Where it appears:
  --devices DIR        directory of device records (default: $EDUMAC8_BOX_DEVICES)
  --name NAME          record file name NAME.dev (default edumac8-box)
  --com N              COM number of the friendly name (default 3)
  --restart-com N      come back under COM N after a restart
  --restart-delay MS   time off the bus at a restart (default 300)

What CMD_INFO reports:
  --run-state R        run state (default 1; 0 = boot loader, always updated)
  --version V          firmware version (default 0x103, the current one)
  --config C           BoxConfig: 1 whole machine; 0, 2, 3 partial experiments (default 1)
  --fpga-mode F        BoxFpgaMode, non-zero for FPGA experiments (default 0)
  --controller K       BoxController: 0 micro-programmed, else combinational (default 0)
When the controller flash holds a valid header block at 0x1800 (at start with --flash-dir,
or after a restart) the run state is 1 and the version is the header's.

Flash and records:
  --flash-dir DIR      load CTRL.BIN (65,536 bytes) and CFG.BIN from DIR at start and save
                       them there at every restart, at the end of an update and at exit
  --config-flash N     size of the configuration flash in bytes (default 0x40000)
  --log FILE           append one line per request: command, N, parameter word (hex)
  --echo-bits B        OR B into the command echo of every reply (bits 6-7 are ignored)

Faults (exchanges are counted from 1):
  --stop-after N       stop answering after N exchanges
  --bad-checksum-at K  corrupt the checksum of the reply to exchange K
  --short-payload-at K announce one word more than the reply to exchange K carries
  --wrong-echo-at K    answer exchange K with another command's echo
  --slow-at K          send the reply to exchange K after --slow-ms (default 1500) ms
  --vanish-at-restart  do not come back after a restart

  --help               this text
)";

std::atomic<bool> stopRequested{false};
extern "C" void OnSignal(int) { stopRequested = true; }

long Number(const std::string& option, const char* text) {
  char* end = nullptr;
  const long n = std::strtol(text, &end, 0);
  if (!*text || *end) {
    std::fprintf(stderr, "edumac8-box: %s needs a number, not '%s'\n", option.c_str(), text);
    std::exit(2);
  }
  return n;
}

}  // namespace

int main(int argc, char** argv) {
  edumac8::SoftwareBoxOptions o;
  if (const char* dir = std::getenv(edumac8::kBoxDevicesVariable)) o.devicesDir = dir;
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    if (option == "--help") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (option == "--vanish-at-restart") {
      o.vanishAtRestart = true;
      continue;
    }
    if (i + 1 >= argc) {
      std::fprintf(stderr, "edumac8-box: %s needs a value\n%s", option.c_str(), kUsage);
      return 2;
    }
    const char* value = argv[++i];
    const auto n = [&] { return Number(option, value); };
    if (option == "--devices")
      o.devicesDir = value;
    else if (option == "--name")
      o.recordName = value;
    else if (option == "--com")
      o.com = static_cast<int>(n());
    else if (option == "--restart-com")
      o.restartCom = static_cast<int>(n());
    else if (option == "--restart-delay")
      o.restartDelayMs = static_cast<int>(n());
    else if (option == "--run-state")
      o.info.runState = static_cast<std::uint32_t>(n());
    else if (option == "--version")
      o.info.version = static_cast<std::uint32_t>(n());
    else if (option == "--config")
      o.info.config = static_cast<std::uint8_t>(n());
    else if (option == "--fpga-mode")
      o.info.fpgaMode = static_cast<std::uint8_t>(n());
    else if (option == "--controller")
      o.info.controller = static_cast<std::uint8_t>(n());
    else if (option == "--flash-dir")
      o.flashDir = value;
    else if (option == "--config-flash")
      o.configFlashBytes = static_cast<int>(n());
    else if (option == "--log")
      o.logPath = value;
    else if (option == "--echo-bits")
      o.echoBits = static_cast<std::uint8_t>(n());
    else if (option == "--stop-after")
      o.stopAfter = n();
    else if (option == "--bad-checksum-at")
      o.badChecksumAt = n();
    else if (option == "--short-payload-at")
      o.shortPayloadAt = n();
    else if (option == "--wrong-echo-at")
      o.wrongEchoAt = n();
    else if (option == "--slow-at")
      o.slowAt = n();
    else if (option == "--slow-ms")
      o.slowReplyMs = static_cast<int>(n());
    else {
      std::fprintf(stderr, "edumac8-box: unknown option %s\n%s", option.c_str(), kUsage);
      return 2;
    }
  }
  if (o.devicesDir.empty()) {
    std::fprintf(stderr, "edumac8-box: no devices directory (--devices or %s)\n",
                 edumac8::kBoxDevicesVariable);
    return 2;
  }
  if (o.configFlashBytes < 0x10000 || o.configFlashBytes % 0x10000 != 0) {
    std::fprintf(stderr, "edumac8-box: --config-flash must be a multiple of 0x10000\n");
    return 2;
  }
  // Each ends the box the orderly way, which removes its record; a closed terminal sends HUP.
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) std::signal(signal, OnSignal);
  edumac8::IgnoreFileSizeSignal();
  edumac8::SoftwareBox box(o);
  if (!box.Serve(stopRequested)) {
    std::fprintf(stderr, "edumac8-box: cannot create the pseudo-terminal or the record in %s\n",
                 o.devicesDir.c_str());
    return 1;
  }
  return 0;
}
