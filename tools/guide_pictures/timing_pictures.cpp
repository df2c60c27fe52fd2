#include "timing_pictures.h"

#include <QFontMetricsF>
#include <QTemporaryDir>
#include <algorithm>
#include <functional>
#include <stdexcept>

#include "canvas.h"
#include "machine/host.h"
#include "platform/file_io.h"
#include "platform/text_codec.h"
#include "workbench/workbench.h"

namespace edumac8::pictures {
namespace {

using Kind = TimingRow::Kind;

constexpr double kLabelWidth = 96;
constexpr double kRowHeight = 26;
constexpr double kTop = 92;
const QColor kSignalColour(0x00, 0x70, 0x00);
const QColor kValueColour(0x10, 0x40, 0x90);

StepRecord Step(Machine& m, const std::function<void()>& step) {
  StepRecord r;
  r.start = m.CurrentRecord.state;
  step();
  r.end = m.CurrentRecord.state;
  return r;
}

// What a row shows in the first and the second half of a step's column.
std::pair<unsigned, unsigned> Values(const TimingRow& row, const StepRecord& r) {
  const auto byte = [&](const MachineState& s) { return s.bytes[row.index]; };
  switch (row.kind) {
    case Kind::Clock:
      return {0, 1};
    case Kind::Signal: {
      const unsigned bit = (WordOf(r.start) >> row.index) & 1;
      return {bit, bit};
    }
    case Kind::Word:
      return {WordOf(r.start), WordOf(r.start)};
    case Kind::Bus:
      return {byte(r.end), byte(r.end)};
    case Kind::Register:
      return {byte(r.start), byte(r.end)};
    case Kind::FlagBit:
      return {(r.start[Field::F] & row.index) ? 1u : 0u, (r.end[Field::F] & row.index) ? 1u : 0u};
    case Kind::StatusBit:
      return {(r.start[Field::STATUS] & row.index) ? 1u : 0u,
              (r.end[Field::STATUS] & row.index) ? 1u : 0u};
  }
  return {0, 0};
}

bool IsDigital(Kind kind) {
  return kind == Kind::Clock || kind == Kind::Signal || kind == Kind::FlagBit ||
         kind == Kind::StatusBit;
}

struct Segment {
  double from, to;
  unsigned value;
};

// The row's values along the time axis, equal neighbours merged.
std::vector<Segment> Segments(const TimingRow& row, const std::vector<StepRecord>& steps,
                              double column) {
  std::vector<Segment> segments;
  const auto add = [&](double from, double to, unsigned value) {
    if (!segments.empty() && segments.back().value == value && row.kind != Kind::Clock)
      segments.back().to = to;
    else
      segments.push_back({from, to, value});
  };
  for (std::size_t i = 0; i < steps.size(); ++i) {
    const double x = kLabelWidth + i * column;
    const auto [first, second] = Values(row, steps[i]);
    add(x, x + column / 2, first);
    add(x + column / 2, x + column, second);
  }
  return segments;
}

void DrawDigital(Canvas& c, const std::vector<Segment>& segments, double top, const QColor& ink) {
  const double high = top + 5, low = top + kRowHeight - 7;
  QPolygonF line;
  for (const Segment& s : segments) {
    const double y = s.value ? high : low;
    if (!line.isEmpty()) line << QPointF(s.from, line.last().y());
    line << QPointF(s.from, y) << QPointF(s.to, y);
  }
  c.Painter().setPen(QPen(ink, 1.6));
  c.Painter().drawPolyline(line);
}

void DrawValues(Canvas& c, const std::vector<Segment>& segments, double top, int digits) {
  const double high = top + 4, low = top + kRowHeight - 6, mid = (high + low) / 2;
  c.Painter().setPen(QPen(kValueColour, 1.3));
  c.Painter().setFont(Font(8));
  const QFontMetricsF metrics(c.Painter().font());
  for (const Segment& s : segments) {
    const double slant = std::min(3.0, (s.to - s.from) / 4);
    QPolygonF shape;
    shape << QPointF(s.from, mid) << QPointF(s.from + slant, high) << QPointF(s.to - slant, high)
          << QPointF(s.to, mid) << QPointF(s.to - slant, low) << QPointF(s.from + slant, low)
          << QPointF(s.from, mid);
    c.Painter().drawPolyline(shape);
    const QString text = QString("%1").arg(s.value, digits, 16, QChar('0')).toUpper();
    if (metrics.horizontalAdvance(text) + 2 * slant + 2 < s.to - s.from)
      c.Painter().drawText(QRectF(s.from, high, s.to - s.from, low - high), Qt::AlignCenter, text);
  }
}

}  // namespace

std::vector<StepRecord> RunOperatingSteps(const TExperiment& experiment,
                                          const std::vector<int>& inputs) {
  Machine m;
  m.uM.fill(kEmptyCell);
  for (int i = 0; i < experiment.OpCount(); ++i)
    m.uM[i] = static_cast<std::uint32_t>(experiment.Ops[i].position) & kWordMask;
  m.ResetMachine();
  std::vector<StepRecord> steps;
  for (int i = 0; i < experiment.OpCount(); ++i) {
    if (i < static_cast<int>(inputs.size()) && inputs[i] >= 0)
      m.CurrentRecord.state[Field::IN] = static_cast<std::uint8_t>(inputs[i]);
    steps.push_back(Step(m, [&] { m.MicroStep(); }));
  }
  return steps;
}

std::vector<StepRecord> RunProgram(const ExperimentDrawing& drawing,
                                   const std::string& samplesDir) {
  QTemporaryDir dir;
  const std::string source = (dir.path() + "/PROGRAM.ASM").toStdString();
  const bool inline_ = drawing.program.find('\n') != std::string::npos;
  const std::optional<std::string> text = inline_
                                              ? std::optional(Utf8ToGb2312(drawing.program))
                                              : ReadWholeFile(samplesDir + "/" + drawing.program);
  if (!text || !WriteFileAtomic(source, *text))
    throw std::runtime_error("cannot prepare the program " + drawing.program);
  Host host;
  Workbench wb(host);
  wb.control.SourcePath = source;
  if (!wb.Make()) throw std::runtime_error(wb.assembler.ErrorText());
  for (int i = 0; i < drawing.warmUp; ++i) wb.control.DoMicroStep();
  std::vector<StepRecord> steps;
  const auto irqDue = [&](int k) {
    return std::find(drawing.irqAfter.begin(), drawing.irqAfter.end(), k) != drawing.irqAfter.end();
  };
  if (irqDue(0)) wb.control.Interrupt();
  for (int k = 1; k <= drawing.steps; ++k) {
    steps.push_back(Step(wb.machine, [&] { wb.control.DoMicroStep(); }));
    if (irqDue(k)) wb.control.Interrupt();
  }
  return steps;
}

QImage DrawTiming(const QString& title, const std::vector<StepRecord>& steps,
                  const std::vector<TimingRow>& rows) {
  const double column = steps.size() <= 10 ? 84 : 52;
  const int width = static_cast<int>(kLabelWidth + column * steps.size() + 24);
  const int height = static_cast<int>(kTop + kRowHeight * rows.size() + 64);
  Canvas c(width, height);
  c.Title(title);
  c.Text(QPointF(24, 58),
         "每列一条微指令；CK 上升沿（列中间）打入寄存器，总线与 ALU 输出为该微指令执行时的值", 9,
         colour::kNote);
  // Step numbers and the grid: a solid line between steps, a dotted one at each clock edge.
  for (std::size_t i = 0; i < steps.size(); ++i) {
    const double x = kLabelWidth + i * column;
    c.TextIn(QRectF(x, kTop - 18, column, 16), QString::number(i + 1), 8, Qt::AlignCenter,
             colour::kNote);
    c.Painter().setPen(QPen(QColor(0xD8, 0xD8, 0xD8), 1));
    c.Painter().drawLine(QPointF(x, kTop), QPointF(x, kTop + kRowHeight * rows.size()));
    c.Painter().setPen(QPen(QColor(0xE8, 0xE8, 0xE8), 1, Qt::DotLine));
    c.Painter().drawLine(QPointF(x + column / 2, kTop),
                         QPointF(x + column / 2, kTop + kRowHeight * rows.size()));
  }
  for (std::size_t r = 0; r < rows.size(); ++r) {
    const TimingRow& row = rows[r];
    const double top = kTop + kRowHeight * r;
    c.TextIn(QRectF(8, top, kLabelWidth - 14, kRowHeight), QString::fromStdString(row.label), 9,
             Qt::AlignRight | Qt::AlignVCenter, colour::kInk, true);
    const std::vector<Segment> segments = Segments(row, steps, column);
    if (IsDigital(row.kind))
      DrawDigital(c, segments, top, row.kind == Kind::Clock ? colour::kInk : kSignalColour);
    else
      DrawValues(c, segments, top, row.kind == Kind::Word ? 6 : 2);
  }
  c.Text(QPointF(24, height - 30),
         "除 CN 外控制信号低电平有效；数值为十六进制。图由工作台的微指令执行引擎逐步运行得到。", 8,
         colour::kNote);
  return c.Finish();
}

}  // namespace edumac8::pictures
