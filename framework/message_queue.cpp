// The message half of the platform layer over the framework's own queue.
//
// Messages the backend queued come first, then whatever polling the window
// system brings; a posted quit arrives as WM_QUIT only once both have nothing
// left, as PostQuitMessage's does.
#include "framework/message_queue.h"

#include "framework/platform.h"
#include "framework/window_procedure.h"

MessageQueue messageQueue;

bool takeMessage(Message& message) {
    if (popMessage(messageQueue, message))
        return true;
    pollWindowSystem();
    if (popMessage(messageQueue, message))
        return true;
    return takeQuit(messageQueue, message);
}

void postMessage(const Message& message) {
    pushMessage(messageQueue, message); // dropped when full (see pushMessage)
}

// No window system stands behind the window procedure here, so it gets no
// window.
void dispatchMessage(const Message& message) {
    windowProcedure(nullptr, message.message, message.wParam, message.lParam);
}

void waitMessage() {
    if (messageQueue.count == 0 && !messageQueue.quitPosted)
        waitWindowSystem();
}

void discardMessages() {
    clearMessages(messageQueue);
}

void postQuitMessage(int32_t exitCode) {
    postQuit(messageQueue, exitCode);
}

// There is no window system procedure behind these backends, so a message
// the window procedure leaves alone has no further effect.
int64_t defaultWindowProcedure(void*, uint32_t, uint64_t, int64_t) {
    return 0;
}
