#include "support/drive_labels.h"

#include <map>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

#include "platform/paths.h"

namespace tastomat {

DriveLabel placeholder_label(const std::string& root, int generic_icon) {
    return {without_trailing_backslash(root), generic_icon};
}

struct DriveLabeler::State {
    struct Waiter {
        std::shared_ptr<WindowThread> window;
        std::shared_ptr<const Answer> answer;
        std::size_t index;
    };
    DriveLookup lookup;
    std::mutex mutex;
    // The roots whose lookup is under way, with whoever waits for each.
    std::map<std::string, std::vector<Waiter>> asked;

    void look_up(const std::string& root) {
        std::optional<DriveLabel> label;
        try {
            label = lookup(root);
        } catch (...) {
            // A drive the shell could not name shows like one it knows nothing of.
        }
        std::vector<Waiter> waiters;
        {
            const std::lock_guard lock(mutex);
            waiters = std::move(asked[root]);
            asked.erase(root);
        }
        if (!label) return;
        if (label->text.empty()) label->text = without_trailing_backslash(root);
        for (Waiter& waiter : waiters)
            waiter.window->post([answer = waiter.answer, index = waiter.index, label = *label] {
                (*answer)(index, label);
            });
    }
};

DriveLabeler::DriveLabeler(DriveLookup lookup) : state_(std::make_shared<State>()) {
    state_->lookup = std::move(lookup);
}

void DriveLabeler::ask(const std::vector<std::string>& roots,
                       const std::shared_ptr<WindowThread>& window, Answer answer) {
    const auto shared_answer = std::make_shared<const Answer>(std::move(answer));
    const std::lock_guard lock(state_->mutex);
    for (std::size_t i = 0; i < roots.size(); ++i) {
        auto [waiting, first] = state_->asked.try_emplace(roots[i]);
        waiting->second.push_back({window, shared_answer, i});
        if (!first) continue;
        try {
            std::thread([state = state_, root = roots[i]] { state->look_up(root); }).detach();
        } catch (const std::system_error&) {
            // No thread: the drive keeps its letter.
            state_->asked.erase(waiting);
        }
    }
}

}  // namespace tastomat
