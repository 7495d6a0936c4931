// The page's keyboard events in the Win32 message vocabulary.
//
// The browser backend passes each keydown and keyup event's `key` (what the
// layout gives) and `code` (the key's position, named after the US layout)
// here and queues what comes back. Nothing here needs a browser, so the
// translation is tested natively.
#pragma once

#include "framework/messages.h"

// Keys of the main block follow the layout's character by the rules of
// key_rules.h, as on the desktop; named keys follow their position. Keypad
// digits and the point send their own codes when key is the character they
// type (Num Lock on) and the navigation codes otherwise, when key names the
// navigation key. With Alt held (and for Alt itself and F10) the messages
// are the system-key ones. Returns false, leaving message alone, for keys
// without a virtual-key code.
bool browserKeyMessage(const char* key, const char* code, bool down, bool alt, Message& message);
