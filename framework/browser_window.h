// The browser backend's own entry: the page's main loop.
#pragma once

// Starts the main loop (init and the first reshape at once, when init fails
// nothing more) and returns: the browser then calls one pass per animation
// frame. When the loop ends (Escape, or the application's update asks to
// stop) terminate runs, the window is released and the page is told, through
// its Module.loopStopped hook when it has one. The canvas keeps the last
// frame.
void runBrowserLoop();
