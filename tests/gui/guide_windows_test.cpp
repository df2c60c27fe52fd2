// The experiment guide's windows, real widgets on the offscreen platform: the selection list,
// the text memo, the picture window's size rule, scroll ranges and fallbacks, and the main
// window's start-up reading of the catalogue.
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <filesystem>
#include <fstream>

#include "gui_test_support.h"
#include "guide/experiment_guide_windows.h"
#include "guide/jpeg_writer.h"
#include "guide/tfex_jpg.h"
#include "guide/tfex_sel.h"
#include "guide/tfex_txt.h"

using namespace edumac8;
using namespace edumac8::test;

namespace {

namespace fs = std::filesystem;

std::string Gb(const char* utf8) { return Utf8ToGb2312(utf8); }

ExperimentCatalogue ThreeExperiments() {
  ExperimentCatalogue c;
  for (const char* name : {"实验一 运算器", "实验二 移位", "EXP 3"}) {
    TExperiment e;
    e.Name = Gb(name);
    c.Entries.push_back(e);
  }
  c.Entries[1].Requirement = {Gb("第一行"), Gb("    缩进四格"), "\tTab and Case"};
  c.Entries[1].Purpose = {Gb("目的")};
  c.CurrentExp = 2;
  return c;
}

// Writes a picture of the given size (JPEG unless `bytes` is given) into the directory.
void WritePicture(const QString& dir, const QString& name, int width, int height) {
  Picture p;
  p.width = width;
  p.height = height;
  p.rgb.assign(static_cast<std::size_t>(width) * height * 3, 200);
  std::ofstream((dir + "/" + name).toStdString(), std::ios::binary) << *EncodeJpeg(p);
}

// Runs `action` once the modal window the next call opens is showing.
void WhenModal(std::function<void(QWidget*)> action) {
  QTimer::singleShot(0, [action] {
    QWidget* modal = QApplication::activeModalWidget();
    QVERIFY(modal);
    action(modal);
  });
}

}  // namespace

