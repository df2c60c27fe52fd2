#include "ui/tman_form.h"

#include <Qsci/qsciscintilla.h>

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "asm/messages.h"
#include "diagram/graphic_help_window.h"
#include "diagram/structure_diagram.h"
#include "fpga/tstruc_fpgaf.h"
#include "guide/experiment_guide_windows.h"
#include "guide/experiment_reader.h"
#include "isa/instruction_set_window.h"
#include "la/tla_form.h"
#include "link/box_link.h"
#include "link/link_status.h"
#include "ui/status_line.h"
#include "ui/tcpu_form.h"
#include "ui/toolbar_icons.h"
#include "ui/tsrc_form.h"
#include "views/memory_window.h"
#include "views/micro_program_window.h"
#include "views/run_lock.h"
#include "views/trace_window.h"

namespace edumac8 {
namespace {

QString Msg(int number) { return QString::fromStdString(MessageText(number)); }

// Hints appear at once and stay long enough to be read.
constexpr int kHintDuration = 18888;

// The size the areas' widths and heights are designed for; a smaller window shrinks only the
// middle, a larger one gives the extra to every area in proportion.
constexpr QSize kDesignSize(1280, 800);

// A menu caption with its underlined letter, "(&L)" before a closing "...", unless the text
// has one already.
QString WithMnemonic(QString text, char letter) {
  if (letter == 0 || text.contains('&')) return text;
  const QString mark = QStringLiteral("(&") + QLatin1Char(letter) + ')';
  if (text.endsWith("...")) return text.insert(text.size() - 3, mark);
  return text + mark;
}

}  // namespace

TMANForm::TMANForm(std::unique_ptr<UserDialogs> dialogs, std::unique_ptr<BoxOperations> box,
                   QWidget* parent)
    : QMainWindow(parent),
      workbench_(host_, std::move(box)),
      dialogs_(dialogs ? std::move(dialogs) : std::make_unique<QtUserDialogs>()) {
  setObjectName("TMANForm");
  host_.Attach(this);
  LoadExperimentCatalogue();
  FormCreate();
  SetGuideWindows(std::make_unique<ExperimentGuideWindows>(workbench_, this));
  CreateBoardWindow();

  // Start in simulation with no source; the views show the reset machine at address 0.
  workbench_.control.Simulation = true;
  workbench_.control.SourcePath.clear();
  workbench_.machine.InstrAddr = 0;
  workbench_.control.ShowResetViews();

  asmDef_->Refresh();
  pgBottom_->setCurrentWidget(asmDef_);
  SetCaptions();
  ShowLinkStatus(LinkStatusText());
  AttachLink();
}

TMANForm::~TMANForm() {
  // The windows hold the Workbench by reference and go first; a run still in progress stops
  // and reports to no window (the Workbench joins its worker).
  host_.Attach(nullptr);
  workbench_.control.Pause();
  if (link_) {
    // After the attempt in progress no other thread calls back into this window.
    link_->WaitForAttempt();
    link_->onStatus = nullptr;
    link_->onAttemptFinished = nullptr;
    link_->onFirmwareProgress = nullptr;
  }
  disconnect(qApp, nullptr, this, nullptr);
  source_ = nullptr;  // UpdateButtons has nothing left to update
  qDeleteAll(findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly));
}

void TMANForm::LoadExperimentCatalogue() {
  if (const auto error = LoadExperiments(workbench_.HelpDir(), workbench_.experiments))
    dialogs_->Error(this, QString::fromStdString(*error));
}

void TMANForm::SetDialogs(std::unique_ptr<UserDialogs> dialogs) {
  dialogs_ = std::move(dialogs);
  InstallErrorBoxes();
}

// The windows' own refusals go through the same dialogs as the main window's messages.
void TMANForm::InstallErrorBoxes() {
  const ErrorBox box = [this](const QString& text) { dialogs_->Error(this, text); };
  memory_->SetErrorBox(box);
  asmDef_->SetErrorBox(box);
}

QString TMANForm::ProductTitle() {
  return "EDUMAC8 计算机组成原理实验系统  开源教学实验室 www.edumac8.example";
}

