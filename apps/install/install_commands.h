// The installer's subcommands: what its windows do, without a display, for scripts that set up
// a lab. Output is UTF-8 whatever the locale; the language of the texts follows the locale.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace edumac8::installer {

// A usage error: the program prints the message and the usage text, and exits 2.
struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

extern const char kUsage[];

// Options of the form --name VALUE (or --name=VALUE) and plain words, in order.
struct Options {
  std::vector<std::pair<std::string, std::string>> named;
  std::vector<std::string> flags;
  std::vector<std::string> positional;

  const std::string* Value(const std::string& name) const;
  bool Has(const std::string& flag) const;
};

// `valued` names the options that take a value, `flags` those that do not; anything else that
// starts with "--" is a usage error.
Options ParseOptions(const std::vector<std::string>& words, const std::vector<std::string>& valued,
                     const std::vector<std::string>& flags);

// The install directory of --dir, or the program's own directory.
std::string InstallDirFromOptions(const Options& options);

int MenuCommand(const std::vector<std::string>& args);
int RegisterDebuggerCommand(const std::vector<std::string>& args);
int PatchInfCommand(const std::vector<std::string>& args);
int UdevRuleCommand(const std::vector<std::string>& args);

}  // namespace edumac8::installer
