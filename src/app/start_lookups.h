#pragma once
// The lookups of the starts in flight. A key pressed again while its lookup is still
// running joins that lookup instead of asking the drives once more: a share that does not
// answer then holds one lookup's threads, however often the key is pressed. Each press
// stays a start of its own: every request that joined gets the findings, in press order.
#include <chrono>
#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/program_start.h"
#include "platform/window_thread.h"

namespace tastomat {

class StartLookups {
  public:
    // Runs on the window's thread, once per request.
    using Finish = std::function<void(const StartRequest&, const StartFindings&)>;

    StartLookups(std::shared_ptr<WindowThread> window, std::shared_ptr<const DriveProbes> probes,
                 Finish finish, std::chrono::milliseconds budget = kDriveDeadline,
                 BoundedThreads threads = lookup_threads());

    // The window's thread. finish gets the request and its findings later, on the window's
    // thread, never inside this call; not at all once this object or the window has gone.
    void look_up(StartRequest request);

    // Lookups on workers now, for the tests.
    std::size_t in_flight() const { return shared_->waiting.size(); }

  private:
    // Touched on the window's thread only; the workers' answers hold it weakly.
    struct Shared {
        Finish finish;
        std::map<std::string, std::vector<StartRequest>> waiting;
    };

    std::shared_ptr<WindowThread> window_;
    std::shared_ptr<const DriveProbes> probes_;
    std::chrono::milliseconds budget_;
    BoundedThreads threads_;
    std::shared_ptr<Shared> shared_;
};

}  // namespace tastomat
