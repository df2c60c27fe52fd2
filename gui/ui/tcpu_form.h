// TCPUForm, the disassembly window "反汇编": 256 lines, each decoded from EM with the current
// instruction set when it is painted, so it always shows the present memory and instruction
// set. Which address a line shows is the address cache's decision. Breakpoints show as dots in
// the left half of the margin.
#pragma once

#include <QAbstractScrollArea>
#include <QString>

#include "ui/disassembly_cache.h"
#include "workbench/workbench.h"

namespace edumac8 {

class TCPUForm : public QAbstractScrollArea {
  Q_OBJECT

 public:
  static constexpr int kLines = 256;
  static constexpr int kMarginWidth = 30;
  static constexpr int kTextColumns = 28;

  explicit TCPUForm(Workbench& workbench, QWidget* parent = nullptr);

  // Brings the instruction at `address` into view (scroll) and repaints.
  void ShowAddress(std::uint8_t address, bool scroll);
  // The address shown on a 1-based line, DisassemblyAddressCache::kBlank for none.
  int LineAddress(int line);
  void ResetAddressCache() { cache_.Reset(); }
  // The line's text as painted: the disassembly cut or padded to 28 columns, one more blank
  // while the program is not assembled, one blank.
  QString LineText(int line);

  bool IsOpen() const { return open_; }
  int TopLine() const;  // the 1-based first visible line
  int VisibleLines() const;
  const DisassemblyAddressCache& Cache() const { return cache_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  QString TextAt(int address) const;
  void ScrollLineToTop(int line);
  void UpdateScrollRange();
  // EM as the window paints it: live while the machine is stopped or a run's refresh holds the
  // worker off; otherwise the worker owns EM, so the window keeps what it last took.
  const ProgramMemory& ShownMemory();
  int LineHeight() const;

  Workbench& workbench_;
  DisassemblyAddressCache cache_;
  ProgramMemory shown_{};
  bool open_ = true;
  // A repaint may re-anchor the cache and scroll once; it may not do so again until the
  // user or the debugger moves the view, so a tall window cannot chase its own scrolling.
  bool autoScrolled_ = false;
  bool scrollingItself_ = false;
};

}  // namespace edumac8
