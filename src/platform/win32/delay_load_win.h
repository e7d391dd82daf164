#pragma once
// Libraries that only a seldom-used feature needs (the update check's HTTP client, COM for
// shell links and the folder browser, version resources, themes) are imported to load at
// their first call rather than at every start; see cmake/delay_import.cmake.

namespace tastomat {

// Makes those first calls load the library from the system folder only, as
// system_library() does. Called first thing at start.
void load_delayed_libraries_from_system_folder();

}  // namespace tastomat
