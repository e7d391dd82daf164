#pragma once
// Starting a slot's program. The launcher runs from a stick whose drive letter changes, so
// paths without a drive get the launcher's drive, and a program missing at its stored path
// is looked for first on the launcher's own drive, then on every fixed and network drive;
// the slot then follows it. When no drive starts it the slot stays as it is: the share may
// be offline or the stick not plugged in.
//
// A network drive whose server is out of reach answers an existence test only after tens
// of seconds, so a start goes in three steps: prepare (the caller's thread: the slot and
// its completed paths), probe (any thread: the direct test and, when that fails, every
// drive's test at once, each on a worker of its own, all under one deadline) and finish
// (the caller's thread again: the starts and the table's change). A network drive that has
// not answered by the deadline counts as not holding the file; a local one is waited for.
// The finish itself is split too: the plan (what to try, with the user's word where a
// run-as start would take a program found away from its place), the starts (on a worker
// when they may wait on a drive) and the slot's move.
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
    BoundedThreads threads = lookup_threads();
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
    // The launcher's own drive ("F:" or "\\server\share"), searched first.
    std::string launcher_drive;
    // The slot's program as the table held it at the key press; the slot follows a found
    // program only while it still holds this.
    std::optional<std::string> stored;
};

// What the probes found out by the deadline; a test without an answer counts as false.
struct StartFindings {
    bool direct = false;      // exe names an existing file (or folder, for a folder entry)
    bool dir_exists = false;  // dir_to_test names an existing folder
    // When the direct test failed: exe where it was found, on the launcher's own drive
    // first, then on every other fixed and network drive in letter order.
    std::vector<std::string> found;
};

// Asked on the caller's thread before a run-as start of a program the search found away
// from its place and from the launcher's drive; true when the user agrees.
using ConfirmRunAs = std::function<bool(const std::string& found)>;

// What a start tries, in order, once the findings are in.
struct StartPlan {
    std::vector<std::string> paths;
    std::string dir;        // the working directory of every start
    bool searched = false;  // the paths are the search's: a started one moves the slot
    bool refused = false;   // the user declined the run-as start: nothing starts
};

// The direct start, or the search's finds in order. In run-as mode a find away from the
// launcher's drive is started only when confirm agrees, and nothing after it is tried:
// the user agreed to that path, not to whatever else the search came upon.
StartPlan plan_start(const StartRequest& request, const StartFindings& findings,
                     const ConfirmRunAs& confirm);

// Whether the plan's starts touch fixed drives only, where they answer at once; other
// starts may wait on a drive and belong on a worker.
bool starts_at_once(const StartPlan& plan, const DriveProbes& probes);

// Starts the plan's paths in order until one succeeds; any thread.
using StartOne =
    std::function<bool(const std::string& path, const std::string& dir, const std::string& param)>;
StartResult run_plan(const StartPlan& plan, const StartRequest& request, const StartOne& start);

// The slot follows the program the search started, unless the user changed the slot after
// the key press: a late answer never overwrites an edit. True when the slot was moved.
bool follow_start(ProgramTable& table, const StartRequest& request, const StartResult& result);

// The direct test (with the working directory's), then, when it failed, the drive search's
// tests; each step's tests run at once. Both end budget after asked, but the search has at
// least half the budget, so that drives which answer at once are not dropped because the
// direct test waited for one that did not. Callable on any thread.
StartFindings probe_start(const StartRequest& request,
                          const std::shared_ptr<const DriveProbes>& probes,
                          std::chrono::milliseconds budget,
                          Deadline asked = std::chrono::steady_clock::now(),
                          const BoundedThreads& threads = lookup_threads());

// The direct tests on the calling thread, when the program (and the working directory) lie
// on fixed drives and no search is needed: such a test answers within a millisecond, less
// than a worker would cost to make. A disc spinning up or a card reader may take seconds,
// so removable, CD and RAM drives are probed on workers like the network. Nothing when the
// probes belong on workers.
std::optional<StartFindings> probe_at_once(const StartRequest& request, const DriveProbes& probes);

// Probes on a thread of its own and hands the request with its findings to deliver, on
// that thread; deliver must carry them to the thread that finishes the start.
using DeliverFindings = std::function<void(StartRequest, StartFindings)>;
void probe_in_background(StartRequest request, std::shared_ptr<const DriveProbes> probes,
                         std::chrono::milliseconds budget, DeliverFindings deliver,
                         const BoundedThreads& threads = lookup_threads());

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
    // The start, or the starts of what the search found in order until one succeeds, and
    // the slot's move; all on the calling thread. confirm as for plan_start (none: the
    // run-as start of a find away from the launcher's drive is declined).
    StartResult finish(const StartRequest& request, const StartFindings& findings,
                       const SetProgram& set_program, const ConfirmRunAs& confirm = {});

    // All three steps on the calling thread, which waits for the probes.
    StartResult Startprog(const std::string& Exe, const std::string& Dir, const std::string& Param,
                          int Index, bool Adminflag, const SetProgram& set_program,
                          const ConfirmRunAs& confirm = {});
    StartResult start_slot(ProgramTable& table, int Index, bool Adminflag,
                           const ConfirmRunAs& confirm = {});

  private:
    StartResult run_here(const StartRequest& request, const StartFindings& findings,
                         const ConfirmRunAs& confirm);
    bool start(const std::string& path, const std::string& dir, const std::string& param,
               bool admin);

    StartServices services_;
    std::string launcher_drive_;
};

}  // namespace tastomat
