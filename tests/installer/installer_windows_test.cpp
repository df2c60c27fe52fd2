// The installer's windows on the offscreen platform, built from INSTALL.INI fixtures on
// temporary trees with a fake Wine prefix.
#include <QApplication>
#include <QTest>

#include "install/install_text.h"
#include "install/udev_rule.h"
#include "installer_fakes.h"
#include "platform/text_codec.h"
#include "support/temp_tree.h"
#include "tdir_form.h"
#include "tdriver_form.h"
#include "tform1.h"
#include "twin_info_form.h"

namespace edumac8 {
namespace {

using test::InstallerLog;
using test::TempTree;

class InstallerWindowsTest : public QObject {
  Q_OBJECT

  std::unique_ptr<TempTree> t_;
  InstallerLog log_;

  std::string Lab() const { return t_->Path("lab"); }
  std::string Prefix() const { return t_->Path("wine"); }

  void WriteIni(const std::string& utf8) const { t_->Write("lab/INSTALL.INI", Utf8ToGb2312(utf8)); }
  std::unique_ptr<TForm1> Menu(bool chinese) {
    auto form = std::make_unique<TForm1>(
        install::LoadInstallMenu(Lab(), chinese),
        test::FakeServices(log_, {Prefix()},
                           {t_->Path("sys"), t_->Path("modules"), {t_->Path("rules")}}));
    form->show();
    return form;
  }
  QStringList Shown(const TForm1& form) const {
    QStringList captions;
    for (int n = 1; n <= TForm1::kButtons; ++n)
      if (form.CMD(n)->isVisible()) captions << form.CMD(n)->text();
    return captions;
  }
  void KeilTree() const {
    t_->Mkdir("wine/drive_c");
    t_->Link("../drive_c", "wine/dosdevices/c:");
    t_->Write("wine/drive_c/Keil/TOOLS.INI", "[C51]\r\nTDRV1=BIN\\MON51.DLL(\"M\")\r\n");
    t_->Write("wine/drive_c/Keil/C51/BIN/C51.EXE", "");
    t_->Write("lab/PVX51.DLL", "driver");
  }

 private slots:
  void init() {
    t_ = std::make_unique<TempTree>();
    log_ = InstallerLog{};
    t_->Mkdir("lab");
  }
  void cleanup() { t_.reset(); }

  void menuFromTheFileInBothLanguages() {
    WriteIni(
        "TITLE,\"\",\"实验室安装\",\"Lab Setup\"\r\n"
        "QUOR,\"setup.sh\",\"安装工具\",\"Install Tools\"\r\n"
        "QUOR,\"gone.sh\",\"缺\",\"Gone\"\r\n");
    t_->Write("lab/setup.sh", "");

    auto en = Menu(false);
    QCOMPARE(en->windowTitle(), QString("Lab Setup"));
    QCOMPARE(Shown(*en), (QStringList{"Install USB Driver", "Install Tools"}));
    QCOMPARE(en->Label1()->text(), QString("Open Teaching Lab"));
    QCOMPARE(en->Label1()->x(), 50);
    QVERIFY(!en->CMD(1)->autoRaise());

    auto cn = Menu(true);
    QCOMPARE(cn->windowTitle(), QString("实验室安装"));
    QCOMPARE(Shown(*cn), (QStringList{"安装 USB 驱动", "安装工具"}));
    QCOMPARE(cn->Label1()->text(), QString("开源教学实验室"));
    QCOMPARE(cn->Label1()->x(), 102);
    QVERIFY(cn->CMD(1)->autoRaise());  // transparent buttons
    QVERIFY(log_.errors.isEmpty());
  }

  void defaultCaptionWithoutATitle() {
    QCOMPARE(Menu(false)->windowTitle(), QString("EDUMAC8 Setup"));
    QCOMPARE(Menu(true)->windowTitle(), QString("EDUMAC8 安装程序"));
  }

  void buttonsSitWhereTheyAlwaysHave() {
    auto form = Menu(false);
    const int ys[] = {16, 59, 103, 146, 190, 233, 277, 320};
    for (int n = 1; n <= TForm1::kButtons; ++n)
      QCOMPARE(form->CMD(n)->geometry(), QRect(50, ys[n - 1], 310, 30));
    QVERIFY(form->CMD(1)->isVisible());
    QVERIFY(!form->CMD(2)->isVisible());  // hidden until filled
  }

