// The board window's editing: placing, selecting, moving, deleting and setting up components,
// and the settings of the bottom row's keys and ports.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>

#include "fpga/board_area.h"
#include "fpga/board_button.h"
#include "fpga/component_geometry.h"
#include "fpga/component_picture.h"
#include "fpga/shown_text.h"
#include "fpga/tfled_set.h"
#include "fpga/tfseg8_set.h"
#include "fpga/tstruc_fpgaf.h"

namespace edumac8 {
namespace {

void Place(QWidget* w, const BoardRect& r) { w->setGeometry(r.x, r.y, r.width, r.height); }

}  // namespace

void TStrucFPGAF::CreateControls(int component) {
  const CList& c = Mode().components[component];
  ComponentControls controls;
  controls.visual = new BoardButton(area_, EffectiveKind(c.Kind) != kButton);
  controls.visual->setToolTip("鼠标右键设置");
  controls.visual->setCursor(Qt::PointingHandCursor);
  controls.visual->setMouseTracking(true);
  controls.visual->setCheckable(EffectiveKind(c.Kind) == kButton);
  controls.visual->installEventFilter(this);
  controls.label = new BoardButton(area_, true);
  controls.label->installEventFilter(this);
  controls_.insert(controls_.begin() + component, controls);
  PlaceControls(component);
  controls.visual->show();
  controls.label->show();
}

void TStrucFPGAF::PlaceControls(int component) {
  const CList& c = Mode().components[component];
  const ComponentControls& controls = controls_[component];
  const ComponentGeometry g = GeometryOf(c.Kind, c.X, c.Y);
  Place(controls.visual, g.visual);
  Place(controls.label, g.label);
  controls.label->setText(ShownText(c.Label));
  controls.label->setToolTip(QString::fromStdString(c.LabelHint));
}

void TStrucFPGAF::RebuildControls() {
  for (const ComponentControls& c : controls_) {
    delete c.visual;
    delete c.label;
  }
  controls_.clear();
  controls_.reserve(Mode().components.size());
  for (int i = 0; i < static_cast<int>(Mode().components.size()); ++i) CreateControls(i);
  selected_ = -1;
  FullRedraw();
}

void TStrucFPGAF::DeleteComponent(int component) {
  delete controls_[component].visual;
  delete controls_[component].label;
  controls_.erase(controls_.begin() + component);
  Mode().components.erase(Mode().components.begin() + component);
  Mode().Modified = true;
  if (dragged_ == component) dragged_ = -1;
  selected_ = -1;
}

void TStrucFPGAF::DeleteAllComponents() {
  Mode().components.clear();
  RebuildControls();
}

int TStrucFPGAF::ComponentOf(QObject* control) const {
  for (int i = 0; i < static_cast<int>(controls_.size()); ++i)
    if (controls_[i].visual == control || controls_[i].label == control) return i;
  return -1;
}

void TStrucFPGAF::Select(int component) {
  selected_ = component;
  // Its picture changes although its value does not.
  if (component >= 0) {
    CList& c = Mode().components[component];
    c.ShownValue = c.Value + 1;
  }
}

void TStrucFPGAF::ReleasePalette() {
  for (BoardButton* co : palette_)
    if (co) co->setChecked(false);
}

void TStrucFPGAF::FullRedraw() {
  fullRedraw_ = true;
  InitForm();
}

void TStrucFPGAF::sbRPClick(int tag) {
  if (tag == kDeleteTool) {
    if (selected_ < 0) return;
    DeleteComponent(selected_);
    tool_ = 0;
    ReleasePalette();
    area_->ErasePreview();
    FullRedraw();
    return;
  }
  if (palette_[tag]->isChecked()) {
    for (BoardButton* co : palette_)
      if (co && co != palette_[tag]) co->setChecked(false);
    tool_ = tag;
  } else {
    tool_ = 0;
    area_->ErasePreview();
  }
}

void TStrucFPGAF::MDelClick() {
  if (selected_ < 0) return;
  DeleteComponent(selected_);
  FullRedraw();
}

void TStrucFPGAF::imgMMouseMove(QMouseEvent* event) {
  const int x = SnapToGrid(event->position().toPoint().x());
  const int y = SnapToGrid(event->position().toPoint().y());
  LocX_->setText("X: " + QString::number(x));
  LocY_->setText("Y: " + QString::number(y));
  if (tool_ != 0) area_->ShowPreview(tool_, x, y);
}

void TStrucFPGAF::imgMMouseDown(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (event->button() == Qt::LeftButton) {
    if (tool_ != 0)
      PlaceComponent(SnapToGrid(at.x()), SnapToGrid(at.y()));
    else
      Select(ComponentAt(Mode(), at.x(), at.y()).value_or(-1));
  } else if (event->button() == Qt::RightButton && tool_ == 0) {
    if (const std::optional<int> c = ComponentAt(Mode(), at.x(), at.y())) SetUpComponent(*c);
  }
  FullRedraw();
}

void TStrucFPGAF::PlaceComponent(int x, int y) {
  // Beyond 900 x 640 a mode file could not keep it.
  if (!WithinBoard(x, y)) return;
  Mode().components.push_back(CreateNewRec(x, y, tool_));
  Mode().Modified = true;
  CreateControls(static_cast<int>(Mode().components.size()) - 1);
  tool_ = 0;
  ReleasePalette();
  area_->ErasePreview();
}

void TStrucFPGAF::CompMouseDown(int component, QMouseEvent* event) {
  area_->setFocus(Qt::MouseFocusReason);
  if (event->button() == Qt::LeftButton) {
    Select(event->modifiers() & Qt::ShiftModifier ? component : -1);
    const CList& c = Mode().components[component];
    dragged_ = component;
    dragStart_ = area_->mapFromGlobal(event->globalPosition().toPoint());
    dragGrip_ = dragStart_ - QPoint(c.X, c.Y);
    dragMoved_ = false;
  } else if (event->button() == Qt::RightButton) {
    SetUpComponent(component);
  }
  FullRedraw();
}

void TStrucFPGAF::CompMouseMove(int component, QMouseEvent* event) {
  const QPoint at = area_->mapFromGlobal(event->globalPosition().toPoint());
  LocX_->setText("MX: " + QString::number(SnapToGrid(at.x())));
  LocY_->setText("MY: " + QString::number(SnapToGrid(at.y())));
  if (dragged_ != component || !(event->buttons() & Qt::LeftButton)) return;
  if (!dragMoved_ && (at - dragStart_).manhattanLength() < QApplication::startDragDistance())
    return;
  dragMoved_ = true;
  CList& c = Mode().components[component];
  const QPoint to(std::clamp(SnapToGrid(at.x() - dragGrip_.x()), 0, kBoardMaxX),
                  std::clamp(SnapToGrid(at.y() - dragGrip_.y()), 0, kBoardMaxY));
  if (to == QPoint(c.X, c.Y)) return;
  c.X = to.x();
  c.Y = to.y();
  Mode().Modified = true;
  PlaceControls(component);
}

void TStrucFPGAF::CompMouseUp(int component) {
  if (dragged_ == component && dragMoved_) {
    // A drag is no click: a button component keeps its state.
    controls_[component].visual->setDown(false);
    FullRedraw();
  }
  dragged_ = -1;
}

bool TStrucFPGAF::RunDialog(QDialog& dialog) { return runDialog_(dialog) == QDialog::Accepted; }

void TStrucFPGAF::SetUpComponent(int component) {
  CList& c = Mode().components[component];
  const int kind = EffectiveKind(c.Kind);
  if (kind == kLed || kind == kButton) {
    TFLEDSetFields& f = ledSet_->fields;
    f.mode = kind == kLed ? TFLEDSet::kLedMode : TFLEDSet::kButtonMode;
    f.x = c.X;
    f.y = c.Y;
    f.colour = c.Colour;
    f.ioGroup = c.IOGroup;
    f.bit = c.Bit;
    f.clockCount = c.ClockCount;
    f.name = c.Label;
    ledSet_->FormShow();
    if (!RunDialog(*ledSet_)) return;
    c.X = f.x;
    c.Y = f.y;
    c.Colour = static_cast<std::uint8_t>(f.colour);
    c.IOGroup = f.ioGroup;
    c.Bit = f.bit;
    c.ClockCount = f.clockCount;
    c.Label = f.name;
    c.SetupMode = f.mode;
  } else if (kind != kPlaceholder) {
    TFSEG8SetFields& f = seg8Set_->fields;
    f.mode = kind == kSegmentDigit  ? TFSEG8Set::kSegmentMode
             : kind == kEightDigits ? TFSEG8Set::kEightDigitMode
                                    : TFSEG8Set::kTwoDigitMode;
    f.x = c.X;
    f.y = c.Y;
    f.ioGroup = c.IOGroup;
    f.name = c.Label;
    seg8Set_->FormShow();
    if (!RunDialog(*seg8Set_)) return;
    c.X = f.x;
    c.Y = f.y;
    c.IOGroup = f.ioGroup;
    c.Label = f.name;
    c.SetupMode = f.mode;
  } else {
    return;
  }
  c.LabelHint = SetupHint(c);
  Mode().Modified = true;
  PlaceControls(component);
}

void TStrucFPGAF::sbKeyMouseDown(int i) {
  BoardColumn& col = Mode().columns[i];
  TFLEDSetFields& f = ledSet_->fields;
  f.mode = TFLEDSet::kKeyMode;
  f.colour = col.KeyType;
  f.clockCount = static_cast<std::uint32_t>(col.KeyClockCount);
  f.ioGroup = col.KeyIO;
  f.bit = col.KeyFreq;
  f.name = col.KeyLabel;
  f.x = 0;
  f.y = 0;
  ledSet_->FormShow();
  if (RunDialog(*ledSet_)) {
    col.KeyType = static_cast<std::uint8_t>(f.colour);
    col.KeyClockCount = static_cast<int>(f.clockCount);
    col.KeyIO = static_cast<std::uint16_t>(f.ioGroup);
    col.KeyFreq = f.bit;
    col.KeyLabel = f.name;
    columns_[i].keyLabel->setText(ShownText(col.KeyLabel));
    columns_[i].keyLabel->setToolTip("Pin: K" + QString::number(i));
    Mode().Modified = true;
    ApplyKeyKind(i);
  }
  RedrawKey(i);
}

void TStrucFPGAF::EditMouseDown(int i) {
  BoardColumn& col = Mode().columns[i];
  TFSEG8SetFields& f = seg8Set_->fields;
  f.mode = TFSEG8Set::kPortMode;
  f.ioGroup = col.PortIO;
  f.name = col.PortLabel;
  f.x = 0;
  f.y = 0;
  seg8Set_->FormShow();
  if (!RunDialog(*seg8Set_)) return;
  col.PortLabel = f.name;
  col.PortIO = f.ioGroup;
  columns_[i].portLabel->setText(ShownText(col.PortLabel));
  Mode().Modified = true;
}

}  // namespace edumac8
