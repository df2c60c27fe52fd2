#include "tdir_form.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QStyle>
#include <QStyledItemDelegate>

#include "install/directory_tree.h"
#include "install/install_text.h"
#include "installer_services.h"
#include "song_font.h"

namespace edumac8 {
namespace {

constexpr int kDepthRole = Qt::UserRole + 1;
constexpr int kPathRole = Qt::UserRole + 2;
constexpr int kIndent = 12;

// Indents each directory by its depth in the tree.
class TreeRowDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    QStyleOptionViewItem indented(option);
    indented.rect.adjust(index.data(kDepthRole).toInt() * kIndent, 0, 0, 0);
    QStyledItemDelegate::paint(painter, indented, index);
  }
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    return QStyledItemDelegate::sizeHint(option, index) +
           QSize(index.data(kDepthRole).toInt() * kIndent, 0);
  }
};

QString HomeShortened(const std::string& path) {
  const QString p = QString::fromStdString(path);
  const QString home = QDir::homePath();
  return home != "/" && p.startsWith(home + "/") ? "~" + p.mid(home.size()) : p;
}

bool Holds(const std::string& root, const std::string& path) {
  return root == "/" || path == root || path.starts_with(root + "/");
}

}  // namespace

TDirForm::TDirForm(const std::vector<std::string>& winePrefixes, InstallerDialogs& dialogs,
                   bool chinese, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint),
      dialogs_(dialogs),
      chinese_(chinese) {
  setFixedSize(311, 234);
  setFont(SongFont());
  using install::Msg;
  using install::Text;

  selectDir_ = new QLabel(this);
  selectDir_->setObjectName("SelectDir");
  selectDir_->setGeometry(8, 8, 297, 18);

  drives_ = new QComboBox(this);
  drives_->setObjectName("DriveComboBox1");
  drives_->setGeometry(8, 32, 297, 20);
  bool rootListed = false;
  for (const std::string& prefix : winePrefixes) {
    for (const install::WineDrive& d : install::WineDrives(prefix)) {
      drives_->addItem(
          QString("%1:  %2").arg(QChar(d.letter).toUpper()).arg(HomeShortened(d.target)));
      roots_.push_back(d.target);
      rootListed = rootListed || d.target == "/";
    }
  }
  // Without Wine, or with a prefix that hides the root, the Linux tree is still reachable.
  if (!rootListed) {
    drives_->addItem(roots_.empty() ? QString("/  (%1)").arg(Text(Msg::NoWineDrive, chinese))
                                    : "/");
    roots_.push_back("/");
  }

  directories_ = new QListWidget(this);
  directories_->setObjectName("DirectoryListBox1");
  directories_->setGeometry(8, 56, 297, 129);
  directories_->setItemDelegate(new TreeRowDelegate(directories_));

  const struct {
    QPushButton** button;
    const char* name;
    int x;
  } buttons[] = {{&ok_, "Okbtn", 32}, {&cancel_, "Cancel", 128}, {&help_, "Help", 224}};
  for (const auto& b : buttons) {
    *b.button = new QPushButton(this);
    (*b.button)->setObjectName(b.name);
    (*b.button)->setGeometry(b.x, 200, 75, 25);
    (*b.button)->setAutoDefault(false);
  }
  ok_->setDefault(true);
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
  connect(help_, &QPushButton::clicked, this, &TDirForm::HelpClick);
  connect(drives_, &QComboBox::activated, this, &TDirForm::ShowDrive);
  connect(directories_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
    ShowDirectory(item->data(kPathRole).toString().toStdString());
  });
  ShowDrive(0);
}

void TDirForm::SetDirectory(const QString& path) {
  const std::string wanted = QFileInfo(path).canonicalFilePath().toStdString();
  int best = -1;
  if (!wanted.empty() && QFileInfo(path).isDir())
    for (int i = 0; i < static_cast<int>(roots_.size()); ++i)
      if (Holds(roots_[i], wanted) && (best < 0 || roots_[i].size() > roots_[best].size()))
        best = i;
  if (best < 0) {
    ShowDrive(0);
    return;
  }
  drives_->setCurrentIndex(best);
  ShowDirectory(wanted);
}

void TDirForm::ShowDrive(int index) {
  if (index < 0 || index >= static_cast<int>(roots_.size())) return;
  drives_->setCurrentIndex(index);
  ShowDirectory(roots_[index]);
}

void TDirForm::ShowDirectory(const std::string& path) {
  const std::string& root = roots_[drives_->currentIndex()];
  const std::vector<install::DirectoryRow> rows = install::DirectoryTreeRows(root, path);
  current_ = rows.empty() ? root : rows.front().path;
  directories_->clear();
  const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
  const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
  QListWidgetItem* currentItem = nullptr;
  for (const install::DirectoryRow& row : rows) {
    auto* item = new QListWidgetItem(row.open ? open : closed, QString::fromStdString(row.name));
    item->setData(kDepthRole, row.depth);
    item->setData(kPathRole, QString::fromStdString(row.path));
    directories_->addItem(item);
    if (row.open) {
      current_ = row.path;
      currentItem = item;
    }
  }
  directories_->setCurrentItem(currentItem);
  const QString shown = QString::fromStdString(current_);
  selectDir_->setText(selectDir_->fontMetrics().elidedText(shown, Qt::ElideMiddle, 297));
  selectDir_->setToolTip(shown);
}

void TDirForm::HelpClick() {
  dialogs_.Information(
      this, QString::fromUtf8(install::Text(install::Msg::ChooseKeilDirectory, chinese_)));
}

}  // namespace edumac8