QString TMANForm::LinkStatusText() const {
  if (link_ && !link_->StatusText().empty()) return QString::fromStdString(link_->StatusText());
  return QString::fromUtf8(kNotConnectedText);
}

void TMANForm::ShowLinkStatus(const QString& status) {
  setWindowTitle(ProductTitle() + "   " + status);
  ShowBoardLinkStatus();
}

void TMANForm::AttachLink() {
  link_ = dynamic_cast<BoxLink*>(workbench_.box.get());
  if (!link_) return;
  link_->Attach(workbench_.control);
  link_->onStatus = [this](const std::string& status) {
    ShowLinkStatus(QString::fromStdString(status));
  };
  // The attempt and the firmware update run on the link's helper thread; what they report
  // is shown on this one.
  link_->onAttemptFinished = [this] {
    QMetaObject::invokeMethod(this, &TMANForm::Timer1Timer, Qt::QueuedConnection);
  };
  link_->onFirmwareProgress = [this](int written, int total) {
    const QString text = QString::fromStdString(FirmwareProgressText(written, total));
    QMetaObject::invokeMethod(
        this, [this, text] { ShowLinkStatus(text); }, Qt::QueuedConnection);
  };
}

void TMANForm::WaitForLink() {
  if (!link_) return;
  // A command that needs the box waits for a connection attempt in progress (a firmware
  // update takes seconds). The window goes on painting and showing the update's progress
  // meanwhile; the user's input waits. The attempt's end arrives as a queued Timer1Timer,
  // whose tick applies the outcome.
  while (link_->AttemptInProgress())
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::WaitForMoreEvents);
}

void TMANForm::FormCreate() {
  resize(kDesignSize);
  Panel1_ = new QToolBar("Panel1", this);
  CreateToolbar();
  CreateMenus();
  status_ = new StatusLine(this);
  setStatusBar(status_);

  pgLeft_ = new QTabWidget;
  pgHost_ = new QTabWidget;
  pgBottom_ = new QTabWidget;
  pgLeft_->setObjectName("pgLeft");
  pgHost_->setObjectName("pgHost");
  pgBottom_->setObjectName("pgBottom");
  for (QTabWidget* area : {pgLeft_, pgHost_, pgBottom_}) {
    area->setDocumentMode(true);
    area->setTabPosition(QTabWidget::South);
  }
  middle_ = new QSplitter(Qt::Horizontal);
  middle_->addWidget(pgLeft_);
  middle_->addWidget(pgHost_);
  // Equal stretch factors share a change of size in proportion to the areas' sizes.
  middle_->setStretchFactor(0, 1);
  middle_->setStretchFactor(1, 1);
  middle_->setSizes({kLeftWidth, width() - kLeftWidth});
  frame_ = new QSplitter(Qt::Vertical);
  frame_->addWidget(middle_);
  frame_->addWidget(pgBottom_);
  frame_->setStretchFactor(0, 1);
  frame_->setStretchFactor(1, 1);
  frame_->setSizes({height() - kBottomHeight, kBottomHeight});
  for (QSplitter* s : {middle_, frame_}) {
    s->setChildrenCollapsible(false);
    s->setHandleWidth(4);
  }
  setCentralWidget(frame_);

  pgHost_->setTabsClosable(true);
  connect(pgHost_, &QTabWidget::tabCloseRequested, this, [this](int index) {
    if (auto* further = qobject_cast<TSRCForm*>(pgHost_->widget(index))) further->close();
  });
  const GuideWindowsSource guide = [this]() -> ExperimentWindows& { return GuideWindows(); };
  flow_ = new TFlow(workbench_, guide);
  struc_ = new TStruc(workbench_, guide);
  DockPage(pgHost_, flow_);
  DockPage(pgHost_, struc_);
  connect(Action("sbDrawBus"), &QAction::toggled, flow_, &TFlow::SetShowWholeBus);

  asmDef_ = new TFASMDef(workbench_);
  trace_ = new TuTRCF(workbench_);
  micro_ = new TuMF(workbench_, *trace_);
  DockPage(pgBottom_, asmDef_);
  DockPage(pgBottom_, micro_);
  DockPage(pgBottom_, trace_);
  // A row selected there is decoded on the diagram: the word the row shows.
  const auto decodeShownWord = [this] {
    flow_->DecodeCurrentMicroWord();
    flow_->RefreshDiagram();
  };
  micro_->SetDiagramHook(decodeShownWord);
  trace_->SetDiagramHook(decodeShownWord);
  connect(asmDef_, &TFASMDef::instructionSetChanged, this, &TMANForm::InstructionSystemChanged);

  cpu_ = new TCPUForm(workbench_);
  DockPage(pgLeft_, cpu_);
  source_ = new TSRCForm(workbench_, *this, TSRCForm::Kind::Docked);
  source_->NewText("NONAME1");
  source_->setWindowTitle("*.ASM");
  DockPage(pgLeft_, source_);
  memory_ = new TDataF(workbench_);
  DockPage(pgLeft_, memory_);
  la_ = new TLAForm(workbench_, *this);
  DockPage(pgHost_, la_);
  pgHost_->setCurrentIndex(0);
  pgLeft_->setCurrentWidget(source_);
  source_->Memo1()->setFocus();
  InstallErrorBoxes();

  timer1_ = new QTimer(this);
  timer1_->setObjectName("Timer1");
  timer1_->setInterval(1000);
  connect(timer1_, &QTimer::timeout, this, &TMANForm::Timer1Timer);
  timer1_->start();

  QClipboard* clipboard = QApplication::clipboard();
  const auto followClipboard = [this, clipboard] {
    const QMimeData* data = clipboard->mimeData();
    clipboardHasText_ = data && data->hasText() && !data->text().isEmpty();
    UpdateButtons();
  };
  connect(clipboard, &QClipboard::dataChanged, this, followClipboard);
  followClipboard();
  connect(qApp, &QApplication::focusChanged, this, [this] { UpdateButtons(); });
  FitToScreen();
}

