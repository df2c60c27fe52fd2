#include "fpga/tstruc_fpgaf.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScreen>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>

#include "fpga/board_area.h"
#include "fpga/board_button.h"
#include "fpga/board_images.h"
#include "fpga/component_geometry.h"
#include "fpga/component_picture.h"
#include "fpga/shown_text.h"
#include "fpga/tfled_set.h"
#include "fpga/tfseg8_set.h"
#include "fpga/typed_values.h"
#include "ui/file_names.h"

namespace edumac8 {
namespace {

constexpr int kTestInterval = 100;

BoardButton* ToolButton(QWidget* parent, const char* name, const QString& caption,
                        const QString& hint, QRect geometry, bool flat = false) {
  auto* button = new BoardButton(parent, flat);
  button->setObjectName(name);
  button->setText(caption);
  button->setToolTip(hint);
  button->setGeometry(geometry);
  return button;
}

QLabel* Panel(QWidget* parent, const char* name, const BoardRect& r) {
  auto* panel = new QLabel(parent);
  panel->setObjectName(name);
  panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
  panel->setAlignment(Qt::AlignCenter);
  panel->setGeometry(r.x, r.y, r.width, r.height);
  return panel;
}

}  // namespace

TStrucFPGAF::TStrucFPGAF(Workbench& workbench, DialogsSource dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window),
      workbench_(workbench),
      dialogs_(std::move(dialogs)),
      runDialog_([](QDialog& dialog) { return dialog.exec(); }) {
  FormCreate();
}

void TStrucFPGAF::FormCreate() {
  setObjectName("TStrucFPGAF");
  QPalette silver = palette();
  silver.setColor(QPalette::Window, kSilver);
  silver.setColor(QPalette::Button, kSilver);
  setPalette(silver);
  setAutoFillBackground(true);

  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(CreateToolColumn());
  auto* panel2 = new QWidget;
  panel2->setObjectName("Panel2");
  auto* column = new QVBoxLayout(panel2);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  area_ = new BoardArea;
  // A click on the board takes the focus from a port box, so that Delete deletes again.
  area_->setFocusPolicy(Qt::ClickFocus);
  area_->installEventFilter(this);
  column->addWidget(area_, 1);
  column->addWidget(CreateBottomRow());
  layout->addWidget(panel2, 1);

  timer1_ = new QTimer(this);
  timer1_->setObjectName("Timer1");
  timer1_->setInterval(kTestInterval);
  connect(timer1_, &QTimer::timeout, this, &TStrucFPGAF::Timer1Timer);

  // The window sees Delete before the drawing area; a port box being edited keeps it.
  auto* del = new QShortcut(QKeySequence(Qt::Key_Delete), this);
  del->setContext(Qt::WidgetWithChildrenShortcut);
  connect(del, &QShortcut::activated, this, &TStrucFPGAF::MDelClick);

  ledSet_ = new TFLEDSet(this);
  seg8Set_ = new TFSEG8Set(this);

  resize(kBoardWindowWidth, kBoardWindowHeight);
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
  for (int i = 0; i < kBoardColumns; ++i) ApplyColumn(i);
  RebuildControls();
  UpdateCaption();
}

QWidget* TStrucFPGAF::CreateToolColumn() {
  auto* panel1 = new QFrame;
  panel1->setObjectName("Panel1");
  panel1->setFixedWidth(kToolColumnWidth);
  panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
  LocX_ = new QLabel("X: 0", panel1);
  LocX_->setObjectName("LocX");
  LocX_->setGeometry(8, 6, 94, 16);
  LocY_ = new QLabel("Y: 0", panel1);
  LocY_->setObjectName("LocY");
  LocY_->setGeometry(8, 24, 94, 16);

  static const char* const kHints[8] = {
      "",           "放置 LED",       "放置八段管", "放置八段管（带LED）",
      "放置八段管", "放置8 位八段管", "放置按钮",   ""};
  for (int tag = 1; tag <= 7; ++tag) {
    const int row = (tag - 1) / 2, col = (tag - 1) % 2;
    BoardButton* co = ToolButton(panel1, qPrintable(QString("co%1").arg(tag)), QString(),
                                 kHints[tag], QRect(8 + 48 * col, 48 + 46 * row, 46, 44), true);
    co->setCheckable(true);
    if (tag <= kEightDigits) co->SetPicture(PaletteImage(tag));
    connect(co, &BoardButton::clicked, this, [this, tag] { sbRPClick(tag); });
    palette_[tag] = co;
  }
  // The button component and the placeholder are read from files but not placed by hand.
  for (int tag : {int(kButton), int(kPlaceholder)}) {
    palette_[tag]->hide();
    palette_[tag]->setEnabled(false);
  }
  coX_ = ToolButton(panel1, "coX", "✕", "Shift+左键选中器件再删除", QRect(56, 140, 46, 44), true);
  QFont big = coX_->font();
  big.setPointSize(16);
  coX_->setFont(big);
  connect(coX_, &BoardButton::clicked, this, [this] { sbRPClick(kDeleteTool); });

  connect(ToolButton(panel1, "BitBtn1", "新建模式", "新建模式文件", QRect(8, 200, 94, 28)),
          &BoardButton::clicked, this, &TStrucFPGAF::NewMode);
  connect(ToolButton(panel1, "bbLoad", "打开模式", "打开模式文件", QRect(8, 232, 94, 28)),
          &BoardButton::clicked, this, &TStrucFPGAF::OpenMode);
  connect(ToolButton(panel1, "bbSave", "保存模式", "保存模式文件", QRect(8, 264, 94, 28)),
          &BoardButton::clicked, this, [this] { SaveMode(); });
  connect(ToolButton(panel1, "bbR", "编程FPGA", "编程 FPGA", QRect(8, 310, 94, 28)),
          &BoardButton::clicked, this, &TStrucFPGAF::bbRClick);
  sbLA_ = ToolButton(panel1, "sbLA", "启动LA", QString(), QRect(8, 356, 94, 28));
  sbLA_->setCheckable(true);
  connect(sbLA_, &BoardButton::clicked, this, &TStrucFPGAF::sbLAClick);
  sbT_ = ToolButton(panel1, "sbT", "T", QString(), QRect(8, 388, 94, 28));
  sbT_->setCheckable(true);
  connect(sbT_, &BoardButton::clicked, this, &TStrucFPGAF::sbTClick);
  return panel1;
}

QWidget* TStrucFPGAF::CreateBottomRow() {
  panel4_ = new QFrame;
  panel4_->setObjectName("Panel4");
  panel4_->setFixedHeight(kBottomPanelHeight);
  static_cast<QFrame*>(panel4_)->setFrameStyle(QFrame::Panel | QFrame::Raised);
  auto* row = new QHBoxLayout(panel4_);
  row->setContentsMargins(0, 0, 8, 0);
  auto* columnsHost = new QWidget;
  columnsHost->setFixedSize(100 * kBoardColumns + 8, kBottomPanelHeight);
  for (int i = 0; i < kBoardColumns; ++i) {
    const ColumnGeometry g = ColumnGeometryOf(i);
    ColumnControls& c = columns_[i];
    c.portBox = new QFrame(columnsHost);
    c.portBox->setFrameStyle(QFrame::Panel | QFrame::Raised);
    c.portBox->setGeometry(g.portBox.x, g.portBox.y, g.portBox.width, g.portBox.height);
    c.portEdit = new QLineEdit(c.portBox);
    c.portEdit->setObjectName(QString("PortEdit%1").arg(i));
    c.portEdit->setGeometry(g.portEdit.x, g.portEdit.y, g.portEdit.width, g.portEdit.height);
    c.portEdit->setContextMenuPolicy(Qt::PreventContextMenu);
    c.portEdit->installEventFilter(this);
    connect(c.portEdit, &QLineEdit::textEdited, this, [this, i](const QString& text) {
      Mode().columns[i].PortText = TypedText(text.toStdString());
      Mode().Modified = true;
    });
    c.portLabel = Panel(columnsHost, qPrintable(QString("PortLabel%1").arg(i)), g.portLabel);
    c.key = new BoardButton(columnsHost, false);
    c.key->setObjectName(QString("sbKey%1").arg(i));
    c.key->setGeometry(g.key.x, g.key.y, g.key.width, g.key.height);
    c.key->installEventFilter(this);
    connect(c.key, &BoardButton::clicked, this, [this, i] { sbKeyClick(i); });
    c.keyLabel = Panel(columnsHost, qPrintable(QString("KeyLabel%1").arg(i)), g.keyLabel);
    c.keyLabel->setToolTip("...");
  }
  row->addWidget(columnsHost);
  row->addStretch(1);
  sbDout_ = ToolButton(panel4_, "sbDout", " 输出D", QString(), QRect(0, 0, 72, 36));
  sbDout_->setFixedSize(72, 36);
  connect(sbDout_, &BoardButton::clicked, this, &TStrucFPGAF::sbDoutClick);
  row->addWidget(sbDout_, 0, Qt::AlignVCenter);
  return panel4_;
}

void TStrucFPGAF::UpdateCaption() {
  // The name keeps the file system's bytes; the caption shows it as a person reads it.
  setWindowTitle(QString::fromStdString(BoardCaption(link_, std::string())) +
                 DisplayPath(PathText(Mode().ModeFileName)));
}

void TStrucFPGAF::ShowLinkStatus(const BoardLinkState& link) {
  link_ = link;
  UpdateCaption();
}

void TStrucFPGAF::ShowBoard() {
  showNormal();
  raise();
  activateWindow();
}

void TStrucFPGAF::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // Closing stopped the test timer but left sbT down: the test mode goes on where it was.
  if (sbT_->isChecked()) timer1_->start();
}

