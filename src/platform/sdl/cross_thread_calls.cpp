// Cross-thread calls: an intrusive queue of caller-owned records guarded by
// one mutex; the window thread is woken by an SDL user event and drains the
// queue after every event it handles.
#include "platform/sdl/cross_thread_calls.h"

#include <condition_variable>
#include <mutex>

#include "platform/sdl/backend_state.h"
#include "platform/sdl/presentation.h"

namespace lumivortex::platform::sdl {
namespace {

struct PendingCall {
    const Message* message = nullptr;          // a sendMessage
    const PresentRequest* present = nullptr;   // a presentPixels
    const BoxRequest* box = nullptr;           // a message box
    long result = 0;
    bool done = false;
    PendingCall* next = nullptr;
};

std::mutex callMutex;
std::condition_variable callFinished;
bool accepting = false;          // guarded by callMutex
PendingCall* queueHead = nullptr;
PendingCall* queueTail = nullptr;

PendingCall* popCall() {
    PendingCall* call = queueHead;
    if (call) {
        queueHead = call->next;
        if (!queueHead) queueTail = nullptr;
    }
    return call;
}

// False, at once, when no window accepts calls.
bool waitOnWindowThread(PendingCall& call) {
    std::unique_lock lock(callMutex);
    if (!accepting) return false;
    if (queueTail) queueTail->next = &call;
    else queueHead = &call;
    queueTail = &call;
    wakeWindowThread();
    callFinished.wait(lock, [&] { return call.done; });
    return true;
}

void finish(PendingCall& call, long result) {
    std::lock_guard lock(callMutex);
    call.result = result;
    call.done = true;
    callFinished.notify_all();
}

}  // namespace

void openCrossThreadCalls() {
    std::lock_guard lock(callMutex);
    accepting = true;
}

void closeCrossThreadCalls() {
    std::lock_guard lock(callMutex);
    accepting = false;
    while (PendingCall* call = popCall()) {
        call->result = 0;
        call->done = true;
    }
    callFinished.notify_all();
}

void runPendingCalls() {
    for (;;) {
        PendingCall* call;
        {
            std::lock_guard lock(callMutex);
            call = popCall();
        }
        if (!call) return;
        if (call->present) {
            // The caller may reuse its buffer as soon as the copy is done;
            // showing the copy needs only the window surface.
            const SDL_Rect copied = copyToWindowSurface(*call->present);
            finish(*call, 0);
            showSurfaceRect(copied);
        } else if (call->box) {
            SDL_ShowSimpleMessageBox(call->box->flags, call->box->caption, call->box->text, nullptr);
            finish(*call, 0);
        } else {
            Message message = *call->message;
            finish(*call, dispatch(message));
        }
    }
}

long sendFromOtherThread(const Message& message) {
    PendingCall call;
    call.message = &message;
    return waitOnWindowThread(call) ? call.result : 0;
}

void presentFromOtherThread(const PresentRequest& request) {
    PendingCall call;
    call.present = &request;
    waitOnWindowThread(call);
}

bool showBoxFromOtherThread(const BoxRequest& request) {
    PendingCall call;
    call.box = &request;
    return waitOnWindowThread(call);
}

}  // namespace lumivortex::platform::sdl