// The first size is the screen's available area, so that a small screen (1366 x 768) shows
// every control and a large one is used whole.
void TMANForm::FitToScreen() {
  QScreen* where = screen() ? screen() : QGuiApplication::primaryScreen();
  if (!where) return;
  const QRect area = where->availableGeometry();
  resize(area.size().expandedTo(minimumSizeHint()));
  move(area.topLeft());
}

// Widths and heights beyond the design size go to the areas in proportion; below it the
// middle gives way and the left and bottom areas keep their designed size. Later changes of
// size are shared in proportion by the splitters.
void TMANForm::ShareAreas() {
  const int left = kLeftWidth * std::max(width(), kDesignSize.width()) / kDesignSize.width();
  const int bottom =
      kBottomHeight * std::max(height(), kDesignSize.height()) / kDesignSize.height();
  middle_->setSizes({left, std::max(1, middle_->width() - left - middle_->handleWidth())});
  frame_->setSizes({std::max(1, frame_->height() - bottom - frame_->handleWidth()), bottom});
}

void TMANForm::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (sharedAreas_) return;
  sharedAreas_ = true;
  // A window manager's frame is known only once the window is shown; with it the window
  // keeps within the available area.
  if (screen()) {
    const QRect area = screen()->availableGeometry();
    const QSize frame = frameGeometry().size() - size();
    if (frameGeometry().width() > area.width() || frameGeometry().height() > area.height())
      resize((area.size() - frame).expandedTo(minimumSizeHint()));
  }
  // Once the resize has laid the window out at its first size.
  QTimer::singleShot(0, this, &TMANForm::ShareAreas);
}

void TMANForm::DockPage(QTabWidget* area, QWidget* page) {
  const int index = area->addTab(page, page->windowTitle());
  // Only further source windows can be closed; the other pages live as long as the window.
  auto* source = qobject_cast<TSRCForm*>(page);
  if (area->tabsClosable() && !(source && source->WindowKind() == TSRCForm::Kind::Further))
    area->tabBar()->setTabButton(index, QTabBar::RightSide, nullptr);
  connect(page, &QWidget::windowTitleChanged, area, [area, page](const QString& title) {
    const int index = area->indexOf(page);
    if (index >= 0) area->setTabText(index, title);
  });
}

