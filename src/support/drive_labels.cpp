#include "support/drive_labels.h"

#include <cstddef>
#include <utility>

#include "platform/paths.h"

namespace tastomat {

std::vector<DriveLabel> label_drives(const std::vector<std::string>& roots,
                                     const DriveLookup& lookup, int generic_icon, Deadline deadline,
                                     BoundedThreads threads) {
    std::vector<std::function<std::optional<DriveLabel>()>> jobs;
    jobs.reserve(roots.size());
    for (const std::string& root : roots)
        jobs.emplace_back([lookup, root] { return lookup(root); });
    auto answers = run_until(std::move(jobs), deadline, {}, threads);
    std::vector<DriveLabel> labels;
    labels.reserve(roots.size());
    for (std::size_t i = 0; i < roots.size(); ++i) {
        // A drive the shell could say nothing of shows like one that did not answer.
        std::optional<DriveLabel> label = std::move(answers[i]).value_or(std::nullopt);
        if (!label) label = DriveLabel{"", generic_icon};
        if (label->text.empty()) label->text = without_trailing_backslash(roots[i]);
        labels.push_back(std::move(*label));
    }
    return labels;
}

}  // namespace tastomat
