#pragma once
// What every bench of the project needs: timing, medians, host paths, and the check that it
// runs under the build's runner, with the device drive current.
#include <windows.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace bench {

template <typename F>
double Seconds(F f)
{
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

inline double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// A file of the host, as Wine maps the host's root: drive Z:.
inline std::wstring HostPath(std::wstring path)
{
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return L"Z:" + path;
}

// The benches set up a device on the drive that is current; anything but the build's device
// drive is refused, and says why.
inline bool IsDeviceDriveCurrent()
{
    wchar_t current[MAX_PATH] = L"";
    ::GetCurrentDirectoryW(MAX_PATH, current);
    if (std::wstring(current) == L"D:\\")
        return true;
    std::fprintf(stderr, "run under the build's wine-run: the device drive must be current\n");
    return false;
}

}  // namespace bench
