// Pictures of the FPGA board window and its settings dialogs, offscreen: a mode with every
// kind, a selection, the placing preview, the test mode, and each dialog mode. The window
// system draws no title bars offscreen, so each picture gets its caption drawn above it.
//   edumac8_board_screenshots OUTDIR MODE.MD8
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>
#include <cstdio>

#include "fpga/board_area.h"
#include "fpga/board_button.h"
#include "fpga/tstruc_fpgaf.h"
#include "scripted_dialogs.h"
#include "ui/tman_form.h"

using namespace edumac8;

namespace {

QImage WithCaption(QWidget& window) {
  const QImage body = window.grab().toImage();
  QImage image(body.width(), body.height() + 26, QImage::Format_ARGB32);
  image.fill(QColor(0x1F, 0x3A, 0x6E));
  QPainter p(&image);
  p.setPen(Qt::white);
  p.drawText(QRect(8, 0, body.width() - 16, 26), Qt::AlignVCenter, window.windowTitle());
  p.drawImage(0, 26, body);
  return image;
}

bool Save(QWidget& window, const QString& path) {
  QApplication::processEvents();
  const bool saved = WithCaption(window).save(path);
  std::printf("%s %s\n", saved ? "Screenshot saved to" : "Could not write", qPrintable(path));
  return saved;
}

void Move(QWidget* widget, QPoint at) {
  QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QApplication::sendEvent(widget, &move);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: edumac8_board_screenshots OUTDIR MODE.MD8\n");
    return 2;
  }
  const QDir out(QString::fromLocal8Bit(argv[1]));
  test::DialogLog log;
  TMANForm form(std::make_unique<test::ScriptedDialogs>(log));
  TStrucFPGAF& board = *form.StrucFPGAF();
  form.sbFPGAOpenClick();
  log.paths.push_back(QString::fromLocal8Bit(argv[2]));
  board.OpenMode();
  bool ok = log.errors.isEmpty();
  QApplication::processEvents();

  ok = Save(board, out.filePath("board.png")) && ok;
  QTest::mouseClick(board.Visual(11), Qt::LeftButton, Qt::ShiftModifier);
  board.Palette(kTwoDigitsWithLeds)->click();
  Move(board.imgM(), QPoint(627, 224));
  ok = Save(board, out.filePath("board-selection.png")) && ok;
  board.Palette(kTwoDigitsWithLeds)->click();

  board.SetRandomSeed(8);
  board.sbT()->click();
  board.Timer1Timer();
  ok = Save(board, out.filePath("board-test.png")) && ok;
  board.sbT()->click();

  // Each dialog as its own right click opens it; the picture is taken, then it is cancelled.
  QString shot;
  board.SetDialogRunner([&](QDialog& dialog) {
    dialog.show();
    ok = Save(dialog, out.filePath(shot)) && ok;
    dialog.hide();
    return int(QDialog::Rejected);
  });
  const struct {
    const char* file;
    QWidget* target;
  } dialogs[] = {
      {"dialog-led.png", board.Visual(0)},       {"dialog-button.png", board.Visual(12)},
      {"dialog-key.png", board.Key(4)},          {"dialog-two-digits.png", board.Visual(9)},
      {"dialog-segments.png", board.Visual(10)}, {"dialog-eight-digits.png", board.Visual(11)},
      {"dialog-port.png", board.PortEdit(0)},
  };
  for (const auto& d : dialogs) {
    shot = d.file;
    QTest::mouseClick(d.target, Qt::RightButton);
  }
  return ok ? 0 : 1;
}
