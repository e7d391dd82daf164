#pragma once
// Ejecting the stick the program runs from. Windows asks every holder of a handle on a
// volume before it removes the volume; a program that runs from it must step aside, or the
// eject fails with "This device is currently in use". The watch holds a handle on the root
// of the program's own volume only to be asked, and lets it go when asked.
#include <windows.h>

#include <winioctl.h>

#include <optional>
#include <string>

#include "platform/win32/scoped.h"

namespace tastomat {

// RegisterDeviceNotificationW and UnregisterDeviceNotification, and the question whether a
// volume can leave the running system; the system's, or stand-ins in tests.
struct DeviceNotifications {
    HDEVNOTIFY(WINAPI* register_for)(HANDLE recipient, LPVOID filter, DWORD flags) = nullptr;
    BOOL(WINAPI* unregister)(HDEVNOTIFY notification) = nullptr;
    bool (*can_be_ejected)(const std::wstring& root) = nullptr;
};
DeviceNotifications system_device_notifications();

// Whether a volume of this drive type, on a disk attached by this bus (none when the system
// would not say), can be ejected while Windows runs: every removable drive, and a fixed one
// on a bus made for plugging (a USB disk, a stick that reports itself as fixed, a card
// reader). An internal disk is not; an unknown bus counts as ejectable, since watching costs
// less than an eject that fails.
bool ejectable(UINT drive_type, std::optional<STORAGE_BUS_TYPE> bus);

class VolumeWatch {
  public:
    // Watches the volume that holds program_path for window when it can be ejected;
    // watches nothing otherwise, or when the system refuses.
    VolumeWatch(HWND window, const std::wstring& program_path,
                DeviceNotifications api = system_device_notifications());
    VolumeWatch(const VolumeWatch&) = delete;
    VolumeWatch& operator=(const VolumeWatch&) = delete;
    ~VolumeWatch();

    bool watching() const { return registration_ != nullptr; }
    HDEVNOTIFY registration() const { return registration_; }

    // For WM_DEVICECHANGE. True when Windows asks to remove the watched volume; handle and
    // registration are let go before it returns, so that the program no longer holds it
    // when it answers. A volume already gone (the stick pulled) is let go too, but the
    // program runs on: it was copied into the page file at start.
    bool removal_requested(WPARAM event, LPARAM data);

  private:
    void let_go();

    DeviceNotifications api_;
    ScopedFile volume_;
    HDEVNOTIFY registration_ = nullptr;
};

}  // namespace tastomat
