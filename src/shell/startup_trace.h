#pragma once
// Start-up milestones for measuring how long the program takes to show its
// login dialog. With LUNAWA_STARTUP_TRACE=1 each milestone prints, on stderr,
// the milliseconds since the program's code began to run (or since the
// moment a launcher passes in LUNAWA_STARTUP_ORIGIN, in nanoseconds of the
// monotonic clock), and the processor time the main thread has used, which
// a busy machine does not inflate (0 where the system cannot tell):
//   lunawa-startup <ms> <cpu ms> <milestone>
// With LUNAWA_STARTUP_QUIT=1 the run ends as soon as the login dialog is on
// the screen (the login is abandoned, the exit status is 1), so that a
// script can start the program many times.

namespace startup {

bool tracing();
// Whether the run should end once the login dialog is on the screen.
bool quitAtLogin();
// Prints the milestone when tracing; costs a test of a flag otherwise.
void mark(const char* milestone);
// Milliseconds since the program's code began to run, or since the origin.
double elapsedMs();
// Processor time of the calling thread since the process began, in ms.
double cpuMs();

}  // namespace startup
