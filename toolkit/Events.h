#pragma once

#include <string>

namespace qd3 {

// Mouse buttons and modifier keys held during a mouse event.
struct IMouseMod {
  bool L = false;  // left button
  bool R = false;  // right button
  bool S = false;  // shift
  bool C = false;  // control
  bool A = false;  // alt

  bool IsFine() const { return S || C; }
};

// Key codes follow the common virtual-key numbering: letters 'A'..'Z', digits
// '0'..'9', and the named keys below. A key with no code of its own has code 0.
enum EVirtualKey {
  kVK_NONE = 0x00,
  kVK_BACK = 0x08,
  kVK_TAB = 0x09,
  kVK_RETURN = 0x0D,
  kVK_ESCAPE = 0x1B,
  kVK_SPACE = 0x20,
  kVK_PRIOR = 0x21,  // Page Up
  kVK_NEXT = 0x22,   // Page Down
  kVK_END = 0x23,
  kVK_HOME = 0x24,
  kVK_LEFT = 0x25,
  kVK_UP = 0x26,
  kVK_RIGHT = 0x27,
  kVK_DOWN = 0x28,
  kVK_DELETE = 0x2E,
  kVK_APPS = 0x5D,  // the Menu key: a context menu
};

struct IKeyPress {
  int vk = kVK_NONE;
  std::string utf8;  // the character typed, empty for keys that type none
  bool S = false;
  bool C = false;
  bool A = false;
};

}  // namespace qd3
