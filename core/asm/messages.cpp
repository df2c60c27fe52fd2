#include "asm/messages.h"

#include <algorithm>
#include <iterator>

namespace edumac8 {
namespace {

struct Message {
  int number;
  const char* text;
};

// Sorted by number.
constexpr Message kMessages[] = {
    {101, "写文件错: "},
    {102, "读文件错: "},
    {125, "打开文件"},
    {126, "保存文件"},
    {146, "为"},
    {303, "未定义标示符"},
    {308, "非法字符"},
    {330, "操作码错"},
    {331, "操作数错"},
    {332, "常数错"},
    {333, "字符串错"},
    {334, "重复定义"},
    {335, "被 0 除"},
    {336, "非法字符"},
    {337, "空字符串"},
    {339, "缺 \")\""},
    {341, "行中有多余字符"},
    {342, "缺 \",\""},
    {346, "ORG 错"},
    {348, "程序中符号太多"},
    {353, "符号未定义: "},
    {354, "程序超过地址范围"},
    {355, "DB 或 DW 太大"},
    {358, "字符串太长"},
    {406, "行太多"},
    {614, "修改"},
    {680, "保存指令系统为CSV..."},
    {681, "保存微程序为CSV..."},
    {682, "保存跟踪为CSV..."},
    {701, "新建文件(&N)"},
    {702, "打开文件(&O)"},
    {703, "保存文件(&S)"},
    {704, "另存为(&A)..."},
    {705, "保存指令系统/微程序..."},
    {706, "调入指令系统/微程序..."},
    {708, "退出(&X)"},
    {709, "撤消键入(&U)"},
    {710, "重复键入(&R)"},
    {711, "剪切(&T)"},
    {712, "复制(&C)"},
    {713, "粘帖(&P)"},
    {739, "汇编(&M)"},
    {742, "单指令执行(&T)"},
    {743, "单微指令执行(&S)"},
    {746, "暂停(&U)"},
    {747, "复位(&E)"},
    {754, "全选(&L)"},
    {756, "全速执行(&R)"},
    {784, "源程序已被修改, 重新编译?"},
    {798, "%s 文件已修改, 保存?"},
    {861, "反汇编"},
    {864, "显示为"},
};

}  // namespace

std::string MessageText(int number) {
  const auto it = std::lower_bound(std::begin(kMessages), std::end(kMessages), number,
                                   [](const Message& m, int n) { return m.number < n; });
  if (it == std::end(kMessages) || it->number != number) return "内部错误: 未定义错误";
  return it->text;
}

}  // namespace edumac8
