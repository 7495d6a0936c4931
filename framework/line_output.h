// Standard output that hands every completed line to its reader at once, so a
// reader on a pipe sees each line as it is printed.
#pragma once

// Called once at start, before anything is printed. The bytes written are
// unchanged; only when they leave the process is.
void sendOutputLineByLine();
