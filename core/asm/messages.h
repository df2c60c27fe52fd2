// The workbench's message table: a number gives its Chinese text (UTF-8). The assembler's
// errors and the windows' menu captions share it.
#pragma once

#include <string>

namespace edumac8 {

// The text of message `number`; "内部错误: 未定义错误" for a number without a text.
std::string MessageText(int number);

}  // namespace edumac8
