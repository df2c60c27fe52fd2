// An experiment guide that records what the pages ask of it and answers the selection as told.
#pragma once

#include <QStringList>
#include <optional>

#include "guide/experiment_windows.h"

namespace edumac8::test {

class RecordingGuide : public ExperimentWindows {
 public:
  QStringList calls;
  std::optional<int> answer;  // the selection dialog's answer; nothing: Cancel

  std::optional<int> SelectExperiment(QWidget* parent, int preset) override {
    calls << QString("select %1%2").arg(preset).arg(parent ? "" : " without parent");
    return answer;
  }
  void ShowText(QWidget*, TextBlock block) override {
    calls << QString("text %1").arg(static_cast<int>(block));
  }
  void ShowPicture(QWidget*, const QString& caption, const std::string& name) override {
    calls << caption + " " + QString::fromStdString(name);
  }
};

}  // namespace edumac8::test
