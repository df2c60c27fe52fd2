#include "install/install_text.h"

#include <cstdlib>
#include <string_view>

namespace edumac8::install {
namespace {

struct Entry {
  Msg message;
  const char* chinese;
  const char* english;
};

constexpr Entry kTexts[] = {
    {Msg::Destination, "目标路径", "Destination"},
    {Msg::Ok, "好", "OK"},
    {Msg::Cancel, "取消", "Cancel"},
    {Msg::Help, "帮助", "Help"},
    {Msg::Browse, "浏览...", "Browse..."},
    {Msg::InstallKeilDriver, "安装 KEIL 驱动", "Install Keil Driver"},
    {Msg::CannotModifyToolsIni, "不能写入 KEIL\\TOOLS.INI, 驱动安装失败",
     "Can not modify KEIL\\TOOLS.INI, Install Driver failed"},
    // The double quote before the last line end has always been part of the Chinese text.
    {Msg::KeilDriverInstalled, "KEIL 驱动已安装成功\r\n请在KEIL软件中选择相应的 PVX 驱动程序\"\r\n",
     "KEIL Driver installed\r\nPlease select PVX driver in Keil/Option/Debug\r\n"},
    {Msg::Install, "安装", "Install"},
    {Msg::InstallKeilFirst, "请先安装 Keil 软件", "Install Keil software first"},
    {Msg::MakerName, "开源教学实验室", "Open Teaching Lab"},
    {Msg::DefaultCaption, "EDUMAC8 安装程序", "EDUMAC8 Setup"},
    {Msg::CannotOpen, "无法打开: ", "Can not open: "},
    {Msg::SystemInformation, "系统信息", "System Information"},
    {Msg::CdcAcmLoaded, "cdc_acm 驱动已加载", "cdc_acm driver loaded"},
    {Msg::CdcAcmAvailable, "cdc_acm 驱动可用, 插上实验仪时自动加载",
     "cdc_acm driver available, loaded when the box is plugged in"},
    {Msg::CdcAcmMissing, "未找到 cdc_acm 驱动, 实验仪的串口无法使用",
     "cdc_acm driver not found: the box's serial port can not work"},
    {Msg::RuleInstalledAt, "USB 访问规则已安装: ", "USB access rule installed: "},
    {Msg::RuleNotInstalled, "USB 访问规则未安装", "USB access rule not installed"},
    {Msg::RuleExplanation, "按 Ok 安装实验仪的 USB 访问规则 (需要管理员密码)",
     "Press Ok to install the box's USB access rule (asks for the administrator's password)"},
    {Msg::RuleInstalledReplug, "USB 访问规则已安装, 请拔下实验仪再重新插上: ",
     "USB access rule installed. Please unplug the box and plug it in again: "},
    {Msg::RuleInstallFailed, "USB 访问规则安装失败: ", "Could not install the USB access rule: "},
    {Msg::ChooseKeilDirectory, "请选择 Keil 的安装目录, 即包含 TOOLS.INI 的目录",
     "Choose the Keil installation directory, the one that holds TOOLS.INI"},
    {Msg::NoWineDrive, "未找到 Wine 驱动器", "No Wine drive found"},
    {Msg::CannotWrite, "无法写入: ", "Can not write: "},
};

bool HasChinesePrefix(std::string_view locale) {
  return locale.starts_with("zh_CN") || locale.starts_with("zh_SG");
}

}  // namespace

const char* Text(Msg message, bool chinese) {
  for (const Entry& e : kTexts)
    if (e.message == message) return chinese ? e.chinese : e.english;
  return "";
}

bool ChineseLocale(const char* lcAll, const char* lcMessages, const char* lang) {
  for (const char* value : {lcAll, lcMessages, lang})
    if (value && *value) return HasChinesePrefix(value);
  return false;
}

bool ChineseFromEnvironment() {
  return ChineseLocale(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG"));
}

std::string InstallIniErrorText(int line) {
  return "INSTALL.INI Error (Line: " + std::to_string(line) + ")";
}

}  // namespace edumac8::install
