// The board's texts are kept as the mode file's bytes (GBK); the windows show them decoded.
#pragma once

#include <QString>
#include <string>

#include "platform/text_codec.h"

namespace edumac8 {

inline QString ShownText(const std::string& gbk) {
  return QString::fromStdString(Gb2312ToUtf8(gbk));
}

}  // namespace edumac8