  void nineEntriesShowEightButtons() {
    std::string ini;
    for (int i = 1; i <= 8; ++i) {
      ini += "QUOR,\"p" + std::to_string(i) + "\",\"c\",\"P" + std::to_string(i) + "\"\n";
      t_->Write("lab/p" + std::to_string(i), "");
    }
    WriteIni(ini);
    auto form = Menu(false);
    QCOMPARE(form->Menu().Entries.size(), std::size_t(9));
    QCOMPARE(Shown(*form),
             (QStringList{"Install USB Driver", "P1", "P2", "P3", "P4", "P5", "P6", "P7"}));
  }

  void brokenIniEmptiesTheMenuAndNamesTheLine() {
    WriteIni("TITLE,\"\",\"c\",\"Lab\"\n\n;x\nQUOR,\"a\",\"b\",\"c\"\nBOGUS\n");
    auto form = Menu(false);
    QCOMPARE(log_.errors, QStringList{"INSTALL.INI Error (Line: 3)"});
    QVERIFY(Shown(*form).isEmpty());
    QCOMPARE(form->windowTitle(), QString("Lab"));
    form->hide();
    form->show();
    QCOMPARE(log_.errors.size(), 1);  // told once
  }

  void programEntryOpensItsFile() {
    WriteIni("QUOR,\"Tools\\Setup.sh\",\"c\",\"Setup\"\n");
    t_->Write("lab/tools/setup.sh", "");
    auto form = Menu(true);
    QTest::mouseClick(form->CMD(2), Qt::LeftButton);
    QCOMPARE(log_.opened, QStringList{QString::fromStdString(t_->Path("lab/tools/setup.sh"))});
    QVERIFY(log_.errors.isEmpty());

    log_.launchSucceeds = false;
    form->RunEntry(2);
    QCOMPARE(log_.errors,
             QStringList{"无法打开: " + QString::fromStdString(t_->Path("lab/tools/setup.sh"))});

    // A file removed since the menu was built is reported, not started.
    std::filesystem::remove(t_->Path("lab/tools/setup.sh"));
    log_.launchSucceeds = true;
    form->RunEntry(2);
    QCOMPARE(log_.opened.size(), 2);
    QCOMPARE(log_.errors.size(), 2);
  }

