#include "app/start_lookups.h"

#include <optional>
#include <utility>

namespace tastomat {
namespace {

// Two requests whose tests are the same share the answers.
std::string lookup_key(const StartRequest& request) {
    return request.exe + '\n' + request.dir_to_test.value_or("") + '\n' +
           (request.folder_entry ? "folder" : "file");
}

}  // namespace

StartLookups::StartLookups(std::shared_ptr<WindowThread> window,
                           std::shared_ptr<const DriveProbes> probes, Finish finish,
                           std::chrono::milliseconds budget, BoundedThreads threads)
    : window_(std::move(window)),
      probes_(std::move(probes)),
      budget_(budget),
      threads_(std::move(threads)),
      shared_(std::make_shared<Shared>(Shared{std::move(finish), {}})) {}

void StartLookups::look_up(StartRequest request) {
    const std::weak_ptr<Shared> weak = shared_;
    if (std::optional<StartFindings> findings = probe_at_once(request, *probes_)) {
        window_->post([weak, request = std::move(request), findings = std::move(*findings)] {
            if (const auto shared = weak.lock()) shared->finish(request, findings);
        });
        return;
    }
    const std::string key = lookup_key(request);
    auto [waiting, first] = shared_->waiting.try_emplace(key);
    waiting->second.push_back(std::move(request));
    if (!first) return;
    probe_in_background(
        waiting->second.front(), probes_, budget_,
        [window = window_, weak, key](const StartRequest&, StartFindings findings) {
            window->post([weak, key, findings = std::move(findings)] {
                const auto shared = weak.lock();
                if (!shared) return;
                // Taken out first: a finish that asks the user runs a message loop, in
                // which the same key may start a lookup of its own.
                auto joined = shared->waiting.extract(key);
                if (joined.empty()) return;
                for (const StartRequest& request : joined.mapped())
                    shared->finish(request, findings);
            });
        },
        threads_);
}

}  // namespace tastomat
