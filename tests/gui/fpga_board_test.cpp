// The FPGA board window driven as a user drives it: the palette and the mouse on the drawing
// area, the settings dialogs (answered by the test), the keys, the test mode and the file
// commands through the workbench's (scripted) dialogs.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <filesystem>

#include "fpga/board_area.h"
#include "fpga/board_button.h"
#include "fpga/board_images.h"
#include "fpga/component_picture.h"
#include "fpga/mode_file.h"
#include "fpga/picture_combo_box.h"
#include "fpga/tfled_set.h"
#include "fpga/tfseg8_set.h"
#include "fpga/tstruc_fpgaf.h"
#include "gui_test_support.h"

using namespace edumac8;
using namespace edumac8::test;

namespace {

void Move(QWidget* widget, QPoint at, Qt::MouseButtons buttons = Qt::NoButton) {
  QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, buttons,
                   Qt::NoModifier);
  QApplication::sendEvent(widget, &move);
}

int RedPixels(const QImage& image, const QRect& r) {
  int n = 0;
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x) n += image.pixelColor(x, y) == QColor(Qt::red);
  return n;
}

bool SameImage(const QImage& a, const QImage& b) {
  return a.convertToFormat(QImage::Format_ARGB32) == b.convertToFormat(QImage::Format_ARGB32);
}

// A mode file: the header, BoardReserved 0, the components' blocks, the default columns.
std::string ModeWith(const std::vector<CList>& components) {
  BoardMode mode;
  mode.components = components;
  return WriteMode(mode);
}

CList Component(int x, int y, int kind, int group = 0, int bit = 0, int colour = 0) {
  CList c = CreateNewRec(x, y, kind);
  c.IOGroup = group;
  c.Bit = bit;
  c.Colour = static_cast<std::uint8_t>(colour);
  return c;
}

}  // namespace

