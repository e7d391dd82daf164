#include "app/volume_watch_win.h"

#include <dbt.h>

#include <cstddef>

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

// The bus of the disk that holds the volume. Asked through the volume's own name, which
// also serves a volume mounted into a folder; no access rights are needed for the question.
std::optional<STORAGE_BUS_TYPE> bus_of(const std::wstring& root) {
    wchar_t name[MAX_PATH];
    if (!GetVolumeNameForVolumeMountPointW(root.c_str(), name, MAX_PATH)) return std::nullopt;
    std::wstring device(name);
    if (!device.empty() && device.back() == L'\\') device.pop_back();  // the volume, not its root
    const ScopedFile volume(CreateFileW(device.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        nullptr, OPEN_EXISTING, 0, nullptr));
    if (!volume) return std::nullopt;
    STORAGE_PROPERTY_QUERY query{};
    query.PropertyId = StorageDeviceProperty;
    query.QueryType = PropertyStandardQuery;
    STORAGE_DEVICE_DESCRIPTOR descriptor{};
    DWORD got = 0;
    // The descriptor's fixed part is enough: the call fills what fits and says so.
    if (!DeviceIoControl(volume.get(), IOCTL_STORAGE_QUERY_PROPERTY, &query, sizeof query,
                         &descriptor, sizeof descriptor, &got, nullptr) &&
        GetLastError() != ERROR_MORE_DATA)
        return std::nullopt;
    if (got < offsetof(STORAGE_DEVICE_DESCRIPTOR, BusType) + sizeof descriptor.BusType)
        return std::nullopt;
    return descriptor.BusType;
}

bool system_can_be_ejected(const std::wstring& root) {
    const UINT type = GetDriveTypeW(root.c_str());
    // Only a fixed drive needs the bus; asking costs a device open.
    return ejectable(type, type == DRIVE_FIXED ? bus_of(root) : std::nullopt);
}

}  // namespace

bool ejectable(UINT drive_type, std::optional<STORAGE_BUS_TYPE> bus) {
    if (drive_type == DRIVE_REMOVABLE) return true;
    if (drive_type != DRIVE_FIXED) return false;
    if (!bus) return true;
    switch (*bus) {
        case BusTypeUsb:
        case BusType1394:
        case BusTypeSd:
        case BusTypeMmc:
            return true;
        default:
            return false;
    }
}

DeviceNotifications system_device_notifications() {
    DeviceNotifications api;
    api.register_for = RegisterDeviceNotificationW;
    api.unregister = UnregisterDeviceNotification;
    api.can_be_ejected = system_can_be_ejected;
    return api;
}

VolumeWatch::VolumeWatch(HWND window, const std::wstring& program_path, DeviceNotifications api)
    : api_(api) {
    const std::wstring root = volume_root(program_path);
    // Registering is not free: under Wine it costs a thread and the RPC runtime, about
    // 1.4 MB, for a volume that never leaves.
    if (root.empty() || !api_.register_for || !api_.can_be_ejected || !api_.can_be_ejected(root))
        return;
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
