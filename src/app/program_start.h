#pragma once
// Starting a slot's program. The launcher runs from a stick whose drive letter changes, so
// paths without a drive get the launcher's drive, and a program missing at its stored path
// is looked for on every fixed and network drive; the slot then follows it. When no drive
// starts it the slot stays as it is: the share may be offline or the stick not plugged in.
//
// A network drive whose server is out of reach answers an existence test only after tens
// of seconds, so a start goes in three steps: prepare (the caller's thread: the slot and
// its completed paths), probe (any thread: the direct test and, when that fails, every
// drive's test at once, each on a worker of its own, all under one deadline) and finish
// (the caller's thread again: the starts and the table's change). A network drive that has
// not answered by the deadline counts as not holding the file; a local one is waited for.
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/drives.h"
#include "platform/paths.h"
#include "platform/shell.h"
#include "support/bounded_jobs.h"
#include "table/program_table.h"

namespace tastomat {

struct StartServices {
    std::shared_ptr<const DriveProbes> probes;
    Drives& drives;
    Shell& shell;
    AccountStarter& account;
    std::chrono::milliseconds deadline = kDriveDeadline;
};

// Sets the slot's program and rewrites its line in the settings list.
using SetProgram = std::function<void(int index, const std::string& program)>;

struct StartResult {
    // The path whose start the system reported as successful.
    std::optional<std::string> started;
    // Set when the drive search moved the slot to the program it found and started.
    std::optional<std::string> new_program;
    // Set when the drive search started nothing: the path that was looked for.
    std::optional<std::string> not_found;
};

// One start as prepared: everything the probes and the start need, copied out of the table.
struct StartRequest {
    int index = -1;
    bool admin = false;
    std::string exe;  // completed with the launcher's drive
    std::string param;
    std::string dir;  // completed; the launcher's drive when the stored one is not there
    // The stored working directory, completed, when its existence is still to be tested
    // (a slot's start); it becomes dir when it is there.
    std::optional<std::string> dir_to_test;
    bool folder_entry = false;  // exe ends in "\" or is a bare drive
};

// What the probes found out by the deadline; a test without an answer counts as false.
struct StartFindings {
    bool direct = false;      // exe names an existing file (or folder, for a folder entry)
    bool dir_exists = false;  // dir_to_test names an existing folder
    // When the direct test failed: exe on every fixed and network drive where it was
    // found, in letter order.
    std::vector<std::string> found;
};

// The direct test (with the working directory's), then, when it failed, the drive search's
// tests; each step's tests run at once. Both end budget after asked, but the search has at
// least half the budget, so that drives which answer at once are not dropped because the
// direct test waited for one that did not. Callable on any thread.
StartFindings probe_start(const StartRequest& request,
                          const std::shared_ptr<const DriveProbes>& probes,
                          std::chrono::milliseconds budget,
                          Deadline asked = std::chrono::steady_clock::now());

// The direct tests on the calling thread, when the program (and the working directory) lie
// on local drives and no search is needed: such a test answers within a millisecond, less
// than a worker would cost to make. Nothing when the probes belong on workers.
std::optional<StartFindings> probe_at_once(const StartRequest& request, const DriveProbes& probes);

// Probes on a thread of its own and hands the request with its findings to deliver, on
// that thread; deliver must carry them to the thread that finishes the start.
using DeliverFindings = std::function<void(StartRequest, StartFindings)>;
void probe_in_background(StartRequest request, std::shared_ptr<const DriveProbes> probes,
                         std::chrono::milliseconds budget, DeliverFindings deliver);

class ProgramStarter {
  public:
    // launcher_path is the launcher's own executable; its drive completes the slot paths.
    ProgramStarter(StartServices services, std::string_view launcher_path);

    // What a slot key asks for: the slot as Getprogparams fetches it, its working directory
    // still to be tested.
    StartRequest prepare_slot(const ProgramTable& table, int Index, bool Adminflag);
    // Adminflag: start under the stored account instead of through the shell.
    StartRequest prepare(const std::string& Exe, const std::string& Dir, const std::string& Param,
                         int Index, bool Adminflag);
    // The start, or the starts of what the search found in letter order until one succeeds,
    // and the slot's move.
    StartResult finish(const StartRequest& request, const StartFindings& findings,
                       const SetProgram& set_program);

    // All three steps on the calling thread, which waits for the probes.
    StartResult Startprog(const std::string& Exe, const std::string& Dir, const std::string& Param,
                          int Index, bool Adminflag, const SetProgram& set_program);
    StartResult start_slot(ProgramTable& table, int Index, bool Adminflag);

  private:
    bool start(const std::string& path, const std::string& dir, const std::string& param,
               bool admin);

    StartServices services_;
    std::string launcher_drive_;
};

}  // namespace tastomat
