// Pictures of the installer's windows for the README, from a lab's INSTALL.INI and a Keil tree
// in a temporary Wine prefix:
//   edumac8_installer_screenshots OUTDIR
// writes installer-menu-zh.png, installer-menu-en.png, installer-driver.png, installer-dir.png.
#include <QApplication>
#include <QStyleFactory>
#include <QTimer>
#include <cstdio>

#include "installer_fakes.h"
#include "platform/text_codec.h"
#include "support/temp_tree.h"
#include "tdir_form.h"
#include "tdriver_form.h"
#include "tform1.h"

namespace {

using edumac8::test::TempTree;

void MakeLab(const TempTree& t) {
  t.Write("lab/INSTALL.INI",
          edumac8::Utf8ToGb2312(
              "TITLE,\"\",\"EDUMAC8 计算机组成原理实验系统 安装\",\"EDUMAC8 Workbench Setup\"\r\n"
              "QUOR,\"edumac8\",\"启动 EDUMAC8 实验系统\",\"Start the EDUMAC8 Workbench\"\r\n"
              "QUOR,\"HELP\\EDUMAC8.PDF\",\"使用手册\",\"User Manual\"\r\n"
              "QUOR,\"tools\\fpga-setup.sh\",\"安装 FPGA 开发工具\",\"Install the FPGA Tools\"\r\n"
              "KEIL_C51,\"PVX51.DLL\",\"PVX 单片机调试器\",\"PVX C51 Debugger\"\r\n"
              "KEIL_ARM,\"PVXARM.DLL\",\"PVX ARM 调试器\",\"PVX ARM Debugger\"\r\n"));
  for (const char* file : {"lab/edumac8", "lab/HELP/EDUMAC8.PDF", "lab/tools/fpga-setup.sh",
                           "lab/PVX51.DLL", "lab/PVXARM.DLL"})
    t.Write(file, "x");
  t.Mkdir("wine/drive_c/Program Files");
  t.Link("../drive_c", "wine/dosdevices/c:");
  t.Write(
      "wine/drive_c/Keil/TOOLS.INI",
      "[C51]\r\nTDRV1=BIN\\MON51.DLL (\"Keil Monitor-51 Driver\")\r\n"
      "[ARM]\r\nCPUDLL0=SARM.DLL(TDRV0,TDRV1)\r\nTDRV0=BIN\\UL2ARM.DLL(\"ULINK2 ARM Debugger\")\r\n"
      "TDRV1=BIN\\JL2CM3.DLL(\"J-LINK / J-TRACE\")\r\n");
  t.Write("wine/drive_c/Keil/C51/BIN/C51.EXE", "");
  t.Write("wine/drive_c/Keil/ARM/BIN/ARM.dll", "");
  t.Mkdir("wine/drive_c/Keil/UV4");
}

bool Save(QWidget& w, const QString& path) {
  const bool saved = w.grab().save(path);
  std::fprintf(saved ? stdout : stderr, "%s %s\n",
               saved ? "Screenshot saved to" : "Could not write", qPrintable(path));
  return saved;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTDIR\n", argv[0]);
    return 2;
  }
  app.setStyle(QStyleFactory::create("Fusion"));
  QFont font = app.font();
  font.setFamilies({"Noto Sans CJK SC", "DejaVu Sans", font.family()});
  font.setPointSize(9);
  app.setFont(font);

  const QString out = argv[1];
  TempTree t;
  MakeLab(t);
  edumac8::test::InstallerLog log;
  auto menu = [&](bool chinese) {
    return std::make_unique<edumac8::TForm1>(
        edumac8::install::LoadInstallMenu(t.Path("lab"), chinese),
        edumac8::test::FakeServices(log, {t.Path("wine")}));
  };
  auto cn = menu(true);
  auto en = menu(false);
  cn->show();
  en->show();
  cn->DriverForm().OpenDriverWindow();
  cn->DriverForm().InstallClick();
  edumac8::TDirForm& dir = cn->DirForm();
  dir.setWindowTitle("Keil 目标路径");
  dir.Okbtn()->setText("好");
  dir.Cancel()->setText("取消");
  dir.Help()->setText("帮助");
  dir.SetDirectory(QString::fromStdString(t.Path("wine/drive_c/Keil")));
  dir.show();

  int failures = 0;
  QTimer::singleShot(300, &app, [&] {
    failures += !Save(*cn, out + "/installer-menu-zh.png");
    failures += !Save(*en, out + "/installer-menu-en.png");
    failures += !Save(cn->DriverForm(), out + "/installer-driver.png");
    failures += !Save(dir, out + "/installer-dir.png");
    app.exit(failures ? 1 : 0);
  });
  return app.exec();
}
