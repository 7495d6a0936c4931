// The page's keyboard events in the Win32 message vocabulary.
//
// The browser backend passes each keydown and keyup event's `key` (what the
// layout gives) and `code` (the key's position, named after the US layout)
// here and queues what comes back. Nothing here needs a browser, so the
// translation is tested natively.
#pragma once

#include "framework/messages.h"

// Letters and digits of the main block follow the layout's character, as on
// the desktop; keypad keys, named keys and keys whose character is no ASCII
// letter or digit follow their position. With Alt held (and for Alt itself
// and F10) the messages are the system-key ones. Returns false, leaving
// message alone, for keys without a virtual-key code.
bool browserKeyMessage(const char* key, const char* code, bool down, bool alt, Message& message);
