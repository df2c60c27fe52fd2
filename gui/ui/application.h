// Application-wide settings of the workbench: names, style, the hint timing and Qt's own
// texts in Chinese.
#pragma once

class QApplication;

namespace edumac8 {

void InitialiseApplication(QApplication& app);

}  // namespace edumac8
