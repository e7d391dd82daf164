#include "app/volume_watch_win.h"

#include <dbt.h>

namespace tastomat {
namespace {

// The folder the volume is mounted at, with a final backslash: "E:\", or the folder of a
// volume mounted into another one.
std::wstring volume_root(const std::wstring& path) {
    std::wstring root(path.size() + MAX_PATH, L'\0');
    if (!GetVolumePathNameW(path.c_str(), root.data(), static_cast<DWORD>(root.size()))) return {};
    root.resize(wcslen(root.c_str()));
    return root;
}

bool local_volume(const std::wstring& root) {
    const UINT type = GetDriveTypeW(root.c_str());
    return type == DRIVE_REMOVABLE || type == DRIVE_FIXED;
}

}  // namespace

DeviceNotifications system_device_notifications() {
    DeviceNotifications api;
    api.register_for = RegisterDeviceNotificationW;
    api.unregister = UnregisterDeviceNotification;
    return api;
}

VolumeWatch::VolumeWatch(HWND window, const std::wstring& program_path, DeviceNotifications api)
    : api_(api) {
    const std::wstring root = volume_root(program_path);
    if (root.empty() || !local_volume(root) || !api_.register_for) return;
    // A handle on the root folder (the backup flag is what opens a folder), asking for no
    // more than its attributes and sharing everything, so that it keeps nobody else out;
    // it is closed before the removal is answered.
    volume_.reset(CreateFileW(root.c_str(), FILE_READ_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!volume_) return;
    DEV_BROADCAST_HANDLE filter{};
    filter.dbch_size = sizeof filter;
    filter.dbch_devicetype = DBT_DEVTYP_HANDLE;
    filter.dbch_handle = volume_.get();
    registration_ = api_.register_for(window, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
    // Unasked, a handle would only keep the stick from being ejected.
    if (!registration_) volume_.reset();
}

VolumeWatch::~VolumeWatch() { let_go(); }

void VolumeWatch::let_go() {
    if (registration_ && api_.unregister) api_.unregister(registration_);
    registration_ = nullptr;
    volume_.reset();
}

bool VolumeWatch::removal_requested(WPARAM event, LPARAM data) {
    if (!registration_ || !data) return false;
    const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(data);
    if (header->dbch_devicetype != DBT_DEVTYP_HANDLE) return false;
    // The registration names the watch; the handle in the message is only a copy of ours.
    if (reinterpret_cast<const DEV_BROADCAST_HANDLE*>(data)->dbch_hdevnotify != registration_)
        return false;
    switch (event) {
        case DBT_DEVICEQUERYREMOVE:
            let_go();
            return true;
        case DBT_DEVICEREMOVEPENDING:
        case DBT_DEVICEREMOVECOMPLETE:
            let_go();
            return false;
        default:
            return false;
    }
}

}  // namespace tastomat