  void webAddressOpens() {
    auto form = Menu(false);
    QVERIFY(form->Label3()->font().bold() && form->Label3()->font().underline());
    QCOMPARE(form->Label3()->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseClick(form->Label3(), Qt::LeftButton);
    QCOMPARE(log_.opened, QStringList{"http://www.edumac8.example"});
  }

  void usbEntryShowsTheMachineAndInstallsTheRule() {
    t_->Mkdir("sys/module/cdc_acm");
    auto form = Menu(false);
    TWinInfoF& info = form->WinInfoForm();
    QStringList whileShown;
    log_.answer = [&](QDialog& d) {
      whileShown << info.WinInfo()->text() << info.l1()->text() << info.l2()->text();
      t_->Write("rules/70-edumac8-box.rules", install::kUdevRule);  // what pkexec would do
      info.OkBtn()->click();
      return d.result() == QDialog::Accepted;
    };
    QTest::mouseClick(form->CMD(1), Qt::LeftButton);
    QCOMPARE(log_.modal, QStringList{"edumac8::TWinInfoF"});
    QCOMPARE(whileShown.size(), 3);
    QVERIFY(whileShown[0].contains("  Linux "));
    QCOMPARE(whileShown[1], QString("cdc_acm driver loaded"));
    QCOMPARE(whileShown[2], QString("USB access rule not installed"));
    QCOMPARE(log_.ruleInstalls, 1);
    QCOMPARE(log_.informations.size(), 1);
    QVERIFY(log_.informations[0].startsWith("USB access rule installed. Please unplug the box"));
    QCOMPARE(info.l2()->text(), "USB access rule installed: " +
                                    QString::fromStdString(t_->Path("rules/70-edumac8-box.rules")));
    QCOMPARE(info.result(), int(QDialog::Accepted));
  }

  void failedRuleInstallKeepsTheDialog() {
    auto form = Menu(true);
    TWinInfoF& info = form->WinInfoForm();
    info.Refresh();
    QCOMPARE(info.l1()->text(), QString("未找到 cdc_acm 驱动, 实验仪的串口无法使用"));
    log_.ruleSucceeds = false;
    log_.ruleOutput = "pkexec: Not authorized";
    info.setResult(QDialog::Rejected);
    info.OkClick();
    QCOMPARE(log_.errors, QStringList{"USB 访问规则安装失败: pkexec: Not authorized"});
    QCOMPARE(info.result(), int(QDialog::Rejected));
    QVERIFY(info.OkBtn()->isEnabled());
  }

  void driverWindowRegistersTheDetectedKeil() {
    KeilTree();
    WriteIni("KEIL_C51,\"pvx51.dll\",\"PVX 调试器\",\"PVX Debugger\"\n");
    auto form = Menu(false);
    QCOMPARE(Shown(*form), (QStringList{"Install USB Driver", "Install KEIL Driver"}));
    QTest::mouseClick(form->CMD(2), Qt::LeftButton);
    TDriverForm& d = form->DriverForm();
    QVERIFY(d.isVisible());
    QCOMPARE(d.windowTitle(), QString("Install Keil Driver"));
    QCOMPARE(d.BoxKeil()->title(), QString("Keil Destination"));
    QCOMPARE(d.DirBtnKeil()->text(), QString("Browse..."));
    QCOMPARE(d.Install()->text(), QString("Install"));
    QCOMPARE(d.size(), QSize(567, 466));
    QCOMPARE(d.Memo1()->geometry(), QRect(16, 16, 529, 273));
    QCOMPARE(d.BoxKeil()->geometry(), QRect(16, 312, 529, 49));
    QCOMPARE(d.PathKeil()->geometry(), QRect(8, 16, 409, 20));
    QCOMPARE(d.DirBtnKeil()->geometry(), QRect(432, 16, 75, 25));
    QCOMPARE(d.Install()->geometry(), QRect(360, 384, 185, 25));
    QCOMPARE(d.PathKeil()->text(), QString::fromStdString(t_->Path("wine/drive_c/Keil")));
    QCOMPARE(d.PathKeil()->toolTip(), QString("C:\\Keil"));

    d.PathKeil()->setText(d.PathKeil()->text() + "  ");
    QTest::mouseClick(d.Install(), Qt::LeftButton);
    QCOMPARE(d.PathKeil()->text(), QString::fromStdString(t_->Path("wine/drive_c/Keil")));
    QCOMPARE(d.Memo1()->toPlainText(),
             QString("C51: pvx51.dll(\"PVX Debugger\")  KEIL Driver installed\n"
                     "Please select PVX driver in Keil/Option/Debug\n"));
    QCOMPARE(t_->Read("wine/drive_c/Keil/TOOLS.INI"),
             "[C51]\r\nTDRV1=BIN\\MON51.DLL(\"M\")\r\n"
             "TDRV2=C:\\Keil\\C51\\BIN\\pvx51.dll(\"PVX Debugger\")\r\n");

    // Closing only hides the window; the report stays until the next install.
    d.close();
    QVERIFY(!d.isVisible());
    form->RunEntry(2);
    QVERIFY(d.isVisible());
    QVERIFY(d.Memo1()->toPlainText().startsWith("C51: "));
  }

  void driverWindowWithoutKeil() {
    t_->Write("lab/PVX51.DLL", "driver");
    WriteIni("KEIL_C51,\"pvx51.dll\",\"PVX 调试器\",\"PVX Debugger\"\n");
    auto form = Menu(true);
    TDriverForm& d = form->DriverForm();
    d.Memo1()->setPlainText("earlier report");
    d.OpenDriverWindow();
    QCOMPARE(d.windowTitle(), QString("安装 KEIL 驱动"));
    QCOMPARE(d.PathKeil()->text(), QString("请先安装 Keil 软件"));
    QCOMPARE(d.Memo1()->toPlainText(), QString("earlier report"));
    d.InstallClick();
    QCOMPARE(d.Memo1()->toPlainText(), QString());
  }

  void browsingChoosesTheKeilDirectory() {
    KeilTree();
    t_->Mkdir("wine/drive_c/Keil v5/C51");
    WriteIni("KEIL_C51,\"pvx51.dll\",\"c\",\"e\"\n");
    auto form = Menu(false);
    TDriverForm& d = form->DriverForm();
    d.OpenDriverWindow();
    TDirForm& dir = form->DirForm();
    QStringList texts;
    log_.answer = [&](QDialog&) {
      texts << dir.windowTitle() << dir.Okbtn()->text() << dir.Cancel()->text()
            << dir.Help()->text() << dir.Directory();
      // Up to the drive's root, then into the other Keil.
      emit dir.DirectoryListBox1()->itemActivated(dir.DirectoryListBox1()->item(0));
      const QList<QListWidgetItem*> found =
          dir.DirectoryListBox1()->findItems("Keil v5", Qt::MatchExactly);
      if (found.size() != 1) return false;
      emit dir.DirectoryListBox1()->itemActivated(found[0]);
      return true;
    };
    d.DirBtnKeilClick();
    QCOMPARE(texts, (QStringList{"Keil Destination", "OK", "Cancel", "Help",
                                 QString::fromStdString(t_->Path("wine/drive_c/Keil"))}));
    QCOMPARE(d.PathKeil()->text(), QString::fromStdString(t_->Path("wine/drive_c/Keil v5")));
    QCOMPARE(d.PathKeil()->toolTip(), QString("C:\\Keil v5"));

    log_.answer = [&](QDialog&) {
      emit dir.DriveComboBox1()->activated(dir.DriveComboBox1()->count() - 1);
      return false;  // cancelled: the edit keeps its text
    };
    d.DirBtnKeilClick();
    QCOMPARE(d.PathKeil()->text(), QString::fromStdString(t_->Path("wine/drive_c/Keil v5")));
  }

  void dirFormListsWineDrivesAndTrees() {
    t_->Mkdir("wine/drive_c/Program Files");
    t_->Mkdir("wine/drive_c/Keil/C51");
    t_->Mkdir("wine/drive_c/Keil/ARM");
    t_->Link("../drive_c", "wine/dosdevices/c:");
    t_->Mkdir("data/Labs");
    t_->Link(t_->Path("data"), "wine/dosdevices/d:");
    auto form = Menu(false);
    TDirForm& dir = form->DirForm();
    QCOMPARE(dir.size(), QSize(311, 234));
    QCOMPARE(dir.DriveComboBox1()->geometry(), QRect(8, 32, 297, 20));
    QCOMPARE(dir.DirectoryListBox1()->geometry(), QRect(8, 56, 297, 129));
    QCOMPARE(dir.Okbtn()->geometry(), QRect(32, 200, 75, 25));
    QCOMPARE(dir.Cancel()->geometry(), QRect(128, 200, 75, 25));
    QCOMPARE(dir.Help()->geometry(), QRect(224, 200, 75, 25));
    QCOMPARE(dir.DriveComboBox1()->count(), 3);  // C:, D: and the Linux root
    QVERIFY(dir.DriveComboBox1()->itemText(0).startsWith("C:  "));
    QVERIFY(dir.DriveComboBox1()->itemText(1).startsWith("D:  "));
    QCOMPARE(dir.DriveComboBox1()->itemText(2), QString("/"));

    dir.SetDirectory(QString::fromStdString(t_->Path("wine/drive_c/Keil")));
    QCOMPARE(dir.DriveComboBox1()->currentIndex(), 0);
    QStringList rows;
    for (int i = 0; i < dir.DirectoryListBox1()->count(); ++i)
      rows << dir.DirectoryListBox1()->item(i)->text();
    QCOMPARE(rows,
             (QStringList{QString::fromStdString(t_->Path("wine/drive_c")), "Keil", "ARM", "C51"}));
    QCOMPARE(dir.DirectoryListBox1()->currentRow(), 1);
    QCOMPARE(dir.SelectDir()->toolTip(), QString::fromStdString(t_->Path("wine/drive_c/Keil")));

    emit dir.DriveComboBox1()->activated(1);
    QCOMPARE(dir.Directory(), QString::fromStdString(t_->Path("data")));
    QCOMPARE(dir.DirectoryListBox1()->count(), 2);

    dir.SetDirectory("/no/such/directory");
    QCOMPARE(dir.DriveComboBox1()->currentIndex(), 0);
    dir.HelpClick();
    QCOMPARE(log_.informations.size(), 1);
  }
};

}  // namespace
}  // namespace edumac8

QTEST_MAIN(edumac8::InstallerWindowsTest)
#include "installer_windows_test.moc"
