#include "isa/instruction_set_window.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "isa/grid_rows.h"
#include "isa/instr_grid_model.h"
#include "platform/text_codec.h"
#include "views/grid_font.h"
#include "views/grid_text_delegate.h"

namespace edumac8 {
namespace {

constexpr int kRowHeight = 18;
constexpr int kColumnWidths[] = {120, 150, 64, 64};
constexpr const char* kKindItems[] = {"", "A", "R?", "@R?", "#II", "MM"};

QComboBox* KindList(const char* name, QWidget* parent) {
  auto* list = new QComboBox(parent);
  list->setObjectName(name);
  for (const char* item : kKindItems) list->addItem(QString::fromLatin1(item));
  list->setMinimumContentsLength(4);
  return list;
}

QLabel* Panel(const char* name, int width, QWidget* parent) {
  auto* panel = new QLabel(parent);
  panel->setObjectName(name);
  panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  panel->setFont(GridFont());
  panel->setAlignment(Qt::AlignCenter);
  panel->setFixedWidth(width);
  return panel;
}

}  // namespace

TFASMDef::TFASMDef(Workbench& workbench, QWidget* parent)
    : QWidget(parent), workbench_(workbench), errorBox_(ModalErrorBox(this)) {
  setWindowTitle(QStringLiteral("指令系统"));
  setObjectName("TFASMDef");

  model_ = new InstrGridModel(workbench_.isa, this);
  grid_ = new QTableView(this);
  grid_->setObjectName("ASMDefGrid");
  grid_->setModel(model_);
  grid_->setItemDelegate(new GridTextDelegate(grid_));
  grid_->setFont(GridFont());
  grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid_->setSelectionMode(QAbstractItemView::SingleSelection);
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setWordWrap(false);
  grid_->setCornerButtonEnabled(false);
  grid_->verticalHeader()->hide();
  grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid_->verticalHeader()->setDefaultSectionSize(kRowHeight);
  grid_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  grid_->horizontalHeader()->setHighlightSections(false);
  grid_->horizontalHeader()->setStretchLastSection(true);
  grid_->horizontalHeader()->setFixedHeight(kRowHeight + 2);
  for (int c = 0; c < 4; ++c) grid_->setColumnWidth(c, kColumnWidths[c]);
  connect(grid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& current) {
            if (current.isValid()) ASMDefGridSelectCell(current.row() + 1);
          });

  OPD = new QLineEdit(this);
  OPD->setObjectName("OPD");
  OPD->setFont(GridFont());
  OPD->setFixedWidth(120);
  connect(OPD, &QLineEdit::editingFinished, this, &TFASMDef::OPDExit);
  OP1 = KindList("OP1", this);
  OP2 = KindList("OP2", this);
  connect(OP1, &QComboBox::activated, this, &TFASMDef::OP1Change);
  connect(OP2, &QComboBox::activated, this, &TFASMDef::OP2Change);
  MC1S = Panel("MC1S", 64, this);
  MC2S = Panel("MC2S", 40, this);
  MC3S = Panel("MC3S", 40, this);
  ModifyBtn = new QPushButton(QStringLiteral("修 改"), this);
  ModifyBtn->setObjectName("ModifyBtn");
  DeleteBtn = new QPushButton(QStringLiteral("删除"), this);
  DeleteBtn->setObjectName("DeleteBtn");
  connect(ModifyBtn, &QPushButton::clicked, this, &TFASMDef::ModifyBtnClick);
  connect(DeleteBtn, &QPushButton::clicked, this, &TFASMDef::DeleteBtnClick);

  const InstrGridRow header = InstrGridHeader();
  auto caption = [this](const std::string& text) {
    return new QLabel(QString::fromStdString(text), this);
  };
  auto* editor = new QHBoxLayout;
  editor->setContentsMargins(6, 4, 6, 4);
  editor->setSpacing(6);
  editor->addWidget(caption(header[0]));
  editor->addWidget(OPD);
  editor->addWidget(OP1);
  editor->addWidget(OP2);
  editor->addSpacing(12);
  editor->addWidget(caption(header[1]));
  editor->addWidget(MC1S);
  editor->addWidget(caption(header[2]));
  editor->addWidget(MC2S);
  editor->addWidget(caption(header[3]));
  editor->addWidget(MC3S);
  editor->addStretch(1);
  editor->addWidget(ModifyBtn);
  editor->addWidget(DeleteBtn);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(grid_, 1);
  layout->addLayout(editor);

  SelectEntry(0);
}

void TFASMDef::Refresh() {
  model_->Refresh();
  LoadEditor();
}

void TFASMDef::SelectEntry(int entry) {
  if (entry == current_ && grid_->currentIndex().isValid()) {
    ASMDefGridSelectCell(entry + 1);
    return;
  }
  const QModelIndex index = model_->index(entry, std::max(grid_->currentIndex().column(), 0));
  grid_->selectionModel()->setCurrentIndex(
      index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  grid_->scrollTo(index);
}

void TFASMDef::ASMDefGridSelectCell(int row) {
  current_ = row - 1;
  LoadEditor();
}

void TFASMDef::LoadEditor() {
  const InstrEntry& e = workbench_.isa.InstrTable[current_];
  editedMnemonic_ = e.defined ? Gb2312ToUtf8(e.mnemonic) : "";
  editedKind1_ = e.defined ? e.kind1 : 0;
  editedKind2_ = e.defined ? e.kind2 : 0;
  OPD->setText(QString::fromStdString(editedMnemonic_));
  OP1->setCurrentIndex(editedKind1_);
  OP2->setCurrentIndex(editedKind2_);
  ShowPanels();
}

void TFASMDef::ShowPanels() {
  MC1S->setText(QString::fromStdString(OpcodeRangeText(static_cast<std::uint8_t>(current_ * 4))));
  MC2S->setText(QString::fromStdString(OperandByteText(editedKind1_, editedKind2_)));
  MC3S->setText(QString::fromStdString(SecondOperandByteText(editedKind1_, editedKind2_)));
}

void TFASMDef::OPDExit() {
  // The whole text is kept, so a name longer than 12 characters is refused rather than cut.
  editedMnemonic_ = OPD->text().toStdString();
}

void TFASMDef::OP1Change(int kind) {
  editedKind1_ = static_cast<std::uint8_t>(kind);
  ShowPanels();
}

void TFASMDef::OP2Change(int kind) {
  editedKind2_ = static_cast<std::uint8_t>(kind);
  ShowPanels();
}

void TFASMDef::ModifyBtnClick() {
  OPDExit();
  if (auto error =
          workbench_.isa.ModifyEntry(current_, editedMnemonic_, editedKind1_, editedKind2_)) {
    errorBox_(QString::fromStdString(*error));
    return;
  }
  AfterChange();
}

void TFASMDef::DeleteBtnClick() {
  if (auto error = workbench_.isa.DeleteEntry(current_)) {
    errorBox_(QString::fromStdString(*error));
    return;
  }
  AfterChange();
}

void TFASMDef::AfterChange() {
  // A changed table is part of what the exit offers to save.
  workbench_.isa.UMModified = true;
  Refresh();
  emit instructionSetChanged();
}

}  // namespace edumac8
