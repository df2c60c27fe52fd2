// edumac8-install: the installer's menu window, and its subcommands for scripts.
//   edumac8-install [--dir DIR]          the menu window
//   edumac8-install menu|register-debugger|patch-inf|udev-rule ...   no display needed
#include <QApplication>
#include <QScreen>
#include <QStyleFactory>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "install/install_menu.h"
#include "install/install_text.h"
#include "install_commands.h"
#include "installer_services.h"
#include "tform1.h"

namespace {

using edumac8::installer::UsageError;

struct Command {
  const char* name;
  int (*run)(const std::vector<std::string>&);
};

constexpr Command kCommands[] = {
    {"menu", edumac8::installer::MenuCommand},
    {"register-debugger", edumac8::installer::RegisterDebuggerCommand},
    {"patch-inf", edumac8::installer::PatchInfCommand},
    {"udev-rule", edumac8::installer::UdevRuleCommand},
};

int RunMenuWindow(int argc, char** argv, const std::string& installDir) {
  QApplication app(argc, argv);
  app.setApplicationName("edumac8-install");
  app.setStyle(QStyleFactory::create("Fusion"));
  QFont font = app.font();
  font.setFamilies({"Noto Sans CJK SC", "DejaVu Sans", font.family()});
  font.setPointSize(9);
  app.setFont(font);
  edumac8::TForm1 form(
      edumac8::install::LoadInstallMenu(installDir, edumac8::install::ChineseFromEnvironment()),
      edumac8::DesktopServices());
  if (const QScreen* screen = form.screen())
    form.move(screen->availableGeometry().center() - form.rect().center());
  form.show();
  return app.exec();
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> words(argv + 1, argv + argc);
  if (!words.empty() && (words[0] == "--help" || words[0] == "-h")) {
    std::cout << edumac8::installer::kUsage;
    return 0;
  }
  try {
    for (const Command& c : kCommands)
      if (!words.empty() && words[0] == c.name) return c.run({words.begin() + 1, words.end()});
    const auto options = edumac8::installer::ParseOptions(words, {"--dir"}, {});
    if (!options.positional.empty())
      throw UsageError("unknown command '" + options.positional[0] + "'");
    return RunMenuWindow(argc, argv, edumac8::installer::InstallDirFromOptions(options));
  } catch (const UsageError& e) {
    std::cerr << "edumac8-install: " << e.what() << "\n" << edumac8::installer::kUsage;
    return 2;
  }
}
