#pragma once
// Lets only the first copy of the program run. A later start hands its command-line
// parameters to the running copy through a named shared block, asks it by a posted
// message to take them, waits until it has, and ends without showing anything. A named
// semaphore (count 1 = block free) guards the block between the processes.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "components/instance_block.h"
#include "platform/win32/scoped.h"
#include "ui/window.h"

namespace tastomat {

// What Init found, for the program to act on.
enum class InstanceRole {
    first,        // no copy ran before: this one goes on, and later starts hand over to it
    alone,        // the shared block could not be made: this copy goes on, unseen by others
    handed_over,  // another copy runs and has taken this start's parameters: this one ends
};

class Toneinstance : private ui::Window {
  public:
    // main_window: the program's window that comes to the front for a later start even
    // without a caption (none: only captioned windows do). name: the shared objects' name;
    // by default the file name of the program's own executable, so copies under another
    // file name run independently.
    explicit Toneinstance(HWND main_window, std::wstring name = own_file_name());
    ~Toneinstance() override;

    // Hands over when a copy is already running (and with Usehalttoexit ends the process
    // there); otherwise becomes the copy that later starts hand over to. Throws "Unable to
    // create semaphore" when the lock cannot be made (the copy then runs unseen by later
    // starts).
    InstanceRole Init();
    bool Isfirstinstance() const { return hwnd() != nullptr; }

    bool Showonnewinstance() const { return Fshowonnewinstance; }
    void SetShowonnewinstance(bool Value) { Fshowonnewinstance = Value; }
    bool Usehalttoexit() const { return Fusehalttoexit; }

    // Called in the first copy with a later start's parameters.
    std::function<void(Toneinstance& sender, const std::vector<std::string>& Params)>
        Oninstancestarted;

    static std::wstring own_file_name();

  protected:
    // The first copy's reaction to a later start: come to the front, then the event.
    virtual void Doinstancestarted(const std::vector<std::string>& Params);

  private:
    class View;
    LRESULT on_message(UINT msg, WPARAM wp, LPARAM lp) override;  // Instancewndproc
    bool Locksemaphore();
    void Unlocksemaphore();
    void Closesemaphore();
    void Becomefirstinstance(View& view);
    // True when the first copy took the parameters.
    bool Notifyfirstinstance(View& view);
    void take_parameters();

    HWND main_window_;
    std::wstring name_;
    ScopedHandle Fmappinghandle;
    ScopedHandle Hsemaphore;
    bool Fshowonnewinstance = true;
    bool Fusehalttoexit = false;
};

}  // namespace tastomat
