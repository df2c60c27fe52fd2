#include "guide/tfex_jpg.h"

#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QScrollArea>
#include <QVBoxLayout>

#include "guide/picture_decoder.h"
#include "guide/picture_path.h"

namespace edumac8 {
namespace {

constexpr char kNoImage[] = "NoImg.JPG";

std::optional<Picture> PictureNamed(const std::string& dir, const std::string& name) {
  const std::optional<std::string> path = FindPicture(dir, name);
  return path ? LoadPicture(*path) : std::nullopt;
}

QImage ToImage(const Picture& p) {
  QImage image(p.width, p.height, QImage::Format_RGB888);
  for (int y = 0; y < p.height; ++y)
    std::copy_n(p.Row(y), static_cast<std::size_t>(p.width) * 3, image.scanLine(y));
  return image;
}

}  // namespace

TFEx_JPG::TFEx_JPG(QWidget* parent)
    : QDialog(parent), scrollBox1_(new QScrollArea(this)), image1_(new QLabel) {
  setObjectName("FEx_JPG");
  scrollBox1_->setObjectName("ScrollBox1");
  image1_->setObjectName("Image1");
  image1_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  scrollBox1_->setWidget(image1_);
  scrollBox1_->setWidgetResizable(false);
  scrollBox1_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(scrollBox1_);
}

void TFEx_JPG::FormShow(const std::string& jpgDir, const QString& caption,
                        const std::string& name) {
  const std::string wanted = name.empty() ? kNoImage : name;
  setWindowTitle(caption);
  std::optional<Picture> picture = PictureNamed(jpgDir, wanted);
  // A picture that is there but cannot be read is shown like a missing one.
  if (!picture) picture = PictureNamed(jpgDir, kNoImage);
  if (!picture) {
    image1_->setPixmap(QPixmap());
    image1_->setText("图片文件未找到: " + QString::fromStdString(wanted));
    image1_->setWordWrap(true);
    image1_->setMargin(8);
    image1_->resize(300, 200);
    resize(320, 240);
    return;
  }
  image1_->setText(QString());
  image1_->setMargin(0);
  image1_->setPixmap(QPixmap::fromImage(ToImage(*picture)));
  image1_->resize(picture->width, picture->height);
  resize(picture->width > 631 ? kMaxWidth : picture->width + 30,
         picture->height > 452 ? kMaxHeight : picture->height + 40);
}

}  // namespace edumac8