void TStrucFPGAF::closeEvent(QCloseEvent* event) {
  timer1_->stop();
  event->accept();  // hides: the window lives as long as the workbench
}

void TStrucFPGAF::sbTClick() {
  if (sbT_->isChecked())
    timer1_->start();
  else
    timer1_->stop();
}

void TStrucFPGAF::sbLAClick() { sbLA_->setText(sbLA_->isChecked() ? "停止LA" : "启动LA"); }

void TStrucFPGAF::sbDoutClick() {
  for (BoardColumn& c : Mode().columns) c.ClockBusy = 0;
}

void TStrucFPGAF::ApplyColumn(int i) {
  const BoardColumn& col = Mode().columns[i];
  ColumnControls& c = columns_[i];
  c.portEdit->setText(ShownText(col.PortText));
  c.portLabel->setText(ShownText(col.PortLabel));
  c.keyLabel->setText(ShownText(col.KeyLabel));
  ApplyKeyKind(i);
}

void TStrucFPGAF::ApplyKeyKind(int i) {
  BoardButton* key = columns_[i].key;
  // Edge keys are push buttons; the others latch and can be raised again.
  const bool edge = IsEdgeKey(Mode().columns[i].KeyType);
  if (edge) key->setChecked(false);
  key->setCheckable(!edge);
  RedrawKey(i);
}

