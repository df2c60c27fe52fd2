// TFEx_JPG: a picture of the guide (an experiment's schematic or timing, a block of the
// datapath) in a scroll box. A missing or unreadable picture falls back to "NoImg.JPG"; when
// that is missing too, the window says which picture it did not find.
#pragma once

#include <QDialog>
#include <QString>
#include <string>

class QLabel;
class QScrollArea;

namespace edumac8 {

class TFEx_JPG : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kMaxWidth = 640;
  static constexpr int kMaxHeight = 480;

  explicit TFEx_JPG(QWidget* parent = nullptr);

  // Loads picture `name` (UTF-8; empty means "NoImg.JPG") of `jpgDir` under `caption` and
  // sizes the window to it: the picture's width + 30 up to 631 pixels, else 640; its height
  // + 40 up to 452 pixels, else 480.
  void FormShow(const std::string& jpgDir, const QString& caption, const std::string& name);

  QScrollArea* ScrollBox1() const { return scrollBox1_; }
  QLabel* Image1() const { return image1_; }

 private:
  QScrollArea* scrollBox1_;
  QLabel* image1_;
};

}  // namespace edumac8
