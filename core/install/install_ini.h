// INSTALL.INI: the menu of the installer. A GB2312 text file of entry lines
//   QUOR|KEIL_C51|KEIL_ARM , "target" , "Chinese caption" , "English caption"
//   TITLE , "ignored" , "Chinese title" , "English title"
// with ';' comment lines. Strings keep the file's bytes; they are decoded only for display.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace edumac8::install {

enum class EntryKind {
  UsbDriver = 1,
  DebuggerDrivers = 2,
  MakerProgram = 3,  // QUOR
  KeilC51Driver = 4,
  KeilArmDriver = 5,
};

struct TInstallEntry {
  EntryKind Kind = EntryKind::MakerProgram;
  std::string Target;     // kinds 3-5: a file name relative to InstallDir, as written
  std::string CaptionCn;  // GB2312 bytes
  std::string CaptionEn;
  bool Available = false;

  const std::string& Caption(bool chinese) const { return chinese ? CaptionCn : CaptionEn; }
};

// The table holds the two built-in entries and the entries of the file together.
inline constexpr std::size_t kMaxInstallEntries = 100;

struct InstallIni {
  std::vector<TInstallEntry> Entries;
  bool HasTitle = false;
  std::string TitleCn;  // GB2312 bytes
  std::string TitleEn;
  // The number of the line that stopped the reading, counting only lines that are neither
  // blank nor comments; 0 when the whole file was read. After an error Entries is empty and
  // a title read before it stays.
  int ErrorLine = 0;
};

// The table before the file is read: the USB driver and the debugger drivers.
InstallIni BuiltInInstallIni();

// Reads the bytes of INSTALL.INI into the built-in table. Lines end at LF (a CR before it is
// dropped); every line counts, the last one included.
InstallIni ReadInstallIni(std::string_view bytes);

}  // namespace edumac8::install
