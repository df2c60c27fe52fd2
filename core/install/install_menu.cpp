#include "install/install_menu.h"

#include "install/case_paths.h"
#include "install/install_text.h"
#include "platform/file_io.h"
#include "platform/text_codec.h"

namespace edumac8::install {

std::string InstallMenu::Caption() const {
  if (Ini.HasTitle) return Gb2312ToUtf8(Chinese ? Ini.TitleCn : Ini.TitleEn);
  return Text(Msg::DefaultCaption, Chinese);
}

std::string InstallMenu::CaptionOf(const TInstallEntry& entry) const {
  return Gb2312ToUtf8(entry.Caption(Chinese));
}

std::optional<std::string> TargetPath(const std::string& installDir, std::string_view target) {
  // Targets are written in the file's GB2312; Linux names are UTF-8.
  return FindFileIgnoringCase(installDir, Gb2312ToUtf8(target));
}

std::string InstallDirOf(std::string_view dir) {
  std::string d = dir.empty() ? std::string("./") : std::string(dir);
  if (d.back() != '/') d += '/';
  return d;
}

InstallMenu LoadInstallMenu(std::string_view installDir, bool chinese) {
  InstallMenu menu;
  menu.InstallDir = InstallDirOf(installDir);
  menu.Chinese = chinese;
  const std::optional<std::string> iniPath = FindFileIgnoringCase(menu.InstallDir, "INSTALL.INI");
  const std::optional<std::string> bytes = iniPath ? ReadWholeFile(*iniPath) : std::nullopt;
  menu.Ini = bytes ? ReadInstallIni(*bytes) : BuiltInInstallIni();

  for (const TInstallEntry& e : menu.Ini.Entries)
    if ((e.Kind == EntryKind::KeilC51Driver || e.Kind == EntryKind::KeilArmDriver) &&
        TargetPath(menu.InstallDir, e.Target))
      menu.KeilList.push_back(e);
  for (TInstallEntry e : menu.Ini.Entries) {
    switch (e.Kind) {
      case EntryKind::UsbDriver:
        e.Available = true;  // the box's USB access rule is always worth offering
        break;
      case EntryKind::DebuggerDrivers:
        e.Available = !menu.KeilList.empty();
        break;
      case EntryKind::MakerProgram:
        e.Available = TargetPath(menu.InstallDir, e.Target).has_value();
        break;
      case EntryKind::KeilC51Driver:
      case EntryKind::KeilArmDriver:
        e.Available = false;
        break;
    }
    if (e.Available) menu.Entries.push_back(std::move(e));
  }
  return menu;
}

}  // namespace edumac8::install
