#include "platform/device_library.h"

#include <dlfcn.h>

#include <filesystem>

namespace kovantis {
namespace {

template <typename Fn>
bool Bind(void* handle, const char* name, Fn& slot, std::string* error)
{
    void* symbol = dlsym(handle, name);
    if (symbol == nullptr) {
        if (error != nullptr)
            *error = std::string("missing export ") + name;
        return false;
    }
    // POSIX guarantees that a data pointer from dlsym converts to a function pointer.
    slot = reinterpret_cast<Fn>(symbol);
    return true;
}

// Sanitizer runtimes intercept dlopen, and the loader then applies their search path instead
// of the program's RUNPATH ($ORIGIN); the program's own folder is where that points.
void* OpenBesideProgram(const std::string& fileName)
{
    std::error_code error;
    const auto program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error || fileName.find('/') != std::string::npos)
        return nullptr;
    return dlopen((program.parent_path() / fileName).c_str(), RTLD_NOW | RTLD_LOCAL);
}

} // namespace

bool DeviceFunctions::Complete() const
{
    return Debug && Init && End && RequestGetDeviceCount && DeleteRequestFromUnitId &&
           DeleteRequestFromHandle && RequestWrite && RequestWriteOne && RequestStatusWrite &&
           RequestStatusGet && RequestAsyncRead && RequestStatusSetFeature;
}

std::optional<DeviceFunctions> DeviceLibrary::Load(const std::string& fileName,
                                                   std::string* error)
{
    void* handle = dlopen(fileName.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* reason = dlerror();
        const std::string firstReason = reason != nullptr ? reason : "cannot load " + fileName;
        handle = OpenBesideProgram(fileName);
        if (handle == nullptr) {
            if (error != nullptr)
                *error = firstReason;
            return std::nullopt;
        }
    }
    DeviceFunctions f;
    const bool bound = Bind(handle, "Debug", f.Debug, error) &&
                       Bind(handle, "Init", f.Init, error) && Bind(handle, "End", f.End, error) &&
                       Bind(handle, "RequestGetDeviceCount", f.RequestGetDeviceCount, error) &&
                       Bind(handle, "DeleteRequestFromUnitId", f.DeleteRequestFromUnitId, error) &&
                       Bind(handle, "DeleteRequestFromHandle", f.DeleteRequestFromHandle, error) &&
                       Bind(handle, "RequestWrite", f.RequestWrite, error) &&
                       Bind(handle, "RequestWriteOne", f.RequestWriteOne, error) &&
                       Bind(handle, "RequestStatusWrite", f.RequestStatusWrite, error) &&
                       Bind(handle, "RequestStatusGet", f.RequestStatusGet, error) &&
                       Bind(handle, "RequestAsyncRead", f.RequestAsyncRead, error) &&
                       Bind(handle, "RequestStatusSetFeature", f.RequestStatusSetFeature, error);
    if (!bound)
        return std::nullopt;  // the handle stays open, as a loaded library always does
    return f;
}

} // namespace kovantis
