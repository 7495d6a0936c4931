// Win32 virtual-key codes, the key vocabulary of the framework's messages and
// of the scene's key bindings. Windows declares the named codes itself (as
// macros); letters and digits have no names there, their codes are the ASCII
// upper-case letters and digits.
#pragma once

#include <cstdint>

#if defined(_WIN32)
#include <windows.h>
#else
constexpr uint32_t VK_BACK = 0x08;
constexpr uint32_t VK_TAB = 0x09;
constexpr uint32_t VK_CLEAR = 0x0C;
constexpr uint32_t VK_RETURN = 0x0D;
constexpr uint32_t VK_SHIFT = 0x10;
constexpr uint32_t VK_CONTROL = 0x11;
constexpr uint32_t VK_MENU = 0x12;
constexpr uint32_t VK_PAUSE = 0x13;
constexpr uint32_t VK_CAPITAL = 0x14;
constexpr uint32_t VK_ESCAPE = 0x1B;
constexpr uint32_t VK_SPACE = 0x20;
constexpr uint32_t VK_PRIOR = 0x21;
constexpr uint32_t VK_NEXT = 0x22;
constexpr uint32_t VK_END = 0x23;
constexpr uint32_t VK_HOME = 0x24;
constexpr uint32_t VK_LEFT = 0x25;
constexpr uint32_t VK_UP = 0x26;
constexpr uint32_t VK_RIGHT = 0x27;
constexpr uint32_t VK_DOWN = 0x28;
constexpr uint32_t VK_INSERT = 0x2D;
constexpr uint32_t VK_DELETE = 0x2E;
constexpr uint32_t VK_NUMPAD0 = 0x60;
constexpr uint32_t VK_NUMPAD1 = 0x61;
constexpr uint32_t VK_NUMPAD2 = 0x62;
constexpr uint32_t VK_NUMPAD3 = 0x63;
constexpr uint32_t VK_NUMPAD4 = 0x64;
constexpr uint32_t VK_NUMPAD5 = 0x65;
constexpr uint32_t VK_NUMPAD6 = 0x66;
constexpr uint32_t VK_NUMPAD7 = 0x67;
constexpr uint32_t VK_NUMPAD8 = 0x68;
constexpr uint32_t VK_NUMPAD9 = 0x69;
constexpr uint32_t VK_MULTIPLY = 0x6A;
constexpr uint32_t VK_ADD = 0x6B;
constexpr uint32_t VK_SUBTRACT = 0x6D;
constexpr uint32_t VK_DECIMAL = 0x6E;
constexpr uint32_t VK_DIVIDE = 0x6F;
constexpr uint32_t VK_F1 = 0x70;
constexpr uint32_t VK_F2 = 0x71;
constexpr uint32_t VK_F3 = 0x72;
constexpr uint32_t VK_F4 = 0x73;
constexpr uint32_t VK_F5 = 0x74;
constexpr uint32_t VK_F6 = 0x75;
constexpr uint32_t VK_F7 = 0x76;
constexpr uint32_t VK_F8 = 0x77;
constexpr uint32_t VK_F9 = 0x78;
constexpr uint32_t VK_F10 = 0x79;
constexpr uint32_t VK_F11 = 0x7A;
constexpr uint32_t VK_F12 = 0x7B;
constexpr uint32_t VK_OEM_PLUS = 0xBB;
constexpr uint32_t VK_OEM_COMMA = 0xBC;
constexpr uint32_t VK_OEM_MINUS = 0xBD;
constexpr uint32_t VK_OEM_PERIOD = 0xBE;
#endif

constexpr uint32_t VK_0 = '0';
constexpr uint32_t VK_1 = '1';
constexpr uint32_t VK_2 = '2';
constexpr uint32_t VK_3 = '3';
constexpr uint32_t VK_4 = '4';
constexpr uint32_t VK_5 = '5';
constexpr uint32_t VK_6 = '6';
constexpr uint32_t VK_7 = '7';
constexpr uint32_t VK_8 = '8';
constexpr uint32_t VK_9 = '9';
constexpr uint32_t VK_A = 'A';
constexpr uint32_t VK_B = 'B';
constexpr uint32_t VK_C = 'C';
constexpr uint32_t VK_D = 'D';
constexpr uint32_t VK_E = 'E';
constexpr uint32_t VK_F = 'F';
constexpr uint32_t VK_G = 'G';
constexpr uint32_t VK_H = 'H';
constexpr uint32_t VK_I = 'I';
constexpr uint32_t VK_J = 'J';
constexpr uint32_t VK_K = 'K';
constexpr uint32_t VK_L = 'L';
constexpr uint32_t VK_M = 'M';
constexpr uint32_t VK_N = 'N';
constexpr uint32_t VK_O = 'O';
constexpr uint32_t VK_P = 'P';
constexpr uint32_t VK_Q = 'Q';
constexpr uint32_t VK_R = 'R';
constexpr uint32_t VK_S = 'S';
constexpr uint32_t VK_T = 'T';
constexpr uint32_t VK_U = 'U';
constexpr uint32_t VK_V = 'V';
constexpr uint32_t VK_W = 'W';
constexpr uint32_t VK_X = 'X';
constexpr uint32_t VK_Y = 'Y';
constexpr uint32_t VK_Z = 'Z';
