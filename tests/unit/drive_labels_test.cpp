#include "support/drive_labels.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "support/fakes.h"

namespace tastomat {
namespace {

constexpr int kGenericIcon = 9;

// The shell as the workers meet it: per root an answer at once, a late one (given only
// when released) or none ever.
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

    std::map<std::string, int> asked;

    int lookups(const std::string& root) {
        const std::lock_guard lock(mutex);
        return asked[root];
    }

    std::optional<DriveLabel> look_up(const std::string& root) {
        {
            const std::lock_guard lock(mutex);
            ++asked[root];
        }
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

TEST(DriveLabels, EachDriveIsNamedWhenTheShellAnswersAndAShareThatDoesNotIsAskedOnce) {
    using Reply = Shell::Reply;
    using namespace std::chrono;
    using Answers = std::map<std::size_t, DriveLabel>;
    struct Case {
        const char* what;
        Reply reply;
        std::optional<DriveLabel> answer;
        std::optional<DriveLabel> shown;  // D:'s label once the shell has answered
    };
    const Case cases[] = {
        {"the shell's name and icon", Reply::at_once, DriveLabel{"Daten (D:)", 8},
         DriveLabel{"Daten (D:)", 8}},
        {"without a name: the letter, the drive's icon", Reply::at_once, DriveLabel{"", 8},
         DriveLabel{"D:", 8}},
        {"the shell knows nothing of it: it keeps its letter", Reply::at_once, std::nullopt,
         std::nullopt},
        {"never answers: it keeps its letter", Reply::never, DriveLabel{"Netz (D:)", 8},
         std::nullopt},
        {"answers late: named then", Reply::late, DriveLabel{"Netz (D:)", 8},
         DriveLabel{"Netz (D:)", 8}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // The workers may outlive the test: they share the shell with it.
        auto shell = std::make_shared<Shell>();
        shell->drives["C:\\"] = {Reply::at_once, DriveLabel{"System (C:)", 3}};
        shell->drives["D:\\"] = {c.reply, c.answer};
        DriveLabeler labeler([shell](const std::string& root) { return shell->look_up(root); });
        EXPECT_EQ(placeholder_label("D:\\", kGenericIcon), (DriveLabel{"D:", kGenericIcon}));

        // Two openings of the dialog, the second while the first still waits.
        auto window = std::make_shared<test::QueuedWindowThread>();
        Answers first, second;
        const auto asked = steady_clock::now();
        labeler.ask({"C:\\", "D:\\"}, window,
                    [&](std::size_t i, const DriveLabel& label) { first[i] = label; });
        labeler.ask({"D:\\"}, window,
                    [&](std::size_t i, const DriveLabel& label) { second[i] = label; });
        EXPECT_LT(steady_clock::now() - asked, milliseconds(500)) << "asking waited";
        if (c.reply == Reply::late) {
            ASSERT_TRUE(shell->release_late(1));
        }

        const int answered = 1 + (c.shown ? 2 : 0);  // C: and, when named, D: for both
        ASSERT_TRUE(window->wait_for_posts(answered));
        window->run_pending();
        Answers expected{{0, DriveLabel{"System (C:)", 3}}};
        if (c.shown) expected[1] = *c.shown;
        EXPECT_EQ(first, expected);
        const Answers joined = c.shown ? Answers{{0, *c.shown}} : Answers{};
        EXPECT_EQ(second, joined);
        if (c.reply != Reply::at_once) {
            // The one lookup may still be starting on its worker.
            const auto until = steady_clock::now() + seconds(30);
            while (shell->lookups("D:\\") == 0 && steady_clock::now() < until)
                std::this_thread::sleep_for(milliseconds(2));
            EXPECT_EQ(shell->lookups("D:\\"), 1) << "the second opening asked again";
        }
    }
}

}  // namespace
}  // namespace tastomat
