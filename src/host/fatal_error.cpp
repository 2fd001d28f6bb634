// The single fatal path. On the worker: one box, the flags, a synchronous
// close of the window, then the worker parks (nothing of the application runs
// again). On any other thread (tests, tools): the box, whose text the platform
// also writes to standard error, then the process ends with fatalExitCode.
#include "host/fatal_error.h"

#include <cstdlib>

#include "host/worker.h"
#include "platform/platform.h"

namespace lumivortex {

int fatalExitCode = 0;

void fatalError(const std::string& text) {
    if (!onWorkerThread()) {
        platform::messageBox(platform::BoxOwner::HostWindow, text, "Process Runtime Error",
                             platform::BoxIcon::Error);
        std::_Exit(fatalExitCode);
    }
    // A close request already ended the run: no box for a window that is gone.
    workerCheckpoint();
    platform::messageBox(platform::BoxOwner::HostWindow, text, "Process Runtime Error",
                         platform::BoxIcon::Error);
    workerStopped = 1;
    workerFinished = 1;
    platform::sendMessage(platform::Message{platform::MessageType::Close});
    parkWorker();
}

}  // namespace lumivortex
