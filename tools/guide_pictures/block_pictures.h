// The schematic pictures of the datapath's blocks that the structure diagram and the graphic
// help open ("原理图"): one per picture file of the diagram's blocks, each with the block's
// data paths, its control inputs on the box (pin numbers and signals) and what they do.
#pragma once

#include <QImage>
#include <QString>
#include <vector>

namespace edumac8::pictures {

struct NamedPicture {
  QString file;
  QImage image;
};

std::vector<NamedPicture> DrawBlockPictures();
// "NoImg.JPG": shown when an experiment names a picture that is not there.
NamedPicture DrawNoImage();

}  // namespace edumac8::pictures
