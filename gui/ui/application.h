// Application-wide settings of the workbench: names, style and the hint timing.
#pragma once

class QApplication;

namespace edumac8 {

void InitialiseApplication(QApplication& app);

}  // namespace edumac8
