// TStrucFPGAF: the FPGA board window, the view and editor of the Workbench's board mode. A
// tool column (palette, file commands, test switch), the drawing area with the placed
// components, and the bottom row of eight data ports and eight keys. Closing only hides it.
// It talks to nothing outside the workbench: values come from the test mode's random draws.
#pragma once

#include <QDialog>
#include <QString>
#include <QWidget>
#include <array>
#include <functional>
#include <vector>

#include "fpga/board_caption.h"
#include "fpga/board_random.h"
#include "workbench/workbench.h"

class QLabel;
class QLineEdit;
class QFrame;
class QTimer;

namespace edumac8 {

class BoardArea;
class BoardButton;
class TFLEDSet;
class TFSEG8Set;
class UserDialogs;

class TStrucFPGAF : public QWidget {
  Q_OBJECT

 public:
  // The dialogs are asked for each time: the workbench may replace its dialog interface.
  using DialogsSource = std::function<UserDialogs&()>;
  // Runs a settings dialog modally; tests answer it instead.
  using DialogRunner = std::function<int(QDialog&)>;

  static constexpr int kDeleteTool = 10;

  TStrucFPGAF(Workbench& workbench, DialogsSource dialogs, QWidget* parent = nullptr);

  BoardMode& Mode() { return workbench_.board; }

  // The toolbar's "打开FPGA窗口": normal size, in front.
  void ShowBoard();
  // The link's state changed: the caption follows.
  void ShowLinkStatus(const BoardLinkState& link);
  // Before the workbench drops the mode (exit): a changed mode is offered for saving. False
  // when the user cancels.
  bool AllowDropMode();

  void SetDialogRunner(DialogRunner runner) { runDialog_ = std::move(runner); }
  void SetRandomSeed(std::uint64_t seed) { random_ = BoardRandom(seed); }

  // File commands.
  void NewMode();
  void OpenMode();
  bool SaveMode();
  // Tool column and bottom row.
  void sbRPClick(int tag);
  void sbTClick();
  void sbLAClick();
  void sbDoutClick();
  void sbKeyClick(int i);
  void bbRClick() {}
  void MDelClick();
  void Timer1Timer();
  // Rebuilds the pictures whose value changed, all of them after a full-redraw request.
  void InitForm();

  // Controls, for the workbench's tests and screenshots.
  int ActiveTool() const { return tool_; }
  int Selected() const { return selected_; }
  BoardArea* imgM() const { return area_; }
  BoardButton* Visual(int component) const { return controls_[component].visual; }
  BoardButton* Label(int component) const { return controls_[component].label; }
  BoardButton* Palette(int tag) const { return tag == kDeleteTool ? coX_ : palette_[tag]; }
  BoardButton* Key(int i) const { return columns_[i].key; }
  QLabel* KeyLabel(int i) const { return columns_[i].keyLabel; }
  QLineEdit* PortEdit(int i) const { return columns_[i].portEdit; }
  QLabel* PortLabel(int i) const { return columns_[i].portLabel; }
  BoardButton* sbT() const { return sbT_; }
  BoardButton* sbLA() const { return sbLA_; }
  BoardButton* sbDout() const { return sbDout_; }
  QLabel* LocX() const { return LocX_; }
  QLabel* LocY() const { return LocY_; }
  QTimer* Timer1() const { return timer1_; }
  TFLEDSet* LedSet() const { return ledSet_; }
  TFSEG8Set* Seg8Set() const { return seg8Set_; }
  QWidget* Panel4() const { return panel4_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  struct ComponentControls {
    BoardButton* visual = nullptr;
    BoardButton* label = nullptr;
  };
  struct ColumnControls {
    QFrame* portBox = nullptr;
    QLineEdit* portEdit = nullptr;
    QLabel* portLabel = nullptr;
    BoardButton* key = nullptr;
    QLabel* keyLabel = nullptr;
  };

  void FormCreate();
  QWidget* CreateToolColumn();
  QWidget* CreateBottomRow();
  void UpdateCaption();

  // Components and their controls (same index as the mode's list).
  void CreateControls(int component);
  void PlaceControls(int component);
  void RebuildControls();
  void DeleteComponent(int component);
  void DeleteAllComponents();
  int ComponentOf(QObject* control) const;
  void Select(int component);
  void ReleasePalette();
  void FullRedraw();

  // Mouse and keys.
  void imgMMouseMove(QMouseEvent* event);
  void imgMMouseDown(QMouseEvent* event);
  void CompMouseDown(int component, QMouseEvent* event);
  void CompMouseMove(int component, QMouseEvent* event);
  void CompMouseUp(int component);
  void sbKeyMouseDown(int i);
  void EditMouseDown(int i);
  void PlaceComponent(int x, int y);
  void SetUpComponent(int component);
  bool RunDialog(QDialog& dialog);

  // Columns.
  void ApplyColumn(int i);
  void ApplyKeyKind(int i);
  void RedrawKey(int i);

  // Asks before a changed mode is dropped; false when the user cancels.
  bool AskToSaveChanges();

  Workbench& workbench_;
  DialogsSource dialogs_;
  DialogRunner runDialog_;
  BoardRandom random_;
  BoardLinkState link_;

  QLabel* LocX_ = nullptr;
  QLabel* LocY_ = nullptr;
  std::array<BoardButton*, 8> palette_{};  // co1 ... co7 at their tags
  BoardButton* coX_ = nullptr;
  BoardButton* sbLA_ = nullptr;
  BoardButton* sbT_ = nullptr;
  BoardButton* sbDout_ = nullptr;
  BoardArea* area_ = nullptr;
  QWidget* panel4_ = nullptr;
  std::array<ColumnControls, kBoardColumns> columns_;
  QTimer* timer1_ = nullptr;
  TFLEDSet* ledSet_ = nullptr;
  TFSEG8Set* seg8Set_ = nullptr;

  std::vector<ComponentControls> controls_;
  int tool_ = 0;
  int selected_ = -1;
  bool fullRedraw_ = true;
  // Dragging a picture: the component and where on its position the pointer took hold.
  int dragged_ = -1;
  QPoint dragGrip_;
  QPoint dragStart_;
  bool dragMoved_ = false;
  // The file names the open and the save dialog propose.
  QString openName_ = "New";
  QString saveName_ = "New";
};

}  // namespace edumac8
