// The worker that polls the service every half second and shows its state in the main
// window; while the service cannot be opened it looks for it once a second.
#pragma once

#include "service/worker_thread.h"

class StatusMonitor : public WorkerThread {
public:
    // Opens the service on its own thread, then polls it.
    bool run() override;
};