QAction* TMANForm::AddCommand(QToolBar* bar, const char* name, const QString& hint, int icon,
                              void (TMANForm::*handler)()) {
  QAction* action = bar->addAction(ToolbarIcon(static_cast<ToolIcon>(icon)), hint);
  action->setObjectName(name);
  actions_.insert(QLatin1String(name), action);
  action->setToolTip(hint);
  if (handler) connect(action, &QAction::triggered, this, handler);
  if (QWidget* button = bar->widgetForAction(action)) {
    button->setObjectName(name);
    button->setToolTipDuration(kHintDuration);
  }
  return action;
}

void TMANForm::CreateToolbar() {
  Panel1_->setObjectName("Panel1");
  Panel1_->setMovable(false);
  Panel1_->setIconSize(QSize(24, 24));
  addToolBar(Qt::TopToolBarArea, Panel1_);
  using I = ToolIcon;
  QToolBar* b = Panel1_;
  AddCommand(b, "RefreshBtn", "刷新", int(I::Refresh), &TMANForm::RefreshBtnClick);
  AddCommand(b, "OpenFileBtn", "打开文件", int(I::Open), &TMANForm::OpenFile1Click);
  AddCommand(b, "SaveAllBtn", "保存文件", int(I::Save), &TMANForm::SaveAllFileClick);
  AddCommand(b, "MakeBtn", "汇编", int(I::Make), &TMANForm::Make1Click);
  b->addSeparator();
  AddCommand(b, "CutBtn", "剪切", int(I::Cut), &TMANForm::CutBtnClick);
  AddCommand(b, "CopyBtn", "复制", int(I::Copy), &TMANForm::CopyBtnClick);
  AddCommand(b, "PasteBtn", "粘帖", int(I::Paste), &TMANForm::PasteBtnClick);
  b->addSeparator();
  AddCommand(b, "ResetBtn", "复位", int(I::Reset), &TMANForm::ResetBtnClick);
  AddCommand(b, "PauseBtn", "暂停", int(I::Pause), &TMANForm::PauseBtnClick);
  AddCommand(b, "RunBtn", "运行", int(I::Run), &TMANForm::RunBtnClick);
  AddCommand(b, "TraceBtn", "单微指令运行", int(I::Trace), &TMANForm::TraceBtnClick);
  AddCommand(b, "StepBtn", "单指令运行", int(I::Step), &TMANForm::StepBtnClick);
  CreateRunSpeedBox(b);
  b->addSeparator();
  AddCommand(b, "ABELBtn",
             "生成组合逻辑控制器VHDL程序\n"
             "EDUMAC8_U.VHD: EDUMAC8 微程序控制器\n"
             "EDUMAC8_C.VHD: EDUMAC8 组合逻辑控制器\n"
             "EDUMAC8.mem  : EDUMAC8 EM程序",
             int(I::Vhdl), &TMANForm::ABELBtnClick);
  AddCommand(b, "IntBtn", "中断输入", int(I::Interrupt), &TMANForm::IntBtnClick);
  QAction* drawBus =
      AddCommand(b, "sbDrawBus", " 显示全部数据总线\n/只显示数据总线流向", int(I::Buses), nullptr);
  drawBus->setCheckable(true);
  drawBus->setChecked(false);
  QAction* animate = AddCommand(b, "sbAnimate", "动画显示流程", int(I::Animate), nullptr);
  animate->setCheckable(true);
  animate->setChecked(true);
  animate->setVisible(false);
  AddCommand(b, "sbFPGAOpen", "打开FPGA窗口", int(I::Fpga), &TMANForm::sbFPGAOpenClick);
}

QAction* TMANForm::AddMenuItem(QMenu* menu, const char* name, int message, const char* shortcut,
                               void (TMANForm::*handler)(), char mnemonic) {
  QAction* action = menu->addAction(message > 0 ? WithMnemonic(Msg(message), mnemonic) : QString());
  action->setObjectName(name);
  actions_.insert(QLatin1String(name), action);
  action->setData(message);
  action->setProperty("mnemonic", int(mnemonic));
  if (shortcut) {
    action->setShortcut(QKeySequence(shortcut));
    // The window takes these keys before any page does.
    action->setShortcutContext(Qt::WindowShortcut);
  }
  if (handler) connect(action, &QAction::triggered, this, handler);
  return action;
}

