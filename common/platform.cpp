// SPDX-License-Identifier: MIT
#include "common/platform.h"

#ifdef _WIN32

#include <windows.h>

#include <filesystem>

namespace velmix {

namespace {

// A text value, or empty.
std::wstring KeyValue(HKEY root, const wchar_t* keyName, const wchar_t* valueName)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, keyName, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return {};
    wchar_t buf[1024] = {};
    DWORD size = sizeof buf - sizeof(wchar_t);
    DWORD type = 0;
    const bool ok = RegQueryValueExW(key, valueName, nullptr, &type, reinterpret_cast<LPBYTE>(buf),
                                     &size) == ERROR_SUCCESS &&
                    type == REG_SZ;
    RegCloseKey(key);
    return ok ? std::wstring(buf) : std::wstring();
}

} // namespace

const char* PlatformLineEnd()
{
    return "\r\n";
}

const char* LegacyCodePageName()
{
    return "";
}

char NativeSeparator()
{
    return '\\';
}

std::string WindowsDir()
{
    std::string buf(255, '\0');
    const UINT n = GetWindowsDirectoryA(buf.data(), 255);
    buf.resize(n < 255 ? n : 0);
    return buf;
}

std::optional<int> ShellOpen(unsigned long long owner, const std::wstring& path,
                             const std::wstring& dir, int show)
{
    const auto r = reinterpret_cast<INT_PTR>(ShellExecuteW(reinterpret_cast<HWND>(owner), L"Open",
                                                           path.c_str(), L"", dir.c_str(), show));
    return static_cast<int>(r);
}

std::wstring SystemInfoToolPath()
{
    const std::wstring path =
        KeyValue(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", L"PATH");
    if (!path.empty())
        return path;
    const std::wstring dir =
        KeyValue(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Shared Tools Location", L"MSINFO");
    const std::wstring tool = dir + L"\\MSINFO32.EXE";
    std::error_code error;
    return !dir.empty() && std::filesystem::exists(tool, error) ? tool : std::wstring();
}

} // namespace velmix

#else

namespace velmix {

const char* PlatformLineEnd()
{
    return "\n";
}

// Files written by the Windows program are in its code page; text that is
// not valid in this system's character set is read as that.
const char* LegacyCodePageName()
{
    return "Shift_JIS";
}

char NativeSeparator()
{
    return '/';
}

std::string WindowsDir()
{
    return {};
}

std::optional<int> ShellOpen(unsigned long long, const std::wstring&, const std::wstring&, int)
{
    return std::nullopt;
}

std::wstring SystemInfoToolPath()
{
    return {};
}

} // namespace velmix

#endif
