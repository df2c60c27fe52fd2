// The workbench: the main window with every view, in simulation until a box is connected.
//
// For pictures of the window without a person at the keyboard, the program can open a
// source, assemble it, step and save a picture of the window:
//   edumac8 [--size WxH] [--open FILE] [--make] [--whole-bus] [--steps N] [--trace N]
//           [--page CAPTION]... [--click NAME]... [--guide WINDOW] [--screenshot FILE.PNG]
//   edumac8 FILE                       opens FILE, as the desktop's "open with" does
// With --screenshot nothing waits for a person: a message that would open a box is printed
// on standard error and the program exits with status 1.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCommandLineParser>
#include <QDialog>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "diagram/structure_diagram.h"
#include "guide/experiment_guide_windows.h"
#include "link/box_link.h"
#include "link/firmware_image.h"
#include "platform/file_io.h"
#include "platform/paths.h"
#include "ui/application.h"
#include "ui/console_dialogs.h"
#include "ui/file_names.h"
#include "ui/tman_form.h"

namespace {

struct Script {
  QString open;
  bool make = false;
  int steps = 0;
  QString screenshot;
  QStringList pages;
  QString guide;
  QStringList clicks;
  QSize size;
  bool wholeBus = false;
  int traces = 0;
};

// "1920x1080"; an invalid size when the text is not of that form.
QSize ParseSize(const QString& text) {
  const QRegularExpressionMatch m = QRegularExpression("^(\\d+)[xX](\\d+)$").match(text);
  return m.hasMatch() ? QSize(m.captured(1).toInt(), m.captured(2).toInt()) : QSize();
}

Script ParseScript(const QApplication& app, int argc, char** argv) {
  QCommandLineParser parser;
  parser.setApplicationDescription("EDUMAC8 workbench");
  parser.addHelpOption();
  const QCommandLineOption open("open", "Open an assembly source.", "FILE");
  const QCommandLineOption make("make", "Assemble the open source.");
  const QCommandLineOption steps("steps", "Execute N instructions (F8).", "N");
  const QCommandLineOption screenshot("screenshot", "Save a picture of the window and quit.",
                                      "FILE.PNG");
  const QCommandLineOption page("page", "Bring the page with this caption to the front.",
                                "CAPTION");
  const QCommandLineOption guide(
      "guide", "Show a window of the experiment guide: select, text or a picture's name.",
      "WINDOW");
  const QCommandLineOption click("click", "Click the button with this object name.", "NAME");
  const QCommandLineOption size("size", "Give the window this size, whatever the screen.", "WxH");
  const QCommandLineOption wholeBus("whole-bus", "Show the whole data bus (sbDrawBus down).");
  const QCommandLineOption trace("trace", "Execute N micro-steps (F7) after the instructions.",
                                 "N");
  parser.addOptions({open, make, steps, screenshot, page, guide, click, size, wholeBus, trace});
  // The desktop hands over a file the user opened with the workbench.
  parser.addPositionalArgument("file", "An assembly source to open.", "[FILE]");
  parser.process(app);
  const QStringList files = parser.positionalArguments();
  Script script;
  // File names keep the bytes they were given, also when those are not UTF-8.
  const QString file = parser.isSet(open) || files.isEmpty() ? parser.value(open) : files.first();
  script.open = edumac8::ArgumentPath(file, argc, argv);
  script.make = parser.isSet(make);
  script.steps = parser.value(steps).toInt();
  script.screenshot = edumac8::ArgumentPath(parser.value(screenshot), argc, argv);
  script.pages = parser.values(page);
  script.guide = parser.value(guide);
  script.clicks = parser.values(click);
  if (parser.isSet(size)) {
    script.size = ParseSize(parser.value(size));
    if (script.size.isEmpty()) {
      std::fprintf(stderr, "--size wants WIDTHxHEIGHT, for example 1920x1080\n");
      std::exit(2);
    }
  }
  script.wholeBus = parser.isSet(wholeBus);
  script.traces = parser.value(trace).toInt();
  return script;
}

}  // namespace

int main(int argc, char* argv[]) {
  edumac8::IgnoreFileSizeSignal();
  QApplication app(argc, argv);
  edumac8::InitialiseApplication(app);
  const Script script = ParseScript(app, argc, argv);
  edumac8::LinkOptions link;
  link.firmwareDir = edumac8::HomeDirOf(edumac8::ProgramPath()) + edumac8::kFirmwareDirName;
  link.backgroundAttempts = true;  // a firmware update must not freeze the window
  const bool unattended = !script.screenshot.isEmpty();
  auto console = unattended ? std::make_unique<edumac8::ConsoleDialogs>() : nullptr;
  const edumac8::ConsoleDialogs* messages = console.get();
  edumac8::TMANForm form(std::move(console), std::make_unique<edumac8::BoxLink>(link));
  if (script.size.isValid()) form.resize(script.size);
  form.show();
  const auto failed = [messages] { return messages && messages->Failed(); };
  if (!script.open.isEmpty()) form.OpenFile(script.open);
  if (script.make && !failed()) form.Make1Click();
  if (script.wholeBus) form.Action("sbDrawBus")->setChecked(true);
  for (int i = 0; i < script.steps && !failed(); ++i) form.StepBtnClick();
  for (int i = 0; i < script.traces && !failed(); ++i) form.TraceBtnClick();
  if (failed()) return 1;
  for (const QString& caption : script.pages)
    for (QTabWidget* area : {form.pgLeft(), form.pgHost(), form.pgBottom()})
      for (int i = 0; i < area->count(); ++i)
        if (area->tabText(i) == caption) area->setCurrentIndex(i);
  for (const QString& name : script.clicks)
    if (auto* button = form.findChild<QAbstractButton*>(name)) button->click();
  QWidget* pictured = &form;
  auto* guide = dynamic_cast<edumac8::ExperimentGuideWindows*>(&form.GuideWindows());
  if (guide && !script.guide.isEmpty()) pictured = guide->ShowWithoutWaiting(script.guide);
  if (!script.screenshot.isEmpty()) {
    // Let the window lay itself out and paint, and the diagram's animation come to rest
    // (or give up waiting after 10 s), before taking the picture.
    QElapsedTimer sinceLastCommand;
    sinceLastCommand.start();
    QTimer poll;
    poll.setInterval(50);
    QObject::connect(&poll, &QTimer::timeout, &app, [&] {
      const qint64 waited = sinceLastCommand.elapsed();
      if (waited < 300 || (form.Flow()->Animating() && waited < 10000)) return;
      poll.stop();
      const bool saved = pictured->grab().save(script.screenshot);
      std::fprintf(saved ? stdout : stderr, "%s %s\n",
                   saved ? "Screenshot saved to" : "Could not write",
                   qPrintable(script.screenshot));
      app.exit(saved ? 0 : 1);
    });
    poll.start();
    return app.exec();
  }
  return app.exec();
}