class GuideWindowsTest : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;
  QString jpg_;
  DialogLog log_;
  std::unique_ptr<TMANForm> form_;

  ExperimentGuideWindows& Guide() {
    return dynamic_cast<ExperimentGuideWindows&>(form_->GuideWindows());
  }

 private slots:
  void init() {
    form_ = std::make_unique<TMANForm>(std::make_unique<ScriptedDialogs>(log_));
    form_->workbench().experiments = ThreeExperiments();
    jpg_ = dir_.path() + "/JPG";
    QDir().mkpath(jpg_);
    form_->workbench().HomeDir = dir_.path().toStdString() + "/";
  }
  void cleanup() {
    form_.reset();
    QDir(jpg_).removeRecursively();
    log_ = {};
  }

  void startUpReadsTheShippedCatalogueAndInstallsTheWindows() {
    QVERIFY(log_.errors.isEmpty());
    TMANForm fresh(std::make_unique<ScriptedDialogs>(log_));
    QVERIFY2(log_.errors.isEmpty(), qPrintable(log_.errors.join('\n')));
    QCOMPARE(fresh.workbench().experiments.ExpCount(), 6);
    QCOMPARE(fresh.workbench().experiments.CurrentExp, 1);
    QVERIFY(dynamic_cast<ExperimentGuideWindows*>(&fresh.GuideWindows()));
  }

  void startUpReportsAMissingOrFaultyCatalogue() {
    form_->LoadExperimentCatalogue();
    const QString help = dir_.path() + "/HELP/";
    QCOMPARE(log_.errors, QStringList{"读文件错: " + help + "EX.INI"});
    QCOMPARE(form_->workbench().experiments.ExpCount(), 0);
    QCOMPARE(form_->workbench().experiments.CurrentExp, 0);

    QDir().mkpath(help);
    std::ofstream((help + "EX.INI").toStdString(), std::ios::binary)
        << Gb("实验定义 = {\r\n名称 = \"甲\"\r\n}\r\n\r\n名称\r\n");
    form_->LoadExperimentCatalogue();
    QCOMPARE(log_.errors.size(), 2);
    QCOMPARE(log_.errors[1], QString("命令错   行：5"));
    QCOMPARE(form_->workbench().experiments.ExpCount(), 1);
    QCOMPARE(form_->workbench().experiments.CurrentExp, 1);
  }

  void selectionListsEveryEntryAndSelectsThePreset() {
    TFEx_Sel& sel = *Guide().FEx_Sel();
    QCOMPARE(sel.windowTitle(), QString("实验选择"));
    const struct {
      int preset, item;
    } cases[] = {{1, 0}, {2, 1}, {3, 2}, {0, -1}, {4, -1}, {-1, -1}};
    for (const auto& c : cases) {
      sel.FormShow(form_->workbench().experiments, c.preset);
      QCOMPARE(sel.ComboBox1()->count(), 3);
      QCOMPARE(sel.ComboBox1()->itemText(0), QString("实验一 运算器"));
      QCOMPARE(sel.ComboBox1()->itemText(2), QString("EXP 3"));
      QCOMPARE(sel.ComboBox1()->currentIndex(), c.item);
      QCOMPARE(sel.ExpNo(), c.preset);
    }
    sel.ComboBox1()->setCurrentIndex(2);
    QCOMPARE(sel.ExpNo(), 3);  // item i stands for entry i + 1
  }

  void selectionOkGivesTheChoiceCancelNothing() {
    WhenModal([](QWidget* w) {
      auto* sel = qobject_cast<TFEx_Sel*>(w);
      QVERIFY(sel);
      QCOMPARE(sel->ComboBox1()->currentIndex(), 1);
      sel->ComboBox1()->setCurrentIndex(2);
      QTest::mouseClick(sel->OKBtn(), Qt::LeftButton);
    });
    QCOMPARE(Guide().SelectExperiment(form_.get(), 2), std::optional<int>(3));

    WhenModal([](QWidget* w) {
      auto* sel = qobject_cast<TFEx_Sel*>(w);
      sel->ComboBox1()->setCurrentIndex(0);
      QTest::mouseClick(sel->CancelBtn(), Qt::LeftButton);
    });
    QCOMPARE(Guide().SelectExperiment(form_.get(), 2), std::nullopt);

    // OK without a choice keeps the preset, even one that matches no item.
    WhenModal(
        [](QWidget* w) { QTest::mouseClick(qobject_cast<TFEx_Sel*>(w)->OKBtn(), Qt::LeftButton); });
    QCOMPARE(Guide().SelectExperiment(form_.get(), 0), std::optional<int>(0));
  }

  void textWindowShowsTheBlockAsWritten() {
    QString shown, caption;
    WhenModal([&](QWidget* w) {
      auto* txt = qobject_cast<TFEx_TXT*>(w);
      QVERIFY(txt);
      shown = txt->Memo1()->toPlainText();
      caption = txt->windowTitle();
      QVERIFY(txt->Memo1()->isReadOnly());
      QCOMPARE(txt->Memo1()->lineWrapMode(), QPlainTextEdit::NoWrap);
      QTest::mouseClick(txt->OKBtn(), Qt::LeftButton);
    });
    Guide().ShowText(form_.get(), TextBlock::Requirement);
    QCOMPARE(caption, QString("实验要求"));
    QCOMPARE(shown, QString("第一行\n    缩进四格\n\tTab and Case"));
  }

  void textWindowCaptionsAndClearing() {
    TFEx_TXT& txt = *Guide().FEx_TXT();
    ExperimentCatalogue& c = form_->workbench().experiments;
    txt.FormShow(c, TextBlock::Requirement);
    QCOMPARE(txt.Memo1()->blockCount(), 3);
    txt.FormShow(c, TextBlock::Purpose);
    QCOMPARE(txt.windowTitle(), QString("实验目的"));
    QCOMPARE(txt.Memo1()->toPlainText(), QString("目的"));
    txt.FormShow(c, TextBlock::Notes);
    QCOMPARE(txt.windowTitle(), QString("实验说明"));
    QCOMPARE(txt.Memo1()->toPlainText(), QString());
    c.CurrentExp = 0;  // no entry: nothing is read
    txt.FormShow(c, TextBlock::Requirement);
    QCOMPARE(txt.windowTitle(), QString("实验要求"));
    QCOMPARE(txt.Memo1()->toPlainText(), QString());
  }

  void pictureWindowSizeRule() {
    TFEx_JPG& jpg = *Guide().FEx_JPG();
    const struct {
      int width, height;
      QSize window;
    } cases[] = {
        {631, 100, {661, 140}}, {632, 100, {640, 140}},  {100, 452, {130, 492}},
        {100, 453, {130, 480}}, {1280, 960, {640, 480}}, {20, 10, {50, 50}},
    };
    for (const auto& c : cases) {
      const QString name = QString("P%1X%2.JPG").arg(c.width).arg(c.height);
      WritePicture(jpg_, name, c.width, c.height);
      jpg.FormShow(form_->workbench().JpgDir(), "原理图", name.toStdString());
      QCOMPARE(jpg.size(), c.window);
      QCOMPARE(jpg.windowTitle(), QString("原理图"));
      QCOMPARE(jpg.Image1()->pixmap().size(), QSize(c.width, c.height));
    }
  }

  void pictureWindowScrollsOverTheWholePicture() {
    TFEx_JPG& jpg = *Guide().FEx_JPG();
    const struct {
      int width, height;
      bool scrolls;
    } cases[] = {{600, 400, false}, {1000, 800, true}, {700, 200, true}};
    for (const auto& c : cases) {
      const QString name = QString("S%1.JPG").arg(c.width);
      WritePicture(jpg_, name, c.width, c.height);
      jpg.FormShow(form_->workbench().JpgDir(), "时序波形图", name.toStdString());
      jpg.show();
      QVERIFY(QTest::qWaitForWindowExposed(&jpg));
      // Showing keeps the size the rule gave.
      QCOMPARE(jpg.size(),
               QSize(c.width > 631 ? 640 : c.width + 30, c.height > 452 ? 480 : c.height + 40));
      QScrollArea& box = *jpg.ScrollBox1();
      const QSize viewport = box.viewport()->size();
      QCOMPARE(box.horizontalScrollBar()->maximum(), std::max(0, c.width - viewport.width()));
      QCOMPARE(box.verticalScrollBar()->maximum(), std::max(0, c.height - viewport.height()));
      QCOMPARE(box.horizontalScrollBar()->maximum() > 0, c.scrolls);
      jpg.hide();
    }
  }

  void pictureNamesAndFallbacks() {
    TFEx_JPG& jpg = *Guide().FEx_JPG();
    const std::string dir = form_->workbench().JpgDir();
    WritePicture(jpg_, "schema.jpg", 300, 200);
    WritePicture(jpg_, "NoImg.JPG", 320, 240);
    std::ofstream((jpg_ + "/BROKEN.JPG").toStdString()) << "not a picture";
    const struct {
      const char* name;
      QSize picture;
    } cases[] = {
        {"SCHEMA.JPG", {300, 200}},   // the catalogue's upper case finds the file
        {"MISSING.JPG", {320, 240}},  // NoImg.JPG instead
        {"", {320, 240}},             // no name: NoImg.JPG
        {"BROKEN.JPG", {320, 240}},   // unreadable: as missing
        {"..\\JPG\\SCHEMA.JPG", {320, 240}},
    };
    for (const auto& c : cases) {
      jpg.FormShow(dir, "原理图", c.name);
      QCOMPARE(jpg.Image1()->pixmap().size(), c.picture);
      QVERIFY(jpg.Image1()->text().isEmpty());
    }
    // Without NoImg.JPG the window says what it did not find.
    fs::remove((jpg_ + "/NoImg.JPG").toStdString());
    for (const char* name : {"MISSING.JPG", ""}) {
      jpg.FormShow(dir, "原理图", name);
      QCOMPARE(jpg.size(), QSize(320, 240));
      QVERIFY(jpg.Image1()->pixmap().isNull());
      QCOMPARE(jpg.Image1()->text(), "图片文件未找到: " + QString(*name ? name : "NoImg.JPG"));
    }
    // A broken NoImg.JPG is no better than none; a good picture still shows afterwards.
    std::ofstream((jpg_ + "/NoImg.JPG").toStdString()) << "broken";
    jpg.FormShow(dir, "原理图", "MISSING.JPG");
    QCOMPARE(jpg.Image1()->text(), QString("图片文件未找到: MISSING.JPG"));
    jpg.FormShow(dir, "原理图", "SCHEMA.JPG");
    QVERIFY(jpg.Image1()->text().isEmpty());
    QCOMPARE(jpg.size(), QSize(330, 240));
  }

  void picturesAreDecodedByContent() {
    // A bitmap under a .JPG name, as the catalogue may name one.
    const QString path = jpg_ + "/BITMAP.JPG";
    QImage bitmap(40, 30, QImage::Format_RGB888);
    bitmap.fill(Qt::red);
    QVERIFY(bitmap.save(path, "BMP"));
    QString caption;
    QSize shown;
    WhenModal([&](QWidget* w) {
      auto* jpg = qobject_cast<TFEx_JPG*>(w);
      QVERIFY(jpg);
      caption = jpg->windowTitle();
      shown = jpg->Image1()->pixmap().size();
      jpg->reject();
    });
    Guide().ShowPicture(form_.get(), "时序波形图", "BITMAP.JPG");
    QCOMPARE(caption, QString("时序波形图"));
    QCOMPARE(shown, QSize(40, 30));
    QCOMPARE(Guide().FEx_JPG()->Image1()->pixmap().toImage().pixelColor(5, 5), QColor(Qt::red));
  }
};

QTEST_MAIN(GuideWindowsTest)
#include "guide_windows_test.moc"