void TMANForm::CreateMenus() {
  QMenuBar* bar = menuBar();
  bar->setObjectName("MainMenu1");
  File1_ = bar->addMenu("文件(&F)");
  File1_->setObjectName("File1");
  AddMenuItem(File1_, "OpenFile1", 702, "F3", &TMANForm::OpenFile1Click);
  AddMenuItem(File1_, "SaveFile1", 703, "F2", &TMANForm::SaveFile1Click);
  AddMenuItem(File1_, "New1", 701, nullptr, &TMANForm::New1Click);
  AddMenuItem(File1_, "SaveFileas1", 704, nullptr, &TMANForm::SaveFileas1Click);
  File1_->addSeparator();
  AddMenuItem(File1_, "NewuM", 0, nullptr, &TMANForm::NewuMClick)
      ->setText("新建指令系统/微程序(&W)");
  AddMenuItem(File1_, "LoaduM", 706, nullptr, &TMANForm::LoaduMClick, 'L');
  AddMenuItem(File1_, "SaveuM", 705, nullptr, &TMANForm::SaveuMClick, 'M');
  AddMenuItem(File1_, "DefaultuM", 0, nullptr, &TMANForm::DefaultuMClick)
      ->setText("恢复默认指令系统(&D)");
  File1_->addSeparator();
  AddMenuItem(File1_, "SaveINSTCSV", 680, nullptr, &TMANForm::SaveINSTCSVClick, 'I');
  AddMenuItem(File1_, "SaveuMCSV", 681, nullptr, &TMANForm::SaveuMCSVClick, 'C');
  AddMenuItem(File1_, "SaveTraceCSV", 682, nullptr, &TMANForm::SaveTraceCSVClick, 'T');
  File1_->addSeparator();
  connect(AddMenuItem(File1_, "Exit2", 708, nullptr, nullptr), &QAction::triggered, this,
          &QWidget::close);
  connect(File1_, &QMenu::aboutToShow, this, &TMANForm::File1Popup);

  Edit1_ = bar->addMenu("编辑(&E)");
  Edit1_->setObjectName("Edit1");
  connect(AddMenuItem(Edit1_, "Undo1", 709, nullptr, nullptr), &QAction::triggered, this,
          [this] { source_->Memo1()->undo(); });
  connect(AddMenuItem(Edit1_, "Redo1", 710, nullptr, nullptr), &QAction::triggered, this,
          [this] { source_->Memo1()->redo(); });
  Edit1_->addSeparator();
  AddMenuItem(Edit1_, "Cut1", 711, nullptr, &TMANForm::CutBtnClick);
  AddMenuItem(Edit1_, "Copy1", 712, nullptr, &TMANForm::CopyBtnClick);
  AddMenuItem(Edit1_, "Paste1", 713, nullptr, &TMANForm::PasteBtnClick);
  Edit1_->addSeparator();
  connect(AddMenuItem(Edit1_, "Selectall1", 754, nullptr, nullptr), &QAction::triggered, this,
          [this] { source_->Memo1()->selectAll(); });
  // The source editor's own search; its keys (Ctrl+F, Ctrl+H, Ctrl+L) belong to the editor,
  // so the items only name them.
  Edit1_->addSeparator();
  connect(AddMenuItem(Edit1_, "Find1", 0, nullptr, nullptr), &QAction::triggered, this,
          [this] { source_->Search1Click(); });
  connect(AddMenuItem(Edit1_, "Replace1", 0, nullptr, nullptr), &QAction::triggered, this,
          [this] { source_->Replace1Click(); });
  connect(AddMenuItem(Edit1_, "FindNext1", 0, nullptr, nullptr), &QAction::triggered, this,
          [this] { source_->FindNext1Click(); });
  Action("Find1")->setText("查找(&F)...\tCtrl+F");
  Action("Replace1")->setText("替换(&H)...\tCtrl+H");
  Action("FindNext1")->setText("查找下一个(&N)\tCtrl+L");
  connect(Edit1_, &QMenu::aboutToShow, this, &TMANForm::Edit1Popup);

  Assemble1_ = bar->addMenu("汇编(&A)");
  Assemble1_->setObjectName("Assemble1");
  AddMenuItem(Assemble1_, "Make1", 739, "F9", &TMANForm::Make1Click);
  connect(Assemble1_, &QMenu::aboutToShow, this, &TMANForm::Assemble1Popup);

  Run1_ = bar->addMenu("运行(&R)");
  Run1_->setObjectName("Run1");
  AddMenuItem(Run1_, "Run2", 756, "Ctrl+F9", &TMANForm::RunBtnClick);
  AddMenuItem(Run1_, "Traceinto1", 743, "F7", &TMANForm::TraceBtnClick);
  AddMenuItem(Run1_, "StepOver1", 742, "F8", &TMANForm::StepBtnClick);
  AddMenuItem(Run1_, "Pause1", 746, nullptr, &TMANForm::PauseBtnClick);
  AddMenuItem(Run1_, "Reset1", 747, "Ctrl+F2", &TMANForm::ResetBtnClick);
  AddMenuItem(Run1_, "Interrupt1", 0, nullptr, &TMANForm::IntBtnClick)->setText("中断输入(&I)");
  CreateRunMenuAdditions(Run1_);
  connect(Run1_, &QMenu::aboutToShow, this, &TMANForm::Run1Popup);

  Help1_ = bar->addMenu("帮助(&H)");
  Help1_->setObjectName("Help1");
  AddMenuItem(Help1_, "Manual1", 0, nullptr, &TMANForm::Manual1Click)->setText("使用手册(&M)");
  AddMenuItem(Help1_, "Graph1", 0, nullptr, &TMANForm::Graph1Click)->setText("图示帮助(&G)");
}

