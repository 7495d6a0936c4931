// The window procedure: keeps the window's active state and client size,
// forwards size and key messages to the application, and turns Escape and the
// close button into a quit request.
#pragma once

#include <cstdint>

int64_t windowProcedure(void* window, uint32_t message, uint64_t wParam, int64_t lParam);
