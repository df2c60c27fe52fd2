// How a window tells the user about an error it refuses: by default a modal box with an OK
// button; tests install their own so they never wait on a dialog.
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace edumac8 {

using ErrorBox = std::function<void(const QString& text)>;

// A modal error box over `parent`, titled with the application's name.
ErrorBox ModalErrorBox(QWidget* parent);

}  // namespace edumac8
