// The workbench: the main window with every view, in simulation until a box is connected.
//
// For pictures of the window without a person at the keyboard, the program can open a
// source, assemble it, step and save a picture of the window:
//   edumac8 [--open FILE] [--make] [--steps N] [--page CAPTION]... [--click NAME]...
//           [--guide WINDOW] [--screenshot FILE.PNG]
//   edumac8 FILE                       opens FILE, as the desktop's "open with" does
#include <QAbstractButton>
#include <QApplication>
#include <QCommandLineParser>
#include <QDialog>
#include <QTabWidget>
#include <QTimer>
#include <cstdio>

#include "guide/experiment_guide_windows.h"
#include "link/box_link.h"
#include "link/firmware_image.h"
#include "platform/paths.h"
#include "ui/application.h"
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
};

Script ParseScript(const QApplication& app) {
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
  parser.addOptions({open, make, steps, screenshot, page, guide, click});
  // The desktop hands over a file the user opened with the workbench.
  parser.addPositionalArgument("file", "An assembly source to open.", "[FILE]");
  parser.process(app);
  const QStringList files = parser.positionalArguments();
  const QString file = parser.isSet(open) || files.isEmpty() ? parser.value(open) : files.first();
  return {file,
          parser.isSet(make),
          parser.value(steps).toInt(),
          parser.value(screenshot),
          parser.values(page),
          parser.value(guide),
          parser.values(click)};
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  edumac8::InitialiseApplication(app);
  const Script script = ParseScript(app);
  edumac8::LinkOptions link;
  link.firmwareDir = edumac8::HomeDirOf(edumac8::ProgramPath()) + edumac8::kFirmwareDirName;
  link.backgroundAttempts = true;  // a firmware update must not freeze the window
  edumac8::TMANForm form(nullptr, std::make_unique<edumac8::BoxLink>(link));
  form.show();
  if (!script.open.isEmpty()) form.OpenFile(script.open);
  if (script.make) form.Make1Click();
  for (int i = 0; i < script.steps; ++i) form.StepBtnClick();
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
    // Let the window lay itself out and paint once before taking the picture.
    QTimer::singleShot(300, &app, [&] {
      const bool saved = pictured->grab().save(script.screenshot);
      std::fprintf(saved ? stdout : stderr, "%s %s\n",
                   saved ? "Screenshot saved to" : "Could not write",
                   qPrintable(script.screenshot));
      app.exit(saved ? 0 : 1);
    });
    return app.exec();
  }
  const int status = app.exec();
  // After the window has closed: an edited instruction system is offered for saving.
  form.SaveModifiedSystemAtExit();
  return status;
}