// Menu captions come from the message table each time a menu opens.
void TMANForm::SetCaptions() {
  for (QMenu* menu : {File1_, Edit1_, Assemble1_, Run1_})
    for (QAction* action : menu->actions())
      if (const int message = action->data().toInt(); message > 0)
        action->setText(WithMnemonic(Msg(message), char(action->property("mnemonic").toInt())));
}

QAction* TMANForm::Action(const char* name) const { return actions_.value(QLatin1String(name)); }

QList<QAction*> TMANForm::ShortcutActions() const {
  QList<QAction*> keyed;
  for (QAction* action : actions_)
    if (!action->shortcut().isEmpty()) keyed << action;
  return keyed;
}

void TMANForm::File1Popup() {
  SetCaptions();
  // The run worker executes uM: neither a load nor a new system may replace it meanwhile.
  for (const char* name : {"LoaduM", "NewuM", "DefaultuM"})
    Action(name)->setEnabled(!workbench_.control.Running());
  Action("SaveFile1")->setEnabled(true);
  Action("SaveFileas1")->setEnabled(!source_->Empty());
}

void TMANForm::Edit1Popup() {
  SetCaptions();
  QsciScintilla* memo = source_->Memo1();
  Action("Undo1")->setEnabled(memo->isUndoAvailable());
  Action("Redo1")->setEnabled(memo->isRedoAvailable());
  Action("Selectall1")->setEnabled(!source_->Empty());
  Action("Cut1")->setEnabled(memo->hasSelectedText());
  Action("Copy1")->setEnabled(memo->hasSelectedText());
  Action("Paste1")->setEnabled(clipboardHasText_);
}

void TMANForm::Assemble1Popup() {
  SetCaptions();
  Action("Make1")->setEnabled(!workbench_.control.Running());
}

void TMANForm::Run1Popup() {
  SetCaptions();
  const bool running = workbench_.control.Running();
  for (const char* name : {"Run2", "Traceinto1", "StepOver1", "Reset1", "RunToCursor1"})
    Action(name)->setEnabled(!running);
  Action("Pause1")->setEnabled(running);
}

