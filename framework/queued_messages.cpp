// The message half of the platform layer over the framework's own queue.
//
// Messages the backend queued come first, then whatever polling the window
// system brings; a posted quit arrives as WM_QUIT only once both have nothing
// left, as PostQuitMessage's does.
#include "framework/queued_messages.h"

#include "framework/platform.h"
#include "framework/window_procedure.h"
#include "framework/window_state.h"

MessageQueue queuedMessages;

bool takeMessage(Message& message) {
    if (popMessage(queuedMessages, message))
        return true;
    pollWindowSystem();
    if (popMessage(queuedMessages, message))
        return true;
    return takeQuit(queuedMessages, message);
}

void postMessage(const Message& message) {
    pushMessage(queuedMessages, message);
}

void dispatchMessage(const Message& message) {
    windowProcedure(windowState.windowHandle, message.message, message.wParam, message.lParam);
}

void waitMessage() {
    if (queuedMessages.count == 0 && !queuedMessages.quitPosted)
        waitWindowSystem();
}

void postQuitMessage(int32_t exitCode) {
    postQuit(queuedMessages, exitCode);
}

// There is no window system procedure behind these backends, so a message
// the window procedure leaves alone has no further effect.
int64_t defaultWindowProcedure(void*, uint32_t, uint64_t, int64_t) {
    return 0;
}
