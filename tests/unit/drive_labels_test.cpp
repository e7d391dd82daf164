#include "support/drive_labels.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace tastomat {
namespace {

constexpr int kGenericIcon = 9;

// The shell as the workers meet it: per root an answer at once, a late one (given only
// when released, after the dialog has its labels) or none ever.
struct Shell {
    enum class Reply { at_once, late, never };
    struct Drive {
        Reply reply = Reply::at_once;
        std::optional<DriveLabel> label;
    };
    std::map<std::string, Drive> drives;
    std::mutex mutex;
    std::condition_variable changed;
    bool released = false;
    int late_answers = 0;

    std::optional<DriveLabel> look_up(const std::string& root) {
        const Drive& drive = drives.at(root);
        if (drive.reply == Reply::at_once) return drive.label;
        std::unique_lock lock(mutex);
        // A drive that never answers keeps its worker here until the process ends.
        changed.wait(lock, [&] { return drive.reply == Reply::late && released; });
        ++late_answers;
        changed.notify_all();
        return drive.label;
    }

    bool release_late(int expected) {
        std::unique_lock lock(mutex);
        released = true;
        changed.notify_all();
        return changed.wait_for(lock, std::chrono::seconds(30),
                                [&] { return late_answers >= expected; });
    }
};

TEST(DriveLabels, DrivesThatDoNotAnswerInTimeShowTheirLetterAndAGenericIcon) {
    using Reply = Shell::Reply;
    using namespace std::chrono;
    constexpr milliseconds kDeadline{300};
    struct Case {
        const char* what;
        Reply reply;
        std::optional<DriveLabel> answer;
        DriveLabel shown;
    };
    const Case cases[] = {
        {"in time: the shell's name and icon", Reply::at_once, DriveLabel{"Daten (D:)", 8},
         DriveLabel{"Daten (D:)", 8}},
        {"in time without a name: the letter, the drive's icon", Reply::at_once, DriveLabel{"", 8},
         DriveLabel{"D:", 8}},
        {"the shell knows nothing of it", Reply::at_once, std::nullopt,
         DriveLabel{"D:", kGenericIcon}},
        {"never answers", Reply::never, DriveLabel{"Netz (D:)", 8}, DriveLabel{"D:", kGenericIcon}},
        {"answers late: the late answer is dropped", Reply::late, DriveLabel{"Netz (D:)", 8},
         DriveLabel{"D:", kGenericIcon}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // The workers may outlive the test: they share the shell with it.
        auto shell = std::make_shared<Shell>();
        shell->drives["C:\\"] = {Reply::at_once, DriveLabel{"System (C:)", 3}};
        shell->drives["D:\\"] = {c.reply, c.answer};
        shell->drives["E:\\"] = {Reply::at_once, DriveLabel{"Stick (E:)", 5}};
        const auto asked = steady_clock::now();
        const std::vector<DriveLabel> labels = label_drives(
            {"C:\\", "D:\\", "E:\\"},
            [shell](const std::string& root) { return shell->look_up(root); }, kGenericIcon,
            asked + kDeadline, BoundedThreads(8));  // its own: a silent drive's worker stays
        const auto waited = steady_clock::now() - asked;

        const std::vector<DriveLabel> expected{{"System (C:)", 3}, c.shown, {"Stick (E:)", 5}};
        EXPECT_EQ(labels, expected);
        if (c.reply == Reply::at_once) {
            EXPECT_LT(waited, kDeadline) << "drives that all answer are not waited out";
        } else {
            EXPECT_LT(waited, kDeadline + seconds(2)) << "a silent drive held the dialog up";
        }
        if (c.reply == Reply::late) {
            EXPECT_TRUE(shell->release_late(1));
        }
    }
}

}  // namespace
}  // namespace tastomat