void TStrucFPGAF::RedrawKey(int i) {
  BoardButton* key = columns_[i].key;
  key->SetPicture(KeyPicture(Mode().columns[i].KeyType, key->isChecked()));
}

bool TStrucFPGAF::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick &&
      type != QEvent::MouseMove && type != QEvent::MouseButtonRelease)
    return false;
  const bool press = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick;
  auto* mouse = static_cast<QMouseEvent*>(event);
  if (watched == area_) {
    if (press)
      imgMMouseDown(mouse);
    else if (type == QEvent::MouseMove)
      imgMMouseMove(mouse);
    return false;
  }
  for (int i = 0; i < kBoardColumns; ++i) {
    if (watched == columns_[i].key && press && mouse->button() == Qt::RightButton) {
      sbKeyMouseDown(i);
      return true;
    }
    if (watched == columns_[i].portEdit && press && mouse->button() == Qt::RightButton) {
      EditMouseDown(i);
      return true;
    }
  }
  const int component = ComponentOf(watched);
  if (component < 0) return false;
  const bool visual = watched == controls_[component].visual;
  // The pictures and names take every right click and pointer move themselves, so that none
  // reaches the drawing area beneath them.
  if (press) {
    if (visual) CompMouseDown(component, mouse);
    return mouse->button() != Qt::LeftButton;
  }
  if (type == QEvent::MouseMove) {
    if (visual) CompMouseMove(component, mouse);
    return true;
  }
  if (type == QEvent::MouseButtonRelease && visual) CompMouseUp(component);
  return false;
}

}  // namespace edumac8