class FpgaBoardTest : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;
  DialogLog log_;
  std::unique_ptr<TMANForm> form_;
  TStrucFPGAF* board_ = nullptr;
  // What the next settings dialog does, given the dialog; it returns the dialog's result.
  std::function<int(QDialog&)> answer_;
  int dialogsShown_ = 0;

  BoardMode& mode() { return board_->Mode(); }
  std::string Path(const char* name) const { return dir_.filePath(name).toStdString(); }
  void Write(const char* name, const std::string& bytes) {
    QVERIFY(WriteFileAtomic(Path(name), bytes));
  }

  void OpenFile(const char* name) {
    log_.paths.push_back(QString::fromStdString(Path(name)));
    board_->OpenMode();
  }

  void Place(int tool, QPoint at) {
    board_->Palette(tool)->click();
    QTest::mouseClick(board_->imgM(), Qt::LeftButton, Qt::NoModifier, at);
  }

  TFLEDSet& led() { return *board_->LedSet(); }
  TFSEG8Set& seg() { return *board_->Seg8Set(); }

 private slots:
  void init() {
    log_ = DialogLog{};
    form_ = ShowWorkbench(log_);
    board_ = form_->StrucFPGAF();
    answer_ = [](QDialog&) { return int(QDialog::Rejected); };
    dialogsShown_ = 0;
    board_->SetDialogRunner([this](QDialog& dialog) {
      ++dialogsShown_;
      return answer_(dialog);
    });
  }
  void cleanup() {
    board_ = nullptr;
    form_.reset();
  }

  void createdHiddenAndShownByTheToolbar() {
    QVERIFY(board_->isWindow());
    QVERIFY(!board_->isVisible());
    QCOMPARE(board_->parentWidget(), static_cast<QWidget*>(form_.get()));
    QCOMPARE(board_->size(), QSize(992, 678));
    QCOMPARE(board_->windowTitle(),
             QString("FPGA 实验 ===>  未连接 EDUMAC8 实验仪     模式文件: New"));
    QCOMPARE(board_->Timer1()->interval(), 100);
    QVERIFY(!board_->Timer1()->isActive());
    board_->showMinimized();
    form_->Action("sbFPGAOpen")->trigger();
    QVERIFY(board_->isVisible());
    QVERIFY(!board_->isMinimized());
    board_->close();
    QVERIFY(!board_->isVisible());
    QVERIFY(form_->StrucFPGAF() == board_);  // closing only hides it
  }

  void toolColumnControls() {
    const char* const hints[] = {"放置 LED", "放置八段管", "放置八段管（带LED）", "放置八段管",
                                 "放置8 位八段管"};
    for (int tag = 1; tag <= 5; ++tag) {
      QCOMPARE(board_->Palette(tag)->toolTip(), QString(hints[tag - 1]));
      QVERIFY(!board_->Palette(tag)->isHidden());
    }
    for (int tag : {6, 7}) {
      QVERIFY(board_->Palette(tag)->isHidden());
      QVERIFY(!board_->Palette(tag)->isEnabled());
    }
    QCOMPARE(board_->Palette(TStrucFPGAF::kDeleteTool)->toolTip(),
             QString("Shift+左键选中器件再删除"));
    QVERIFY(!board_->Palette(TStrucFPGAF::kDeleteTool)->isCheckable());
    const struct {
      const char* name;
      const char* caption;
      const char* hint;
    } buttons[] = {{"BitBtn1", "新建模式", "新建模式文件"},
                   {"bbLoad", "打开模式", "打开模式文件"},
                   {"bbSave", "保存模式", "保存模式文件"},
                   {"bbR", "编程FPGA", "编程 FPGA"}};
    for (const auto& b : buttons) {
      auto* button = board_->findChild<BoardButton*>(b.name);
      QVERIFY2(button, b.name);
      QCOMPARE(button->text(), QString(b.caption));
      QCOMPARE(button->toolTip(), QString(b.hint));
    }
    board_->findChild<BoardButton*>("bbR")->click();
    QVERIFY(log_.titles.isEmpty() && log_.errors.isEmpty());
    QCOMPARE(board_->sbLA()->text(), QString("启动LA"));
    board_->sbLA()->click();
    QCOMPARE(board_->sbLA()->text(), QString("停止LA"));
    board_->sbLA()->click();
    QCOMPARE(board_->sbLA()->text(), QString("启动LA"));
    QCOMPARE(board_->sbDout()->text(), QString(" 输出D"));
    QCOMPARE(board_->Panel4()->height(), 123);
    for (int i = 0; i < 8; ++i) {
      QCOMPARE(board_->PortEdit(i)->text(), QString("0x12345678"));
      QCOMPARE(board_->PortLabel(i)->text(), QString("D%1").arg(i));
      QCOMPARE(board_->KeyLabel(i)->text(), QString("K%1").arg(i));
      QCOMPARE(board_->KeyLabel(i)->toolTip(), QString("..."));
      QCOMPARE(board_->Key(i)->geometry(), QRect(100 * i + 30, 64, 32, 32));
      QVERIFY(board_->Key(i)->isCheckable());
    }
  }

  void placingSnapsToTenAndLeavesNoTrace() {
    form_->sbFPGAOpenClick();
    board_->resize(1200, 820);
    QApplication::processEvents();
    BoardArea* area = board_->imgM();
    board_->Palette(kTwoDigits)->click();
    QCOMPARE(board_->ActiveTool(), int(kTwoDigits));
    Move(area, QPoint(127, 84));
    QCOMPARE(board_->LocX()->text(), QString("X: 120"));
    QCOMPARE(board_->LocY()->text(), QString("Y: 80"));
    // The dotted frame runs along the top and left edges of the 64 x 64 square at (120, 80).
    QVERIFY(RedPixels(area->imgM(), QRect(120, 80, 64, 1)) > 10);
    QVERIFY(RedPixels(area->imgM(), QRect(120, 80, 1, 64)) > 10);
    QCOMPARE(RedPixels(area->imgM(), QRect(0, 0, 120, 80)), 0);
    Move(area, QPoint(300, 300));
    QCOMPARE(RedPixels(area->imgM(), QRect(120, 80, 64, 64)), 0);  // the earlier one is gone
    QVERIFY(RedPixels(area->imgM(), QRect(300, 300, 64, 64)) > 40);
    QTest::mouseClick(area, Qt::LeftButton, Qt::NoModifier, QPoint(127, 84));
    QCOMPARE(mode().components.size(), std::size_t(1));
    const CList& c = mode().components[0];
    QCOMPARE(QPoint(c.X, c.Y), QPoint(120, 80));
    QCOMPARE(c.Kind, int(kTwoDigits));
    QCOMPARE(board_->Label(0)->text(), QString("-.-.-."));
    QCOMPARE(board_->Label(0)->toolTip(), QString("-.-"));
    QCOMPARE(board_->Visual(0)->geometry(), QRect(121, 81, 62, 47));
    QCOMPARE(board_->Visual(0)->toolTip(), QString("鼠标右键设置"));
    QCOMPARE(board_->ActiveTool(), 0);
    QVERIFY(!board_->Palette(kTwoDigits)->isChecked());
    QVERIFY(SameImage(area->imgM(), area->imgB()));
    QVERIFY(mode().Modified);

    // Beyond 900 x 640 nothing is placed.
    board_->Palette(kLed)->click();
    QTest::mouseClick(area, Qt::LeftButton, Qt::NoModifier, QPoint(915, 100));
    QTest::mouseClick(area, Qt::LeftButton, Qt::NoModifier, QPoint(100, 655));
    QCOMPARE(mode().components.size(), std::size_t(1));
    // A second click on the palette button gives the tool up and erases the preview.
    Move(area, QPoint(400, 300));
    board_->Palette(kLed)->click();
    QCOMPARE(board_->ActiveTool(), 0);
    QVERIFY(SameImage(area->imgM(), area->imgB()));
    // Another palette button takes over from the one down.
    board_->Palette(kLed)->click();
    board_->Palette(kEightDigits)->click();
    QVERIFY(!board_->Palette(kLed)->isChecked());
    QCOMPARE(board_->ActiveTool(), int(kEightDigits));
    QTest::mouseClick(area, Qt::LeftButton, Qt::NoModifier, QPoint(900, 640));
    QCOMPARE(mode().components.back().X, 900);
    QCOMPARE(board_->Visual(1)->width(), 200);
  }

  void selectingAndDeleting() {
    form_->sbFPGAOpenClick();
    Place(kLed, QPoint(100, 100));
    Place(kTwoDigits, QPoint(300, 100));
    Place(kLed, QPoint(500, 100));
    QCOMPARE(mode().components.size(), std::size_t(3));
    // Delete with no selection does nothing.
    QTest::keyClick(board_, Qt::Key_Delete);
    board_->Palette(TStrucFPGAF::kDeleteTool)->click();
    QCOMPARE(mode().components.size(), std::size_t(3));

    QTest::mouseClick(board_->Visual(1), Qt::LeftButton, Qt::ShiftModifier);
    QCOMPARE(board_->Selected(), 1);
    const QImage marked = board_->Visual(1)->Picture();
    QCOMPARE(marked.pixelColor(1, 1), QColor(Qt::blue));
    QCOMPARE(marked.pixelColor(5, 5), QColor(Qt::blue));  // the diagonal
    QCOMPARE(marked.pixelColor(5, 3), kSilver);
    QVERIFY(board_->Visual(0)->Picture().pixelColor(1, 1) != QColor(Qt::blue));
    // A plain click on a picture clears the selection and its mark.
    QTest::mouseClick(board_->Visual(1), Qt::LeftButton);
    QCOMPARE(board_->Selected(), -1);
    QVERIFY(board_->Visual(1)->Picture().pixelColor(1, 1) != QColor(Qt::blue));
    // On the drawing area the 32 x 32 square selects, strictly inside.
    QTest::mouseClick(board_->imgM(), Qt::LeftButton, Qt::NoModifier, QPoint(505, 105));
    QCOMPARE(board_->Selected(), 2);
    QTest::mouseClick(board_->imgM(), Qt::LeftButton, Qt::NoModifier, QPoint(500, 105));
    QCOMPARE(board_->Selected(), -1);
    QTest::mouseClick(board_->imgM(), Qt::LeftButton, Qt::NoModifier, QPoint(505, 105));

    // Delete while a port box has the focus edits the port's text.
    QLineEdit* port = board_->PortEdit(0);
    port->setFocus();
    port->setCursorPosition(0);
    QTest::keyClick(port, Qt::Key_Delete);
    QCOMPARE(port->text(), QString("x12345678"));
    QCOMPARE(mode().columns[0].PortText, std::string("x12345678"));
    QCOMPARE(mode().components.size(), std::size_t(3));
    // Elsewhere Delete deletes the selected component.
    QApplication::setActiveWindow(board_);
    QTest::mouseClick(board_->imgM(), Qt::LeftButton, Qt::NoModifier, QPoint(505, 105));
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(board_->imgM()));
    QCOMPARE(board_->Selected(), 2);
    QTest::keyClick(board_->imgM(), Qt::Key_Delete);
    QCOMPARE(mode().components.size(), std::size_t(2));
    QCOMPARE(board_->Selected(), -1);
    QCOMPARE(mode().components[1].X, 300);

    // coX deletes the selection, gives up the tool and releases the palette.
    QTest::mouseClick(board_->Visual(0), Qt::LeftButton, Qt::ShiftModifier);
    board_->Palette(kSegmentDigit)->click();
    board_->Palette(TStrucFPGAF::kDeleteTool)->click();
    QCOMPARE(mode().components.size(), std::size_t(1));
    QCOMPARE(mode().components[0].Kind, int(kTwoDigits));
    QCOMPARE(board_->ActiveTool(), 0);
    QVERIFY(!board_->Palette(kSegmentDigit)->isChecked());
    QCOMPARE(board_->Visual(0)->geometry().topLeft(), QPoint(301, 101));
  }

  void draggingMovesWithinTheLimits() {
    form_->sbFPGAOpenClick();
    board_->resize(1200, 820);
    Place(kTwoDigits, QPoint(100, 100));
    BoardButton* visual = board_->Visual(0);
    QTest::mousePress(visual, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    Move(visual, QPoint(10 + 57, 10 + 33), Qt::LeftButton);
    QTest::mouseRelease(visual, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    QCOMPARE(QPoint(mode().components[0].X, mode().components[0].Y), QPoint(150, 130));
    QCOMPARE(visual->geometry().topLeft(), QPoint(151, 131));
    QTest::mousePress(visual, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    Move(visual, QPoint(2000, -500), Qt::LeftButton);
    QTest::mouseRelease(visual, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    QCOMPARE(QPoint(mode().components[0].X, mode().components[0].Y), QPoint(900, 0));
  }

  void ledDialogPresetAndOk() {
    form_->sbFPGAOpenClick();
    Place(kLed, QPoint(120, 80));
    mode().components[0].Label = "\xB5\xC6\xFF";  // GBK "灯" and a byte that is not GBK
    answer_ = [this](QDialog& d) {
      TFLEDSet& dialog = led();
      if (&d != &dialog) return int(QDialog::Rejected);
      [&] {
        QCOMPARE(dialog.windowTitle(), QString("发光管设置"));
        QCOMPARE(dialog.fields.mode, 5);
        QCOMPARE(dialog.Edit2()->text(), QString("120"));
        QCOMPARE(dialog.Edit3()->text(), QString("80"));
        QCOMPARE(dialog.cbConnect()->currentText(), QString("D0"));
        QVERIFY(!dialog.cbColor()->isHidden());
        QVERIFY(dialog.cbBTN()->isHidden());
        QVERIFY(dialog.edCLK()->isHidden());
        QVERIFY(!dialog.cbBit()->isHidden());
        QCOMPARE(dialog.ConnectLabel()->text(), QString("连接到IO组"));
        dialog.cbColor()->setCurrentIndex(1);
        dialog.cbBit()->setCurrentIndex(5);
        dialog.cbConnect()->setCurrentIndex(43);  // "K3": a key has no bits
        QVERIFY(dialog.cbBit()->isHidden());
        QCOMPARE(dialog.cbBit()->currentIndex(), 0);
        dialog.Edit2()->setText("300");
        dialog.Edit3()->setText("x");
      }();
      dialog.bbOK()->click();
      return dialog.result();
    };
    QTest::mouseClick(board_->Visual(0), Qt::RightButton);
    QCOMPARE(dialogsShown_, 1);
    const CList& c = mode().components[0];
    QCOMPARE(c.IOGroup, 43);
    QCOMPARE(c.Bit, 0);
    QCOMPARE(int(c.Colour), 1);
    QCOMPARE(c.SetupMode, 5);
    QCOMPARE(QPoint(c.X, c.Y), QPoint(300, 80));
    QCOMPARE(c.Label, std::string("\xB5\xC6\xFF"));  // untouched: its bytes stay
    QCOMPARE(board_->Label(0)->toolTip(), QString("IO: K3 Bit:0"));
    QCOMPARE(board_->Visual(0)->geometry(), QRect(320, 81, 22, 22));
    QCOMPARE(led().Edit3()->text(), QString("80"));  // rewritten with the value kept

    // X or Y beyond the board keeps the old value; a typed name is stored as GBK.
    answer_ = [this](QDialog&) {
      led().Edit2()->setText("901");
      led().Edit3()->setText("640");
      led().Edit1()->setText("灯2");
      led().bbOK()->click();
      return led().result();
    };
    QTest::mouseClick(board_->Visual(0), Qt::RightButton);
    QCOMPARE(QPoint(mode().components[0].X, mode().components[0].Y), QPoint(300, 640));
    QCOMPARE(mode().components[0].Label, std::string("\xB5\xC6"
                                                     "2"));
    QCOMPARE(board_->Label(0)->text(), QString("灯2"));
    // Cancel changes nothing.
    answer_ = [this](QDialog&) {
      led().Edit2()->setText("10");
      led().cbColor()->setCurrentIndex(3);
      return int(QDialog::Rejected);
    };
    QTest::mouseClick(board_->Visual(0), Qt::RightButton);
    QCOMPARE(mode().components[0].X, 300);
    QCOMPARE(int(mode().components[0].Colour), 1);
  }

  void ledDialogSelectsZeroForValuesOutOfRange() {
    form_->sbFPGAOpenClick();
    Write("odd.MD8", ModeWith({Component(10, 10, kLed, 60, 12, 9)}));
    OpenFile("odd.MD8");
    // An LED that cannot show its colour or bit shows the error lamp.
    QVERIFY(SameImage(board_->Visual(0)->Picture(), BoardImages::Get().lamps[8]));
    answer_ = [this](QDialog&) {
      [&] {
        QCOMPARE(led().cbConnect()->currentIndex(), 0);
        QCOMPARE(led().cbBit()->currentIndex(), 0);
        QCOMPARE(led().cbColor()->currentIndex(), 0);
      }();
      return int(QDialog::Rejected);
    };
    QTest::mouseClick(board_->Visual(0), Qt::RightButton);
    QCOMPARE(dialogsShown_, 1);
    QCOMPARE(mode().components[0].IOGroup, 60);
  }

  void displayDialogsByKind() {
    form_->sbFPGAOpenClick();
    // Before any use the mapping reads D0.Bit7 -->h down to D0.Bit0 -->a.
    for (int i = 1; i <= 8; ++i)
      QCOMPARE(seg().Mapping(i)->text(), QString("D0.Bit%1 -->%2").arg(8 - i).arg(QChar(105 - i)));
    Place(kTwoDigits, QPoint(20, 20));
    Place(kTwoDigitsWithLeds, QPoint(100, 20));
    Place(kSegmentDigit, QPoint(180, 20));
    Place(kEightDigits, QPoint(260, 20));
    const struct {
      int component;
      int mode;
      const char* caption;
      QLabel* picture;
      const char* mapping1;
      const char* mapping7;
    } cases[] = {
        {0, 1, "2位数码管输出设置2", seg().HEXImg(), "Out1.Bit 7", "Out1.Bit 1"},
        {1, 1, "2位数码管输出设置2", seg().HEXImg(), "Out1.Bit 7", "Out1.Bit 1"},
        {2, 2, "数码管笔划输出设置", seg().BINImg(), "Out1.Bit 7-->Seg h", "Out1.Bit 1-->Seg b"},
        {3, 6, "8位数码管输出设置", seg().HEX8img(), "Out1.Bit28..31", "Out1.Bit 4..7 "},
    };
    for (const auto& c : cases) {
      answer_ = [&](QDialog& d) {
        [&] {
          QCOMPARE(&d, static_cast<QDialog*>(&seg()));
          QCOMPARE(seg().windowTitle(), QString(c.caption));
          QCOMPARE(seg().fields.mode, c.mode);
          for (QLabel* picture : {seg().HEXImg(), seg().HEX8img(), seg().BINImg()})
            QCOMPARE(picture->isHidden(), picture != c.picture);
          QVERIFY(!seg().Edit2()->isHidden());
          QVERIFY(seg().cbIO()->isEnabled());
          QCOMPARE(seg().cbIO()->count(), 40);
          QCOMPARE(seg().Mapping(1)->text().left(3), QString("D0."));
          seg().cbIO()->setCurrentIndex(9);  // "Out1"
          QCOMPARE(seg().Mapping(1)->text(), QString(c.mapping1));
          QCOMPARE(seg().Mapping(7)->text(), QString(c.mapping7));
          // Every mapping label shows its whole text.
          for (int i = 1; i <= 8; ++i) {
            QLabel* label = seg().Mapping(i);
            QVERIFY(label->width() >= label->fontMetrics().horizontalAdvance(label->text()));
            QCOMPARE(label->pos(), QPoint(8, 20 * i));
          }
          seg().Edit2()->setText(QString::number(400 + c.component * 10));
        }();
        seg().bbOK()->click();
        return seg().result();
      };
      QTest::mouseClick(board_->Visual(c.component), Qt::RightButton);
      const CList& comp = mode().components[c.component];
      QCOMPARE(comp.IOGroup, 9);
      QCOMPARE(comp.SetupMode, c.mode);
      QCOMPARE(comp.X, 400 + c.component * 10);
      QCOMPARE(board_->Label(c.component)->toolTip(), QString("IO: Out1"));
    }
    QCOMPARE(dialogsShown_, 4);
  }

  void displayDialogKeepsAGroupItLacks() {
    form_->sbFPGAOpenClick();
    Write("k.MD8", ModeWith({Component(10, 10, kTwoDigits, 44)}));
    OpenFile("k.MD8");
    answer_ = [this](QDialog&) {
      [&] {
        QCOMPARE(seg().cbIO()->currentIndex(), -1);
        QCOMPARE(seg().Mapping(1)->text(), QString("K4.Bit 7"));
      }();
      seg().bbOK()->click();
      return seg().result();
    };
    QTest::mouseClick(board_->Visual(0), Qt::RightButton);
    QCOMPARE(dialogsShown_, 1);
    QCOMPARE(mode().components[0].IOGroup, 44);
    QCOMPARE(mode().components[0].SetupMode, 1);
  }

  void buttonComponentDialogKeepsItsLayoutButNotItsPosition() {
    form_->sbFPGAOpenClick();
    CList button = Component(200, 100, kButton, 41, 0, 3);
    button.ClockCount = 77;
    Write("b.MD8", ModeWith({Component(20, 20, kLed), button}));
    OpenFile("b.MD8");
    QCOMPARE(mode().components.size(), std::size_t(2));
    // The last use was an LED; the button's dialog keeps that layout and its lists.
    answer_ = [this](QDialog&) {
      led().cbColor()->setCurrentIndex(2);
      led().bbOK()->click();
      return led().result();
    };
    QTest::mouseClick(board_->Visual(0), Qt::RightButton);
    answer_ = [this](QDialog&) {
      [&] {
        QCOMPARE(led().fields.mode, 7);
        QCOMPARE(led().windowTitle(), QString("发光管设置"));
        QVERIFY(!led().cbColor()->isHidden());
        QCOMPARE(led().Edit2()->text(), QString("200"));
        QCOMPARE(led().Edit3()->text(), QString("100"));
      }();
      led().Edit3()->setText("110");
      led().bbOK()->click();
      return led().result();
    };
    QTest::mouseClick(board_->Visual(1), Qt::RightButton);
    QCOMPARE(dialogsShown_, 2);
    const CList& c = mode().components[1];
    QCOMPARE(QPoint(c.X, c.Y), QPoint(200, 110));
    QCOMPARE(c.SetupMode, 7);
    QCOMPARE(int(c.Colour), 3);  // only the position is taken from the dialog
    QCOMPARE(c.IOGroup, 41);
    QCOMPARE(c.ClockCount, 77u);
    QCOMPARE(board_->Label(1)->toolTip(), QString("Pin: K???"));
    QCOMPARE(board_->Visual(1)->geometry(), QRect(215, 111, 32, 32));
    // Key kind 3 shows the clock picture, as key 3 of the bottom row would.
    QImage expected(20, 20, QImage::Format_ARGB32_Premultiplied);
    expected.fill(kSilver);
    QPainter(&expected).drawImage(0, 0, BoardImages::Get().keys[4]);
    QVERIFY(SameImage(board_->Visual(1)->Picture().copy(4, 4, 20, 20), expected));
  }

  void portDialog() {
    form_->sbFPGAOpenClick();
    answer_ = [this](QDialog&) {
      [&] {
        QCOMPARE(seg().windowTitle(), QString("32位数据输入"));
        QVERIFY(seg().Edit2()->isHidden());
        QVERIFY(seg().Edit3()->isHidden());
        for (int i = 1; i <= 8; ++i) QVERIFY(seg().Mapping(i)->isHidden());
        for (QLabel* picture : {seg().HEXImg(), seg().HEX8img(), seg().BINImg()})
          QVERIFY(picture->isHidden());
        QVERIFY(!seg().cbIO()->isEnabled());
        QCOMPARE(seg().cbIO()->currentText(), QString("D2"));
        QCOMPARE(seg().Edit1()->text(), QString("D2"));
        QCOMPARE(seg().lbIO()->text(), QString("连接到IO"));
      }();
      seg().Edit1()->setText("数据");
      seg().bbOK()->click();
      return seg().result();
    };
    QTest::mouseClick(board_->PortEdit(2), Qt::RightButton);
    QCOMPARE(dialogsShown_, 1);
    QCOMPARE(board_->PortLabel(2)->text(), QString("数据"));
    QCOMPARE(mode().columns[2].PortIO, 2);
    QCOMPARE(board_->PortEdit(2)->text(), QString("0x12345678"));
  }

  void keyDialogShowsClockControlsForClockKinds() {
    form_->sbFPGAOpenClick();
    answer_ = [this](QDialog&) {
      TFLEDSet& d = led();
      [&] {
        QCOMPARE(d.windowTitle(), QString("按键设置"));
        QCOMPARE(d.fields.mode, 8);
        QVERIFY(d.cbColor()->isHidden());
        QVERIFY(!d.cbBTN()->isHidden());
        QVERIFY(d.cbBit()->isHidden());
        QVERIFY(d.Edit2()->isHidden());
        QVERIFY(!d.cbConnect()->isEnabled());
        QCOMPARE(d.cbConnect()->currentText(), QString("K2"));
        QCOMPARE(d.ConnectLabel()->text(), QString("固定连接到IO组"));
        QCOMPARE(d.cbBTN()->currentIndex(), 0);
        QVERIFY(d.cbFreq()->isHidden());
        QVERIFY(d.edCLK()->isHidden());
        QCOMPARE(d.cbFreq()->currentText(), QString("1MHz"));
        d.cbBTN()->setCurrentIndex(d.cbBTN()->findText("时钟(高)"));
        QVERIFY(!d.cbFreq()->isHidden());
        QVERIFY(!d.edCLK()->isHidden());
        QCOMPARE(d.edCLK()->maxLength(), 10);
        d.cbFreq()->setCurrentIndex(9);
        d.edCLK()->setText("ten");
        d.Edit1()->setText("CLK");
      }();
      d.bbOK()->click();
      return d.result();
    };
    QTest::mouseClick(board_->Key(2), Qt::RightButton);
    QCOMPARE(dialogsShown_, 1);
    const BoardColumn& col = mode().columns[2];
    QCOMPARE(int(col.KeyType), 3);
    QCOMPARE(col.KeyClockCount, 0);
    QCOMPARE(col.KeyFreq, 9);
    QCOMPARE(int(col.KeyIO), 42);
    QCOMPARE(board_->KeyLabel(2)->text(), QString("CLK"));
    QCOMPARE(board_->KeyLabel(2)->toolTip(), QString("Pin: K2"));
    QVERIFY(SameImage(board_->Key(2)->Picture(), BoardImages::Get().keys[4]));
    // The owner-drawn lists: pictures and the focused item's colours.
    QCOMPARE(led().cbBTN()->ItemFocusColour(0), QColor(Qt::blue));
    QCOMPARE(led().cbBTN()->ItemFocusColour(2), QColor(0x00, 0xFF, 0x00));
    QCOMPARE(led().cbColor()->ItemFocusColour(3), QColor(Qt::yellow));
    QVERIFY(SameImage(led().cbColor()->ItemPicture(1), BoardImages::Get().lamps[1]));
    QVERIFY(SameImage(led().cbBTN()->ItemPicture(3), BoardImages::Get().keys[4]));
  }

  void levelKeysToggleAndEdgeKeysNeverStayDown() {
    form_->sbFPGAOpenClick();
    BoardButton* key = board_->Key(0);
    key->click();
    QVERIFY(key->isChecked());
    QVERIFY(SameImage(key->Picture(), BoardImages::Get().keys[1]));
    key->click();
    QVERIFY(!key->isChecked());
    QVERIFY(SameImage(key->Picture(), BoardImages::Get().keys[0]));
    key->click();  // down, then made an edge key
    answer_ = [this](QDialog&) {
      led().cbBTN()->setCurrentIndex(1);
      led().bbOK()->click();
      return led().result();
    };
    QTest::mouseClick(key, Qt::RightButton);
    QVERIFY(!key->isChecked());
    for (int i = 0; i < 2; ++i) {
      QTest::mouseClick(key, Qt::LeftButton);
      QVERIFY(!key->isChecked());
    }
    QVERIFY(SameImage(key->Picture(), BoardImages::Get().keys[2]));
  }

  void clockBusyFlow() {
    form_->sbFPGAOpenClick();
    mode().columns[4].KeyType = 3;
    BoardButton* key = board_->Key(4);
    QTest::mouseClick(key, Qt::LeftButton);
    QVERIFY(key->isChecked());
    QCOMPARE(int(mode().columns[4].ClockBusy), 1);
    QVERIFY(log_.informations.isEmpty());
    // A running clock cannot be released by clicking it.
    QTest::mouseClick(key, Qt::LeftButton);
    QVERIFY(key->isChecked());
    QCOMPARE(log_.informations, QStringList({"Clock Busy Now."}));
    // 输出D stops the clocks; the next test tick releases the idle key.
    board_->sbDout()->click();
    QCOMPARE(int(mode().columns[4].ClockBusy), 0);
    QVERIFY(key->isChecked());
    board_->Timer1Timer();
    QVERIFY(!key->isChecked());
    QCOMPARE(log_.informations.size(), 1);
  }

  void testModeDrawsOneNumberPerGroup() {
    form_->sbFPGAOpenClick();
    Write("t.MD8",
          ModeWith({Component(10, 10, kLed, 9, 5, 1), Component(100, 10, kLed, 9, 5, 2),
                    Component(200, 10, kEightDigits, 12), Component(200, 100, kEightDigits, 12),
                    Component(10, 100, kLed, 60, 0, 0)}));
    OpenFile("t.MD8");
    board_->SetRandomSeed(1234);
    board_->sbT()->click();
    QVERIFY(board_->Timer1()->isActive());
    bool sawLit = false, sawDark = false;
    for (int tick = 0; tick < 40; ++tick) {
      board_->Timer1Timer();
      const std::vector<CList>& c = mode().components;
      QCOMPARE(c[0].Value, c[1].Value);
      QCOMPARE(c[2].Value, c[3].Value);
      QCOMPARE(c[4].Value, 0u);  // a group the board lacks
      const bool lit = (c[0].Value >> 5) & 1;
      (lit ? sawLit : sawDark) = true;
      QVERIFY(SameImage(board_->Visual(0)->Picture(), BoardImages::Get().lamps[lit ? 1 : 5]));
      QVERIFY(SameImage(board_->Visual(1)->Picture(), BoardImages::Get().lamps[lit ? 2 : 6]));
      QVERIFY(SameImage(board_->Visual(2)->Picture(), board_->Visual(3)->Picture()));
      QVERIFY(SameImage(board_->Visual(4)->Picture(), BoardImages::Get().lamps[4]));
    }
    QVERIFY(sawLit && sawDark);
    // The same seed draws the same numbers.
    const std::uint32_t last = mode().components[2].Value;
    board_->SetRandomSeed(1234);
    for (int tick = 0; tick < 40; ++tick) board_->Timer1Timer();
    QCOMPARE(mode().components[2].Value, last);

    // Closing stops the timer but leaves sbT down; showing again resumes it.
    board_->close();
    QVERIFY(!board_->Timer1()->isActive());
    QVERIFY(board_->sbT()->isChecked());
    form_->sbFPGAOpenClick();
    QVERIFY(board_->Timer1()->isActive());
    board_->sbT()->click();
    QVERIFY(!board_->Timer1()->isActive());
  }

  void pictureIsRebuiltOnlyWhenItsValueChanged() {
    form_->sbFPGAOpenClick();
    Place(kTwoDigits, QPoint(20, 20));
    CList& c = mode().components[0];
    const QImage before = board_->Visual(0)->Picture();
    board_->Visual(0)->SetPicture(QImage());  // a stale picture stays until a rebuild
    board_->InitForm();
    QVERIFY(board_->Visual(0)->Picture().isNull());
    c.Value = 0x3C;
    board_->InitForm();
    QVERIFY(!board_->Visual(0)->Picture().isNull());
    QVERIFY(!SameImage(before, board_->Visual(0)->Picture()));
    QCOMPARE(c.ShownValue, 0x3Cu);
  }

  void segmentDigitLightsItsSegmentsOverTheDarkDigit() {
    CList c = Component(0, 0, kSegmentDigit);
    c.Value = 0x01;
    const QImage picture = ComponentPicture(c, false);
    QCOMPARE(picture.size(), QSize(64, 47));
    QCOMPARE(picture.pixelColor(0, 0), kSilver);
    // Segment a runs along the top of the digit drawn at (16, 2); b down its right side.
    const QPoint segmentA(16 + 16, 2 + 4), segmentB(16 + 25, 2 + 11), segmentH(16 + 28, 2 + 38);
    QCOMPARE(picture.pixelColor(segmentA), kLitSegment);
    QCOMPARE(picture.pixelColor(segmentB), kDarkSegment);
    c.Value = 0x82;
    const QImage other = ComponentPicture(c, false);
    QCOMPARE(other.pixelColor(segmentA), kDarkSegment);
    QCOMPARE(other.pixelColor(segmentB), kLitSegment);
    QCOMPARE(other.pixelColor(segmentH), kLitSegment);
  }

  void captionFollowsTheLinkState() {
    const QString tail = "     模式文件: New";
    const struct {
      BoardLinkState link;
      const char* status;
    } cases[] = {
        {{false, 1, 0, 0}, " 未连接 EDUMAC8 实验仪"},
        {{true, 1, 1, 0}, "XO2 FPGA XO2-2000 实验"},
        {{true, 2, 0, 0}, "已连接 EDUMAC8 实验仪, 分部实验: J1 <> J3"},
        {{true, 1, 0, 1}, "已连接 EDUMAC8 实验仪, 组合逻辑控制器实验"},
    };
    for (const auto& c : cases) {
      board_->ShowLinkStatus(c.link);
      QCOMPARE(board_->windowTitle(), "FPGA 实验 ===> " + QString(c.status) + tail);
    }
    // The main window's status change rewrites it: without a box link, not connected. The
    // board only reads the link's state.
    form_->workbench().control.Simulation = false;
    form_->ShowLinkStatus("whatever");
    QCOMPARE(board_->windowTitle(), "FPGA 实验 ===>  未连接 EDUMAC8 实验仪" + tail);
    QVERIFY(!form_->workbench().control.Simulation);
  }

  void openingAndTheCancelledOpen() {
    form_->sbFPGAOpenClick();
    Write("demo.MD8", ModeWith({Component(10, 10, kLed, 8, 1), Component(901, 10, kLed)}));
    OpenFile("demo");  // ".MD8" appended
    QVERIFY2(log_.errors.isEmpty(), qPrintable(log_.errors.join('\n')));
    QCOMPARE(log_.titles.last(), QString("读取EDUMAC8模式文件"));
    QCOMPARE(log_.filters.last(), QString("*.MD8|*.MD8"));
    QCOMPARE(log_.proposals.last(), QString("New"));
    QCOMPARE(mode().components.size(), std::size_t(1));
    QCOMPARE(board_->Label(0)->toolTip(), QString("IO: Out0 Bit:1"));
    const QString name = QString::fromStdString(Path("demo.MD8"));
    QCOMPARE(QString::fromStdString(mode().ModeFileName), name);
    QVERIFY(board_->windowTitle().endsWith("模式文件: " + name));
    // A cancelled open proposes the name, and the caption takes it again.
    mode().ModeFileName = "elsewhere";
    board_->OpenMode();
    QCOMPARE(log_.proposals.last(), name);
    QCOMPARE(QString::fromStdString(mode().ModeFileName), name);
    QCOMPARE(mode().components.size(), std::size_t(1));
    // Save proposes the opened name.
    board_->SaveMode();
    QCOMPARE(log_.titles.last(), QString("保存EDUMAC8模式文件"));
    QCOMPARE(log_.proposals.last(), name);
  }

  void openFailures() {
    form_->sbFPGAOpenClick();
    Place(kLed, QPoint(10, 10));
    mode().Modified = false;
    OpenFile("none");
    QCOMPARE(log_.errors.last(), QString::fromStdString("未找到模式文件: " + Path("none.MD8")));
    Write("foreign.txt", "Quor EDUMAC8 Mode File\r\n0\r\n0\r\n");
    OpenFile("foreign.txt");
    QCOMPARE(log_.errors.last(), QString::fromStdString("模式文件格式错: " + Path("foreign.txt")));
    QCOMPARE(mode().components.size(), std::size_t(1));  // unchanged
    QCOMPARE(QString::fromStdString(mode().ModeFileName), QString("New"));
    // A bad file: what was read stays, the caption does not change.
    std::string bad =
        ModeWith({Component(10, 10, kLed), Component(20, 20, kLed), Component(30, 30, kTwoDigits)});
    bad.replace(bad.find("\r\n20\r\n"), 6, "\r\nxx\r\n");
    Write("bad.MD8", bad);
    OpenFile("bad.MD8");
    QCOMPARE(log_.errors.last(), QString::fromStdString("模式文件格式错: " + Path("bad.MD8")));
    QCOMPARE(mode().components.size(), std::size_t(2));
    QCOMPARE(mode().components[1].Kind, int(kTwoDigits));
    QVERIFY(board_->Visual(1)->isVisible());
    QCOMPARE(QString::fromStdString(mode().ModeFileName), QString("New"));
    QVERIFY(board_->windowTitle().endsWith("模式文件: New"));
  }

  void savingAskingAndFailing() {
    form_->sbFPGAOpenClick();
    Place(kLed, QPoint(10, 10));
    // Saved under "board": board.MD8, the bytes of the mode.
    log_.paths.push_back(QString::fromStdString(Path("board")));
    QVERIFY(board_->SaveMode());
    QCOMPARE(ReadWholeFile(Path("board.MD8")), WriteMode(mode()));
    QVERIFY(!mode().Modified);
    QCOMPARE(QString::fromStdString(mode().ModeFileName), QString("New"));  // unchanged
    // The file exists: No keeps it untouched.
    Place(kLed, QPoint(100, 10));
    log_.paths.push_back(QString::fromStdString(Path("board.MD8")));
    log_.answers.push_back(Answer::No);
    QVERIFY(!board_->SaveMode());
    QCOMPARE(log_.questions.last(),
             QString::fromStdString("\"" + Path("board.MD8") + "\" 模式文件已存在, 重写? "));
    QCOMPARE(ReadWholeFile(Path("board.MD8"))->find("100\r\n10\r\n1\r\n"), std::string::npos);
    QVERIFY(mode().Modified);
    // Yes replaces it.
    log_.paths.push_back(QString::fromStdString(Path("board.MD8")));
    log_.answers.push_back(Answer::Yes);
    QVERIFY(board_->SaveMode());
    QCOMPARE(ReadWholeFile(Path("board.MD8")), WriteMode(mode()));
    // A file that cannot be written: the message, and the old file stays.
    std::filesystem::create_directories(Path("taken.MD8/inside"));
    log_.paths.push_back(QString::fromStdString(Path("taken.MD8")));
    log_.answers.push_back(Answer::Yes);
    QVERIFY(!board_->SaveMode());
    QCOMPARE(log_.errors, QStringList({"Mode file write error"}));
    QVERIFY(std::filesystem::is_directory(Path("taken.MD8/inside")));
  }

  void newModeResetsTheBoard() {
    form_->sbFPGAOpenClick();
    const auto buttons = board_->findChildren<BoardButton*>().size();
    Place(kLed, QPoint(10, 10));
    QCOMPARE(board_->findChildren<BoardButton*>().size(), buttons + 2);
    mode().columns[3].KeyType = 4;
    mode().columns[3].ClockBusy = 1;
    mode().BoardReserved = 5;
    board_->PortEdit(1)->setText("abc");
    log_.answers.push_back(Answer::No);
    board_->NewMode();
    QVERIFY(mode().components.empty());
    QCOMPARE(board_->findChildren<BoardButton*>().size(), buttons);  // its controls went too
    QCOMPARE(int(mode().columns[3].KeyType), 0);
    QCOMPARE(int(mode().columns[3].ClockBusy), 1);
    QCOMPARE(int(mode().BoardReserved), 5);
    QCOMPARE(board_->PortEdit(1)->text(), QString("0x12345678"));
    QVERIFY(board_->Key(3)->isCheckable());
    QCOMPARE(QString::fromStdString(mode().ModeFileName), QString("New"));
    QVERIFY(SameImage(board_->imgM()->imgM(), board_->imgM()->imgB()));
  }

  void aChangedBoardAsksBeforeItIsDropped() {
    form_->sbFPGAOpenClick();
    Place(kLed, QPoint(10, 10));
    // Cancel keeps the board.
    log_.answers.push_back(Answer::Cancel);
    board_->NewMode();
    QCOMPARE(mode().components.size(), std::size_t(1));
    QCOMPARE(log_.questions.size(), 1);
    log_.answers.push_back(Answer::Cancel);
    board_->OpenMode();
    QVERIFY(log_.titles.isEmpty());  // no open dialog
    // The workbench's exit asks too; Cancel keeps the workbench open.
    log_.answers.push_back(Answer::Cancel);
    QVERIFY(!form_->close());
    QVERIFY(form_->isVisible());
    // Yes saves first.
    log_.answers.push_back(Answer::Yes);
    log_.paths.push_back(QString::fromStdString(Path("kept")));
    board_->NewMode();
    QVERIFY(mode().components.empty());
    QCOMPARE(ReadWholeFile(Path("kept.MD8"))->substr(0, 31),
             std::string("Quor EDUMAC8 Mode File \r\n0\r\n1\r\n"));
    // An unchanged board asks nothing.
    const int asked = log_.questions.size();
    board_->NewMode();
    QVERIFY(form_->close());
    QCOMPARE(log_.questions.size(), asked);
  }
};

QTEST_MAIN(FpgaBoardTest)
#include "fpga_board_test.moc"
