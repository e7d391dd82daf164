#pragma once
// What the drive dialog shows of each drive. The shell's name and icon of a mapped network
// drive whose server is out of reach come only after the redirector gives up, which takes
// tens of seconds; so the dialog shows every drive at once by its letter and a generic
// icon, and each drive's label replaces that when the shell has given it, through the
// window's thread.
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/window_thread.h"

namespace tastomat {

struct DriveLabel {
    std::string text;
    int icon = 0;  // index in the system's image list
    bool operator==(const DriveLabel&) const = default;
};

// The shell's name and icon of a drive root ("E:\"); nullopt when it has none to give.
// Called on a worker of its own, possibly after the dialog has gone: it must capture only
// what it owns.
using DriveLookup = std::function<std::optional<DriveLabel>(const std::string& root)>;

// A drive before the shell has said anything of it, or when it never does: its letter.
DriveLabel placeholder_label(const std::string& root, int generic_icon);

// Asks for labels on workers, one lookup per root at a time across every asker: a dialog
// opened again while a share still has not answered joins the lookup under way, so such a
// share holds one thread however often the dialog is opened.
class DriveLabeler {
  public:
    explicit DriveLabeler(DriveLookup lookup);

    // Called as a task on the asker's window thread, once per root the shell named.
    using Answer = std::function<void(std::size_t index, const DriveLabel& label)>;
    // Returns at once. Each root's label comes to answer, with the root's index, whenever
    // the shell gives it, in any order; a root the shell knows nothing of gets none. An
    // empty name comes as the root's letter.
    void ask(const std::vector<std::string>& roots, const std::shared_ptr<WindowThread>& window,
             Answer answer);

  private:
    struct State;
    std::shared_ptr<State> state_;
};

}  // namespace tastomat
