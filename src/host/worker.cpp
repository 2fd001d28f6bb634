// Worker lifecycle: not started -> running -> finished | stopped | failed.
// Flags go from 0 to 1 on one thread and are read on the other; the stop
// request is honoured at checkpoints, and a worker that reaches none in time
// is ended with the whole process (everything it held dies with it).
#include "host/worker.h"

#include <pthread.h>
#include <sched.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "host/host_config.h"
#include "platform/platform.h"

namespace lumivortex {

std::atomic<int> workerFinished{0};
std::atomic<int> workerStopped{0};
std::atomic<int> redrawBusy{0};
int stopGracePeriodMs = defaultStopGracePeriodMs;

namespace {

std::thread workerThread;
std::atomic<int> stopRequested{0};
std::atomic<int> workerParked{0};
std::atomic<int> workerReturned{0};
thread_local bool isWorkerThread = false;
std::atomic<std::thread::id> windowThreadId{};

// Best effort: raising a thread's priority needs privileges on this system,
// and the program works without it.
void applyThreadPriority(std::thread& thread) {
    if (threadPriority != 1 && threadPriority != 2) return;
    int policy = SCHED_RR;
    int top = sched_get_priority_max(policy);
    sched_param param{};
    param.sched_priority = threadPriority == 2 ? top : top - 1;
    pthread_setschedparam(thread.native_handle(), policy, &param);
}

}  // namespace

void becomeWindowThread() { windowThreadId.store(std::this_thread::get_id()); }
bool onWindowThread() { return windowThreadId.load() == std::this_thread::get_id(); }
bool onWorkerThread() { return isWorkerThread; }

void startWorker() {
    // Cleared here, before the thread exists, so a close arriving during the
    // worker's start-up pause cannot be lost.
    workerFinished = 0;
    workerStopped = 0;
    stopRequested = 0;
    workerParked = 0;
    workerReturned = 0;
    workerThread = std::thread(workerMain);
    applyThreadPriority(workerThread);
}

void workerMain() {
    isWorkerThread = true;
    platform::sleepMs(3);
    workerCheckpoint();
    hostConfig.process();
    // Stopped before finished: the window thread never sees finished alone.
    workerStopped = 1;
    workerFinished = 1;
    platform::sendMessage(platform::Message{platform::MessageType::Close});
    workerReturned = 1;
}

void stopWorker() {
    stopRequested = 1;
    workerStopped = 1;
}

void runRedraw() {
    if (redrawBusy.exchange(1)) return;
    hostConfig.redraw();
    redrawBusy = 0;
}

void workerCheckpoint() {
    if (isWorkerThread && stopRequested.load()) parkWorker();
}

void parkWorker() {
    workerParked = 1;
    for (;;) std::this_thread::sleep_for(std::chrono::hours(24));
}

void awaitWorkerEnd() {
    if (!workerThread.joinable()) return;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(stopGracePeriodMs);
    while (!workerReturned.load() && !workerParked.load()) {
        if (std::chrono::steady_clock::now() >= deadline) std::_Exit(0);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    if (workerReturned.load())
        workerThread.join();
    else
        workerThread.detach();  // parked for good; the process exit ends it
}

}  // namespace lumivortex
