// TIRLA: key numbers and modifier bits of keyboard events, numbered as the console's tables are.
#pragma once

namespace platform {

// Virtual-key numbers of the keyboard code (the Windows numbering).
namespace vk {
inline constexpr int kCancel = 0x03;     // Ctrl+Break
inline constexpr int kBack = 0x08;
inline constexpr int kTab = 0x09;
inline constexpr int kReturn = 0x0D;
inline constexpr int kShift = 0x10;
inline constexpr int kControl = 0x11;
inline constexpr int kMenu = 0x12;       // Alt
inline constexpr int kPause = 0x13;
inline constexpr int kEscape = 0x1B;
inline constexpr int kSpace = 0x20;
inline constexpr int kPrior = 0x21;      // Page Up
inline constexpr int kNext = 0x22;       // Page Down
inline constexpr int kEnd = 0x23;
inline constexpr int kHome = 0x24;
inline constexpr int kLeft = 0x25;
inline constexpr int kUp = 0x26;
inline constexpr int kRight = 0x27;
inline constexpr int kDown = 0x28;
inline constexpr int kInsert = 0x2D;
inline constexpr int kDelete = 0x2E;
inline constexpr int k0 = 0x30;          // digits '0'..'9' are 0x30..0x39
inline constexpr int kA = 0x41;          // letters 'A'..'Z' are 0x41..0x5A
inline constexpr int kF1 = 0x70;         // F1..F12 are 0x70..0x7B
inline constexpr int kF4 = 0x73;
inline constexpr int kF10 = 0x79;
inline constexpr int kF11 = 0x7A;
inline constexpr int kF12 = 0x7B;
inline constexpr int kOem5 = 0xDC;       // the \ | key
}  // namespace vk

// Modifier keys held when an event happened.
enum Modifier : unsigned {
  kModShift = 1,
  kModCtrl = 2,
  kModAlt = 4,
  kModStandIn = 8,  // the key stands in for a combination the system keeps (terminal Alt+9)
};

}  // namespace platform