void TMANForm::UpdateButtons() {
  if (!source_) return;
  const bool running = workbench_.control.Running();
  Action("SaveAllBtn")->setEnabled(true);
  Action("MakeBtn")->setEnabled(!running);
  for (const char* name : {"ResetBtn", "TraceBtn", "StepBtn", "RunBtn"})
    Action(name)->setEnabled(!running);
  Action("PauseBtn")->setEnabled(running);
  const bool selection = source_->Memo1()->hasSelectedText();
  Action("CutBtn")->setEnabled(selection);
  Action("CopyBtn")->setEnabled(selection);
  Action("PasteBtn")->setEnabled(clipboardHasText_);
  // The shortcuts follow the menus' enable rules even while the menus are closed.
  Action("Make1")->setEnabled(!running);
  for (const char* name : {"Run2", "Traceinto1", "StepOver1", "Reset1", "RunToCursor1"})
    Action(name)->setEnabled(!running);
  Action("Pause1")->setEnabled(running);
  ShowStatus();
}

void TMANForm::ShowStatus() {
  status_->ShowMachine(workbench_.control.Running(), workbench_.machine.MicroStepsSinceReset());
}

void TMANForm::RefreshBtnClick() {
  std::lock_guard outer(workbench_.control.OuterLock);
  std::lock_guard inner(workbench_.control.InnerLock);
  UpdateButtons();
  micro_->RefreshMicroViews();
}

void TMANForm::CutBtnClick() { source_->Memo1()->cut(); }
void TMANForm::CopyBtnClick() { source_->Memo1()->copy(); }
void TMANForm::PasteBtnClick() { source_->Memo1()->paste(); }

void TMANForm::ResetBtnClick() {
  if (workbench_.control.Running()) return;
  WaitForLink();
  workbench_.control.Reset();
  source_->RefreshLineGlyphs();
}

void TMANForm::PauseBtnClick() { workbench_.control.Pause(); }

void TMANForm::RunBtnClick() {
  if (workbench_.control.Running()) return;
  WaitForLink();
  RunFinished();  // the epilogue of a run that has just stopped by itself comes first
  workbench_.control.Run();
  RunStarted();
}

void TMANForm::TraceBtnClick() {
  if (workbench_.control.Running()) return;
  WaitForLink();
  workbench_.control.Trace();
  source_->RefreshLineGlyphs();
}

void TMANForm::StepBtnClick() {
  if (workbench_.control.Running()) return;
  WaitForLink();
  workbench_.control.Step();
  source_->RefreshLineGlyphs();
}

void TMANForm::IntBtnClick() {
  WaitForLink();
  workbench_.control.Interrupt();
}

void TMANForm::RunFinished() {
  // Called late, for a run whose epilogue has run already or while a newer run goes on, it
  // has nothing to do.
  if (workbench_.control.Running() || !workbench_.control.RunAwaitingEpilogue()) return;
  runRefresh_->stop();
  workbench_.control.FinishRun();
  source_->RefreshLineGlyphs();
}

bool TMANForm::DrawAllBuses() const { return Action("sbDrawBus")->isChecked(); }
bool TMANForm::AnimateFlow() const { return Action("sbAnimate")->isChecked(); }

void TMANForm::Graph1Click() { pgHost_->setCurrentWidget(struc_); }

void TMANForm::Timer1Timer() {
  // Without a box link the workbench stays in simulation and the caption keeps the
  // not-connected status.
  if (link_) link_->Tick();
  ShowStatus();  // a run does not repaint per step; its count moves on here
}

void TMANForm::InstructionSystemChanged() {
  // The table may change while a run is in progress; the refresh restores the newest record
  // into the live state, so it waits for the step in progress.
  RunLock lock(workbench_.control);
  micro_->RefreshMicroViews();
  memory_->RepaintMemory();  // the refresh brings the newest record's EM back
  cpu_->viewport()->update();
}

void TMANForm::closeEvent(QCloseEvent* event) {
  // A changed FPGA board mode is offered for saving after the texts and the instruction system.
  if (!CloseQuery() || !fpga_->AllowDropMode()) {
    event->ignore();
    return;
  }
  workbench_.control.Pause();
  event->accept();
}

}  // namespace edumac8
