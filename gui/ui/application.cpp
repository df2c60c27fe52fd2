#include "ui/application.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QTranslator>

namespace edumac8 {
namespace {

// Hints appear almost at once (18 ms).
class WorkbenchStyle : public QProxyStyle {
 public:
  WorkbenchStyle() : QProxyStyle(QStyleFactory::create("Fusion")) {}

  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* data) const override {
    if (hint == SH_ToolTip_WakeUpDelay) return 18;
    return QProxyStyle::styleHint(hint, option, widget, data);
  }
};

}  // namespace

void InitialiseApplication(QApplication& app) {
  // No display name: the platform would append it to the main window's caption.
  app.setApplicationName("EDUMAC8");
  app.setStyle(new WorkbenchStyle);
  QFont font = app.font();
  font.setFamilies(QStringList{"Noto Sans CJK SC", "DejaVu Sans", font.family()});
  font.setPointSize(9);
  app.setFont(font);
  // The standard dialogs and buttons speak the window's language, whatever the locale.
  auto* qtTexts = new QTranslator(&app);
  if (qtTexts->load("qtbase_zh_CN", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    app.installTranslator(qtTexts);
  else
    delete qtTexts;
}

}  // namespace edumac8
