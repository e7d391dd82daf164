#include "platform/win32/shell_link_win.h"

#include <windows.h>

#include <shlobj.h>

#include <cstdio>

#include "platform/win32/com_win.h"
#include "platform/win32/scoped.h"
#include "platform/win32/wide.h"

namespace tastomat {
namespace {

std::string hresult_text(const char* what, HRESULT hr) {
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, "%s (0x%08lX)", what, static_cast<unsigned long>(hr));
    return buffer;
}

}  // namespace

bool WinShellLinkWriter::save(const ShellLinkProperties& link, const std::string& path) {
    join_com();
    ComPtr<IShellLinkW> shell_link;
    HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                  shell_link.put_void());
    if (FAILED(hr)) throw ShellLinkError(hresult_text("No shell link object", hr));
    ComPtr<IPersistFile> file;
    hr = shell_link->QueryInterface(IID_IPersistFile, file.put_void());
    if (FAILED(hr)) throw ShellLinkError(hresult_text("Shell link cannot be saved", hr));

    // A link that lost one of its properties on the way is not the link asked for.
    if (FAILED(shell_link->SetPath(to_wide(link.target).c_str())) ||
        FAILED(shell_link->SetArguments(to_wide(link.arguments).c_str())) ||
        FAILED(shell_link->SetDescription(to_wide(link.description).c_str())) ||
        FAILED(shell_link->SetWorkingDirectory(to_wide(link.working_directory).c_str())))
        return false;
    return SUCCEEDED(file->Save(to_wide(path).c_str(), FALSE));
}

}  // namespace tastomat
