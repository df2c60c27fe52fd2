// TMANForm, the workbench's main window: the toolbar, the menu and three docking areas that
// hold every other view as a page. It owns the source file commands, the assemble command,
// the instruction-system and export commands, and binds the execution commands to execution
// control. It owns the Workbench: the windows reach the machine only through it.
#pragma once

#include <QHash>
#include <QMainWindow>
#include <QString>
#include <memory>

#include "guide/experiment_windows.h"
#include "ui/user_dialogs.h"
#include "ui/window_host.h"
#include "workbench/workbench.h"

class QAction;
class QComboBox;
class QMenu;
class QSplitter;
class QTabWidget;
class QTimer;
class QToolBar;

namespace edumac8 {

class BoxLink;
class StatusLine;
class TCPUForm;
class TDataF;
class TFASMDef;
class TFlow;
class TLAForm;
class TSRCForm;
class TStruc;
class TStrucFPGAF;
class TuMF;
class TuTRCF;

class TMANForm : public QMainWindow {
  Q_OBJECT

 public:
  static constexpr int kLeftWidth = 358;
  static constexpr int kBottomHeight = 221;

  // With a BoxLink as `box` the window looks for the experiment box once a second and shows
  // the link's status in its caption; without one it stays in simulation.
  explicit TMANForm(std::unique_ptr<UserDialogs> dialogs = nullptr,
                    std::unique_ptr<BoxOperations> box = nullptr, QWidget* parent = nullptr);
  ~TMANForm() override;

  Workbench& workbench() { return workbench_; }
  UserDialogs& Dialogs() { return *dialogs_; }
  void SetDialogs(std::unique_ptr<UserDialogs> dialogs);
  // The experiment guide's windows, as the graphic help and the diagram open them.
  ExperimentWindows& GuideWindows() { return *guideWindows_; }
  void SetGuideWindows(std::unique_ptr<ExperimentWindows> windows) {
    guideWindows_ = std::move(windows);
  }
  // Start-up: reads the experiment catalogue from the help directory; a missing or faulty
  // EX.INI is reported in an error box.
  void LoadExperimentCatalogue();

  // The product title: "EDUMAC8 计算机组成原理实验系统", two blanks, maker and web address.
  static QString ProductTitle();
  // The link's status text; the not-connected text while there is no box link.
  QString LinkStatusText() const;
  // The caption: the product title, three blanks, the status.
  void ShowLinkStatus(const QString& status);

  // Toolbar handlers.
  void RefreshBtnClick();
  void OpenFile1Click();
  void SaveAllFileClick();
  void Make1Click();
  void CutBtnClick();
  void CopyBtnClick();
  void PasteBtnClick();
  void ResetBtnClick();
  void PauseBtnClick();
  void RunBtnClick();
  void TraceBtnClick();
  void StepBtnClick();
  void ABELBtnClick();
  void IntBtnClick();
  void sbFPGAOpenClick();
  // Run to the caret line of the source editor in use (F4).
  void RunToCursorClick();
  // Menu handlers.
  void New1Click();
  void SaveFile1Click();
  void SaveFileas1Click();
  void NewuMClick();
  void LoaduMClick();
  void SaveuMClick();
  // The built-in instruction system, marked modified: the way back from a wrong file.
  void DefaultuMClick();
  void SaveINSTCSVClick();
  void SaveuMCSVClick();
  void SaveTraceCSVClick();
  void Manual1Click();
  void Graph1Click();
  void Timer1Timer();

  // Open without the dialog: an .ASM file into the source editor, anything else into a
  // further source window.
  void OpenFile(const QString& path);
  // Save (F2) of the source editor: Save as for an unnamed text; an unmodified file is not
  // written again. False when the save failed or was cancelled.
  bool SaveSource();
  void UpdateButtons();
  // Shows the source editor at a line (-1: no caret move) with mark 14 (program counter) or
  // 16 (error).
  void OpenSource(const QString& path, int line, int mark, int column);
  // The run worker's epilogue, on this thread.
  void RunFinished();
  // A run with a one-shot breakpoint at the code of a line of the source (or the next line
  // that has code), as the editors' popup menus start it.
  void RunToLine(int line);
  // Instructions per second of the next run and of one in progress; 0 is full speed. The
  // run menu and the toolbar follow.
  void SetRunSpeed(int instructionsPerSecond);
  int RunSpeed() const;
  // After the instruction system changed (load, new, an edit in the instruction-set window).
  void InstructionSystemChanged();
  // Whether the window may close: every modified text and a modified instruction system is
  // offered for saving; Cancel, or a save that fails or is cancelled, keeps the window.
  bool CloseQuery();

