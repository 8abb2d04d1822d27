// The worker that polls the service every half second and shows its state in the main
// window; while the service cannot be opened it looks for it once a second.
#pragma once

#include "service/service_control.h"
#include "service/worker_thread.h"

class StatusMonitor : public WorkerThread {
public:
    StatusMonitor(); // opens the service at once, on the creating thread

    bool run() override;

private:
    ServiceControl service_;
};
