// The worker thread that runs the registered process, and how it ends.
//
// startWorker (window thread) -> workerMain runs hostConfig.process ->
// finished: the worker sends the close message itself. A close request while
// the process runs calls stopWorker, which only asks: the worker parks (blocks
// forever, touching nothing) at its next host-service checkpoint (present,
// pacing, sleep), and hostMain forces the process exit if it has not parked
// after a short grace period. fatalError on the worker ends in the same park.
#pragma once

#include <atomic>

namespace lumivortex {

// 1 once the worker has left the process (returned or failed).
extern std::atomic<int> workerFinished;
// 1 once the worker can no longer run application code (finished, stopped, failed).
extern std::atomic<int> workerStopped;
// 1 while runRedraw is inside hostConfig.redraw.
extern std::atomic<int> redrawBusy;

// Window thread: starts the worker (once per hostMain).
void startWorker();
// The worker's body: runs the process, then closes the window.
void workerMain();
// Window thread: the close request arrived while the process runs.
void stopWorker();
// Calls hostConfig.redraw unless a call is already in progress.
void runRedraw();

// Host services call this every frame: on the worker, after a stop request,
// it never returns (the worker parks). Elsewhere it does nothing.
void workerCheckpoint();
// True on the worker thread.
bool onWorkerThread();
// True on the thread running hostMain.
bool onWindowThread();
// hostMain, window thread: marks the calling thread as the window thread.
void becomeWindowThread();

// The worker parks here: blocks for good without touching any state.
[[noreturn]] void parkWorker();

// After the message loop: waits stopGracePeriodMs for the worker to return
// or park, and ends the process (exit code 0) if it does neither.
void awaitWorkerEnd();

// Long enough for a worker in the middle of a frame to reach its next
// present or pacing sleep, short enough for a close to feel immediate.
// Tests under sanitizers on a busy machine lengthen it, so that a slow worker
// cannot end the test process before its checks run.
inline constexpr int defaultStopGracePeriodMs = 300;
extern int stopGracePeriodMs;

}  // namespace lumivortex
