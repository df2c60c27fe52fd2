// The board window's file commands: new, open and save a mode, and the question before a
// changed mode is dropped.
#include <filesystem>

#include "fpga/board_area.h"
#include "fpga/mode_file.h"
#include "fpga/tstruc_fpgaf.h"
#include "platform/file_io.h"
#include "ui/file_names.h"
#include "ui/user_dialogs.h"

namespace edumac8 {
namespace {

constexpr const char* kModeChangedQuestion = "FPGA 模式已修改, 保存模式文件吗?";

// A message naming a file (its name held as the file system's bytes) as a person reads it.
QString Named(std::string (*text)(const std::string&), const std::string& name) {
  return QString::fromStdString(text(DisplayPath(PathText(name)).toStdString()));
}

}  // namespace

bool TStrucFPGAF::AskToSaveChanges() {
  if (!Mode().Modified) return true;
  switch (dialogs_().Question(this, kModeChangedQuestion)) {
    case Answer::Yes:
      return SaveMode();
    case Answer::No:
      return true;
    default:
      return false;
  }
}

bool TStrucFPGAF::AllowDropMode() { return AskToSaveChanges(); }

void TStrucFPGAF::NewMode() {
  if (!AskToSaveChanges()) return;
  openName_ = saveName_ = "New";
  DeleteAllComponents();
  Mode().ResetColumns();
  for (int i = 0; i < kBoardColumns; ++i) ApplyColumn(i);
  area_->ClearBackground();
  FullRedraw();
  Mode().ModeFileName = "New";
  Mode().Modified = false;
  UpdateCaption();
}

void TStrucFPGAF::OpenMode() {
  if (!AskToSaveChanges()) return;
  openName_ = saveName_;
  const QString chosen = dialogs_().OpenFileName(this, kOpenModeTitle, kModeFilter, openName_);
  if (!chosen.isEmpty()) {
    const std::string name = WithModeExtension(PathBytes(chosen));
    openName_ = PathText(name);
    const std::optional<std::string> bytes =
        FileReadable(name) ? ReadWholeFile(name) : std::nullopt;
    if (!bytes) {
      dialogs_().Error(this, Named(ModeNotFoundText, name));
      return;
    }
    const ModeReadResult read = ReadMode(*bytes, Mode());
    if (read.status != ModeRead::NotModeFile) {
      // What was read is shown, even from a bad file; it is the file's, not the user's work.
      Mode().Modified = false;
      area_->ClearBackground();
      RebuildControls();
      for (int i = 0; i < kBoardColumns; ++i) ApplyColumn(i);
    }
    if (read.status != ModeRead::Ok) {
      dialogs_().Error(this, Named(ModeFormatText, name));
      return;
    }
  }
  saveName_ = openName_;
  FullRedraw();
  Mode().ModeFileName = PathBytes(openName_);
  UpdateCaption();
}

bool TStrucFPGAF::SaveMode() {
  saveName_ = openName_;
  const QString chosen = dialogs_().SaveFileName(this, kSaveModeTitle, kModeFilter, saveName_);
  bool saved = false;
  if (!chosen.isEmpty()) {
    const std::string name = WithModeExtension(PathBytes(chosen));
    saveName_ = PathText(name);
    std::error_code error;
    if (std::filesystem::exists(name, error) &&
        dialogs_().YesNo(this, Named(ModeOverwriteText, name)) != Answer::Yes)
      return false;
    saved = SaveModeFile(name, Mode());
    if (saved)
      Mode().Modified = false;
    else
      dialogs_().Error(this, kModeWriteError);
  }
  openName_ = saveName_;
  return saved;
}

}  // namespace edumac8
