// The experiment guide's three modal windows as the graphic help and the structure diagram
// reach them: selection, text and picture. The default does nothing (a selection counts as
// cancelled), so those pages work, and are tested, without the guide's windows.
#pragma once

#include <QString>
#include <optional>
#include <string>

#include "guide/experiment.h"

class QWidget;

namespace edumac8 {

class ExperimentWindows {
 public:
  virtual ~ExperimentWindows() = default;

  // TFEx_Sel: the list preset to entry `preset`; the chosen entry on OK, nothing on Cancel.
  virtual std::optional<int> SelectExperiment(QWidget* /*parent*/, int /*preset*/) {
    return std::nullopt;
  }
  // TFEx_TXT: a text block of the current entry.
  virtual void ShowText(QWidget* /*parent*/, TextBlock /*block*/) {}
  // TFEx_JPG: the picture `name` of the picture directory under `caption`.
  virtual void ShowPicture(QWidget* /*parent*/, const QString& /*caption*/,
                           const std::string& /*name*/) {}
};

}  // namespace edumac8
