#include "views/error_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>

namespace edumac8 {

ErrorBox ModalErrorBox(QWidget* parent) {
  QPointer<QWidget> owner(parent);
  return [owner](const QString& text) {
    QMessageBox::critical(owner, QApplication::applicationDisplayName(), text, QMessageBox::Ok);
  };
}

}  // namespace edumac8
