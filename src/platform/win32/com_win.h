#pragma once
// COM on the user-interface thread, joined when the shell first needs it (a program
// opened through the shell, a shell link written, the file dialogs and the folder browser,
// the help viewer) and kept until the
// process ends. Joining at start would load COM into every run of the launcher.

namespace tastomat {

// Call on the user-interface thread before a shell call that may need COM.
void join_com();

}  // namespace tastomat
