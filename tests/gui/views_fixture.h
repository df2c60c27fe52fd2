// The memory, micro-program and trace windows on one workbench, wired as the main window
// wires them: execution control refreshes them through the host.
#pragma once

#include <QString>
#include <QStringList>

#include "views/memory_window.h"
#include "views/micro_program_window.h"
#include "views/trace_window.h"
#include "workbench/workbench.h"

namespace edumac8::test {

class ViewsHost : public Host {
 public:
  TuMF* micro = nullptr;
  TDataF* memory = nullptr;
  void RefreshMicroViews() override {
    if (micro) micro->RefreshMicroViews();
  }
  void RepaintMemory() override {
    if (memory) memory->RepaintMemory();
  }
};

struct ViewsFixture {
  ViewsHost host;
  Workbench wb{host};
  TuTRCF trace{wb};
  TuMF micro{wb, trace};
  TDataF memory{wb};
  QStringList errors;

  // Shown as windows of their own, unless they are to be docked as pages first.
  explicit ViewsFixture(bool show = true) {
    host.micro = &micro;
    host.memory = &memory;
    memory.SetErrorBox([this](const QString& text) { errors << text; });
    if (show) {
      micro.show();
      trace.show();
      memory.show();
    }
    wb.control.Reset();
  }
  Machine& m() { return wb.machine; }
};

inline QString Hex(unsigned byte) {
  return QString::number(byte, 16).toUpper().rightJustified(2, QLatin1Char('0'));
}

// The text a grid shows in (grid row r >= 1, column c).
inline QString GridText(const MicroWordWindow& window, int r, int c) {
  return window.Model().data(window.Model().index(r - 1, c)).toString();
}

}  // namespace edumac8::test
