// The workbench window on the screen it is given (ctest runs this at 1366 x 768 and at
// 1920 x 1080 through the offscreen platform's screen configuration): it fits, every control
// is on it, and room beyond the design size goes to every area in proportion.
#include <QCheckBox>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>

#include "gui_test_support.h"
#include "ui/application.h"
#include "views/micro_program_window.h"

using namespace edumac8;
using namespace edumac8::test;

namespace {

constexpr int kDesignWidth = 1280;
constexpr int kDesignHeight = 800;

}  // namespace

class WindowFitTest : public QObject {
  Q_OBJECT

  DialogLog log_;
  std::unique_ptr<TMANForm> form_;

  // The widget is shown and lies inside the window's client area, whole.
  void VerifyOnWindow(QWidget* widget, const char* what) {
    QVERIFY2(widget && widget->isVisible(), what);
    const QRect placed(widget->mapTo(form_.get(), QPoint(0, 0)), widget->size());
    QVERIFY2(form_->rect().contains(placed), qPrintable(QString("%1 at %2,%3 %4x%5 outside %6x%7")
                                                            .arg(what)
                                                            .arg(placed.x())
                                                            .arg(placed.y())
                                                            .arg(placed.width())
                                                            .arg(placed.height())
                                                            .arg(form_->width())
                                                            .arg(form_->height())));
  }

 private slots:
  void initTestCase() {
    InitialiseApplication(*qApp);
    form_ = ShowWorkbench(log_);
    form_->pgBottom()->setCurrentWidget(form_->uMF());
    QTest::qWait(50);  // the areas are shared once the first layout is done
  }
  void cleanupTestCase() { form_.reset(); }

  void theWindowFitsTheAvailableArea() {
    const QRect area = form_->screen()->availableGeometry();
    QVERIFY2(area.contains(form_->frameGeometry()),
             qPrintable(QString("%1x%2")
                            .arg(form_->frameGeometry().width())
                            .arg(form_->frameGeometry().height())));
    // And uses it: nothing of the screen is left over beyond the frame.
    QVERIFY(form_->frameGeometry().width() >= area.width() - 8);
    QVERIFY(form_->frameGeometry().height() >= area.height() - 8);
  }

  void everyControlIsOnTheWindow() {
    VerifyOnWindow(form_->menuBar(), "menu bar");
    auto* toolbar = form_->findChild<QToolBar*>("Panel1");
    for (QAction* action : toolbar->actions())
      if (!action->isSeparator() && action->isVisible())
        VerifyOnWindow(toolbar->widgetForAction(action), qPrintable(action->objectName()));
    for (QTabWidget* area : {form_->pgLeft(), form_->pgHost(), form_->pgBottom()}) {
      VerifyOnWindow(area->tabBar(), qPrintable(area->objectName()));
      VerifyOnWindow(area->currentWidget(), qPrintable(area->objectName() + " page"));
    }
    for (int bit = 0; bit < 24; ++bit)
      VerifyOnWindow(form_->uMF()->BitPanel().Box(bit), qPrintable(QString("MM%1").arg(bit)));
    VerifyOnWindow(&form_->uMF()->Registers(), "register panel");
    VerifyOnWindow(form_->statusBar(), "status line");
  }

  void roomBeyondTheDesignSizeIsSharedInProportion() {
    const int left = form_->pgLeft()->width();
    const int bottom = form_->pgBottom()->height();
    if (form_->width() <= kDesignWidth) {
      QCOMPARE(left, TMANForm::kLeftWidth);
    } else {
      const double expected = double(TMANForm::kLeftWidth) * form_->width() / kDesignWidth;
      QVERIFY2(qAbs(left - expected) <= 4, qPrintable(QString::number(left)));
    }
    if (form_->height() <= kDesignHeight) {
      QCOMPARE(bottom, TMANForm::kBottomHeight);
    } else {
      const double expected = double(TMANForm::kBottomHeight) * form_->height() / kDesignHeight;
      QVERIFY2(qAbs(bottom - expected) <= 4, qPrintable(QString::number(bottom)));
    }

    // A later enlargement is shared too, not given to the middle page alone.
    const int host = form_->pgHost()->width();
    form_->resize(form_->width() + 300, form_->height() + 200);
    QTRY_VERIFY(form_->pgLeft()->width() > left + 40);
    QVERIFY(form_->pgHost()->width() > host + 40);
    QVERIFY(form_->pgBottom()->height() > bottom + 20);
  }
};

QTEST_MAIN(WindowFitTest)
#include "window_fit_test.moc"
