#pragma once
// The device access library, bound at run time: dlopen("libdevlinx.so") by bare name (the
// program's RUNPATH finds the copy built beside it) and dlsym of its twelve exports. The core
// only ever sees the function table, so tests hand it a fake one.

#include <optional>
#include <string>

#include "devlinx.h"

namespace kovantis {

// The twelve exports, named as the library names them.
struct DeviceFunctions {
    DevlinxDebugFn Debug = nullptr;
    DevlinxInitFn Init = nullptr;
    DevlinxEndFn End = nullptr;
    DevlinxRequestGetDeviceCountFn RequestGetDeviceCount = nullptr;
    DevlinxDeleteRequestFromUnitIdFn DeleteRequestFromUnitId = nullptr;
    DevlinxDeleteRequestFromHandleFn DeleteRequestFromHandle = nullptr;
    DevlinxRequestWriteFn RequestWrite = nullptr;
    DevlinxRequestWriteOneFn RequestWriteOne = nullptr;
    DevlinxRequestStatusWriteFn RequestStatusWrite = nullptr;
    DevlinxRequestStatusGetFn RequestStatusGet = nullptr;
    DevlinxRequestAsyncReadFn RequestAsyncRead = nullptr;
    DevlinxRequestStatusSetFeatureFn RequestStatusSetFeature = nullptr;

    // True when every export is bound.
    bool Complete() const;
};

inline constexpr const char* kDeviceLibraryName = "libdevlinx.so";

class DeviceLibrary {
public:
    // Loads the library and binds all twelve exports. On failure returns nullopt and, when
    // `error` is given, says why (the loader's message or the missing export). A loaded
    // library is never unloaded: its notification threads may run until the process ends.
    static std::optional<DeviceFunctions> Load(const std::string& fileName = kDeviceLibraryName,
                                               std::string* error = nullptr);
};

} // namespace kovantis
