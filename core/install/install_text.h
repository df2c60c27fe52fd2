// The installer's texts: one Chinese and one English text per message number, chosen by the
// user's locale. Numbers below 300 are the installer's historical ones; 300 and up are the
// texts of the Linux windows.
#pragma once

#include <string>

namespace edumac8::install {

enum class Msg {
  Destination = 137,
  Ok = 138,
  Cancel = 139,
  Help = 140,
  Browse = 145,
  InstallKeilDriver = 149,
  CannotModifyToolsIni = 151,
  KeilDriverInstalled = 153,
  Install = 164,
  InstallKeilFirst = 165,
  MakerName = 300,
  DefaultCaption = 301,
  CannotOpen = 302,
  SystemInformation = 310,
  CdcAcmLoaded = 311,
  CdcAcmAvailable = 312,
  CdcAcmMissing = 313,
  RuleInstalledAt = 314,
  RuleNotInstalled = 315,
  RuleExplanation = 316,
  RuleInstalledReplug = 317,
  RuleInstallFailed = 318,
  ChooseKeilDirectory = 319,
  NoWineDrive = 320,
  CannotWrite = 321,
};

// UTF-8 text of a message in the chosen language.
const char* Text(Msg message, bool chinese);

// Chinese when the first non-empty of LC_ALL, LC_MESSAGES and LANG names a simplified-Chinese
// locale (zh_CN or zh_SG). Null stands for an unset variable.
bool ChineseLocale(const char* lcAll, const char* lcMessages, const char* lang);
bool ChineseFromEnvironment();

// The error line of a broken INSTALL.INI, in English whatever the language.
std::string InstallIniErrorText(int line);

}  // namespace edumac8::install
