// The board's 48 I/O groups and the fixed lists that the board and its dialogs offer.
#pragma once

#include <array>
#include <string>

namespace edumac8 {

// "D0"-"D7" are the eight 32-bit data ports, "Out0"-"Out31" the outputs, "K0"-"K7" the keys.
inline constexpr int kIOGroupCount = 48;
inline constexpr int kFirstKeyGroup = 40;  // the display dialog offers the groups before it
inline constexpr int kBoardColumns = 8;

// The group's name; "?" for an index outside 0-47 (a mode file may hold any number).
std::string IOGroupName(long long group);
inline bool ValidIOGroup(long long group) { return group >= 0 && group < kIOGroupCount; }

// Key kinds: level, rising edge, falling edge, clock (high), clock (low).
inline constexpr std::array<const char*, 5> kKeyKindNames = {"高/ 低电平", "上升沿", "下降沿",
                                                             "时钟(高)", "时钟(低)"};
inline constexpr std::array<const char*, 4> kLedColourNames = {"红色", "绿色", "兰色", "黄色"};
inline constexpr std::array<const char*, 10> kClockFrequencyNames = {
    "100MHz", "50MHz", "10MHz", "1MHz", "100KHz", "10KHz", "1KHz", "100Hz", "10Hz", "1Hz"};

enum KeyKind : int { kLevelKey = 0, kRisingKey, kFallingKey, kClockHighKey, kClockLowKey };

// A key kind as the board acts on it: an unknown kind acts as a level key.
inline int EffectiveKeyKind(int kind) { return kind >= 0 && kind <= kClockLowKey ? kind : 0; }
inline bool IsClockKey(int kind) { return kind == kClockHighKey || kind == kClockLowKey; }
inline bool IsEdgeKey(int kind) { return kind == kRisingKey || kind == kFallingKey; }

}  // namespace edumac8
