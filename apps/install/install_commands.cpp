#include "install_commands.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>

#include "install/case_paths.h"
#include "install/driver_registration.h"
#include "install/inf_patch.h"
#include "install/install_menu.h"
#include "install/install_text.h"
#include "install/keil_location.h"
#include "install/udev_rule.h"
#include "platform/paths.h"
#include "platform/text_codec.h"

namespace edumac8::installer {
namespace {

using install::Msg;

const char* KindWord(install::EntryKind kind) {
  switch (kind) {
    case install::EntryKind::UsbDriver:
      return "USB";
    case install::EntryKind::DebuggerDrivers:
      return "KEIL";
    default:
      return "OPEN";
  }
}

// Runs a program and waits; true when it ran and exited 0.
bool RunProgram(const std::vector<std::string>& argv) {
  const pid_t child = fork();
  if (child < 0) return false;
  if (child == 0) {
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    execvp(args[0], args.data());
    _exit(127);
  }
  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void ReportIniError(const install::InstallMenu& menu) {
  std::cerr << install::InstallIniErrorText(menu.Ini.ErrorLine) << "\n";
}

}  // namespace

const char kUsage[] =
    "usage:\n"
    "  edumac8-install [--dir DIR]                      the menu window\n"
    "  edumac8-install menu [--dir DIR]\n"
    "  edumac8-install register-debugger [--dir DIR] [--keil KEILDIR [--windows-path WINPATH]]\n"
    "  edumac8-install patch-inf FILE\n"
    "  edumac8-install udev-rule [--install [--rules-dir DIR]]\n";

const std::string* Options::Value(const std::string& name) const {
  const std::string* value = nullptr;
  for (const auto& [n, v] : named)
    if (n == name) value = &v;
  return value;
}

bool Options::Has(const std::string& flag) const {
  for (const std::string& f : flags)
    if (f == flag) return true;
  return false;
}

Options ParseOptions(const std::vector<std::string>& words, const std::vector<std::string>& valued,
                     const std::vector<std::string>& flags) {
  auto among = [](const std::vector<std::string>& names, const std::string& name) {
    for (const std::string& n : names)
      if (n == name) return true;
    return false;
  };
  Options options;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (!word.starts_with("--")) {
      options.positional.push_back(word);
      continue;
    }
    const std::size_t equals = word.find('=');
    const std::string name = word.substr(0, equals);
    if (among(flags, name) && equals == std::string::npos) {
      options.flags.push_back(name);
    } else if (among(valued, name)) {
      if (equals != std::string::npos) {
        options.named.emplace_back(name, word.substr(equals + 1));
      } else if (i + 1 < words.size()) {
        options.named.emplace_back(name, words[++i]);
      } else {
        throw UsageError(name + " needs a value");
      }
    } else {
      throw UsageError("unknown option '" + word + "'");
    }
  }
  return options;
}

std::string InstallDirFromOptions(const Options& options) {
  const std::string* dir = options.Value("--dir");
  if (dir) return install::InstallDirOf(*dir);
  const std::string program = ProgramPath();
  return install::InstallDirOf(program.substr(0, program.find_last_of('/') + 1));
}

int MenuCommand(const std::vector<std::string>& args) {
  const Options options = ParseOptions(args, {"--dir"}, {});
  if (!options.positional.empty()) throw UsageError("menu takes no file");
  const install::InstallMenu menu =
      install::LoadInstallMenu(InstallDirFromOptions(options), install::ChineseFromEnvironment());
  std::cout << "TITLE\t" << menu.Caption() << "\n";
  if (menu.Ini.ErrorLine) {
    std::cout.flush();
    ReportIniError(menu);
    return 1;
  }
  for (std::size_t i = 0; i < menu.Entries.size() && i < 8; ++i) {
    const install::TInstallEntry& e = menu.Entries[i];
    std::cout << "CMD" << i + 1 << "\t" << KindWord(e.Kind) << "\t" << menu.CaptionOf(e);
    if (e.Kind == install::EntryKind::MakerProgram) std::cout << "\t" << Gb2312ToUtf8(e.Target);
    std::cout << "\n";
  }
  for (const install::TInstallEntry& e : menu.KeilList)
    std::cout << "DRIVER\t" << (e.Kind == install::EntryKind::KeilC51Driver ? "C51" : "ARM") << "\t"
              << Gb2312ToUtf8(e.Target) << "\t" << menu.CaptionOf(e) << "\n";
  return 0;
}

int RegisterDebuggerCommand(const std::vector<std::string>& args) {
  const Options options = ParseOptions(args, {"--dir", "--keil", "--windows-path"}, {});
  if (!options.positional.empty()) throw UsageError("register-debugger takes no file");
  const std::string* keilDir = options.Value("--keil");
  const std::string* windowsPath = options.Value("--windows-path");
  if (windowsPath && !keilDir) throw UsageError("--windows-path needs --keil");

  const bool chinese = install::ChineseFromEnvironment();
  const install::InstallMenu menu =
      install::LoadInstallMenu(InstallDirFromOptions(options), chinese);
  if (menu.Ini.ErrorLine) {
    ReportIniError(menu);
    return 1;
  }
  const std::vector<std::string> prefixes = install::WinePrefixesFromEnvironment();
  std::optional<install::KeilLocation> keil;
  if (keilDir) {
    const std::string path = install::TrimKeilDir(*keilDir);
    if (install::IsDirectory(path))
      keil = install::KeilLocation{
          path, windowsPath ? *windowsPath : install::WindowsPathOf(path, prefixes)};
  } else {
    keil = install::DetectKeil(prefixes);
  }
  if (!keil) {
    std::cerr << install::Text(Msg::InstallKeilFirst, chinese) << "\n";
    return 1;
  }
  const install::DriverInstallReport report = install::InstallKeilDrivers(menu, *keil);
  for (const std::string& line : report.memo) {
    // A memo line shows its CR LF as line breaks.
    for (std::size_t i = 0; i < line.size(); ++i)
      if (!(line[i] == '\r' && i + 1 < line.size() && line[i + 1] == '\n')) std::cout << line[i];
    std::cout << "\n";
  }
  return report.handled > 0 && report.failed == 0 ? 0 : 1;
}

int PatchInfCommand(const std::vector<std::string>& args) {
  const Options options = ParseOptions(args, {}, {});
  if (options.positional.size() != 1) throw UsageError("patch-inf needs one FILE");
  const bool updated = install::PatchInfFile(options.positional[0]);
  std::cout << (updated ? "mdmcpq.inf updated" : "mdmcpq.inf not updated") << "\n";
  return updated ? 0 : 1;
}

int UdevRuleCommand(const std::vector<std::string>& args) {
  const Options options = ParseOptions(args, {"--rules-dir"}, {"--install"});
  if (!options.positional.empty()) throw UsageError("udev-rule takes no file");
  const std::string* rulesDir = options.Value("--rules-dir");
  if (!options.Has("--install")) {
    if (rulesDir) throw UsageError("--rules-dir needs --install");
    std::cout << install::kUdevRule;
    return 0;
  }
  const std::string dir = rulesDir ? *rulesDir : install::kSystemRulesDir;
  const std::optional<std::string> path = install::InstallUdevRule(dir);
  if (!path) {
    std::cerr << install::Text(Msg::CannotWrite, install::ChineseFromEnvironment())
              << install::JoinPath(dir, install::kUdevRuleFileName) << "\n";
    return 1;
  }
  std::cout << *path << "\n";
  if (!rulesDir) {
    // The rule is in place either way; udev also rereads its rules on the next event.
    for (const std::vector<std::string>& command :
         {std::vector<std::string>{"udevadm", "control", "--reload"},
          std::vector<std::string>{"udevadm", "trigger"}}) {
      std::cout.flush();
      if (!RunProgram(command))
        std::cerr << "edumac8-install: " << command[0] << " " << command[1] << " failed\n";
    }
  }
  return 0;
}

}  // namespace edumac8::installer