  // Windows and areas, for the hooks and for tests; a window of a later issue is null.
  TCPUForm* CPUForm() const { return cpu_; }
  TSRCForm* SRCForm() const { return source_; }
  TDataF* DataF() const { return memory_; }
  TuMF* uMF() const { return micro_; }
  TuTRCF* uTRCF() const { return trace_; }
  TFASMDef* ASMDef() const { return asmDef_; }
  TLAForm* LAForm() const { return la_; }
  TStrucFPGAF* StrucFPGAF() const { return fpga_; }
  TFlow* Flow() const { return flow_; }
  TStruc* Struc() const { return struc_; }
  QTabWidget* pgLeft() const { return pgLeft_; }
  QTabWidget* pgHost() const { return pgHost_; }
  QTabWidget* pgBottom() const { return pgBottom_; }
  QTimer* Timer1() const { return timer1_; }
  StatusLine* Status() const { return status_; }
  QAction* Action(const char* name) const;  // a toolbar button or menu item by its name
  // The menu items with a shortcut: floating source windows take the same keys.
  QList<QAction*> ShortcutActions() const;
  // The further source windows (files other than .ASM) in pgHost.
  QList<TSRCForm*> FurtherSources() const;
  // The clipboard holds text (followed through its change signal: asking the clipboard
  // itself may wait on another program).
  bool ClipboardHasText() const { return clipboardHasText_; }

  // Hooks of the structure diagram and the logic analyser: nothing until those windows exist.
  bool DrawAllBuses() const;
  bool AnimateFlow() const;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void FormCreate();
  void CreateToolbar();
  void CreateMenus();
  QAction* AddCommand(QToolBar* bar, const char* name, const QString& hint, int icon,
                      void (TMANForm::*handler)());
  // `mnemonic` underlines that letter of a caption that has none.
  QAction* AddMenuItem(QMenu* menu, const char* name, int message, const char* shortcut,
                       void (TMANForm::*handler)(), char mnemonic = 0);
  void DockPage(QTabWidget* area, QWidget* page);
  void File1Popup();
  void Edit1Popup();
  void Assemble1Popup();
  void Run1Popup();
  void SetCaptions();
  void CreateRunSpeedBox(QToolBar* bar);
  void CreateRunMenuAdditions(QMenu* menu);
  // After a run command: the glyphs, the buttons, and the views' refresh during the run.
  void RunStarted();
  void AttachLink();
  void InstallErrorBoxes();
  // A command that uses the box waits for a connection attempt in progress.
  void WaitForLink();
  // Saves the source editor under `path`; reports a failure once.
  bool WriteSource(TSRCForm& editor, const QString& path);
  void ReportAssemblyError();
  bool SaveAs(TSRCForm& editor);
  void ExportCsv(int kind);
  void SaveFurtherSources();
  bool SaveAllFiles();
  // Saves the instruction system under a name chosen in the dialog; false when cancelled or
  // failed.
  bool SaveInstructionSystem(const QString& proposed);
  void ShowStatus();
  void FitToScreen();
  void ShareAreas();
  // The FPGA board window: a top-level window, created hidden.
  void CreateBoardWindow();
  void ShowBoardLinkStatus();

  WindowHost host_;
  Workbench workbench_;
  std::unique_ptr<UserDialogs> dialogs_;
  std::unique_ptr<ExperimentWindows> guideWindows_ = std::make_unique<ExperimentWindows>();

  QToolBar* Panel1_ = nullptr;
  QSplitter* middle_ = nullptr;
  QSplitter* frame_ = nullptr;
  QTabWidget* pgLeft_ = nullptr;
  QTabWidget* pgHost_ = nullptr;
  QTabWidget* pgBottom_ = nullptr;
  TCPUForm* cpu_ = nullptr;
  TSRCForm* source_ = nullptr;
  TDataF* memory_ = nullptr;
  TuMF* micro_ = nullptr;
  TuTRCF* trace_ = nullptr;
  TFASMDef* asmDef_ = nullptr;
  TLAForm* la_ = nullptr;
  TStrucFPGAF* fpga_ = nullptr;
  TFlow* flow_ = nullptr;
  TStruc* struc_ = nullptr;
  QTimer* timer1_ = nullptr;
  StatusLine* status_ = nullptr;
  BoxLink* link_ = nullptr;
  QMenu* File1_ = nullptr;
  QMenu* Edit1_ = nullptr;
  QMenu* Assemble1_ = nullptr;
  QMenu* Run1_ = nullptr;
  QMenu* Help1_ = nullptr;
  QComboBox* speedBox_ = nullptr;
  QMenu* speedMenu_ = nullptr;
  QTimer* runRefresh_ = nullptr;
  bool clipboardHasText_ = false;
  bool sharedAreas_ = false;
  // The last CSV file exported: the exports propose it, never the instruction-system file.
  QString csvFileName_;
  // Buttons and menu items by name: the button states are set after every step.
  QHash<QString, QAction*> actions_;
};

}  // namespace edumac8
