// SPDX-License-Identifier: MIT
#pragma once
// Everything only Windows has, behind one switch in platform.cpp: the
// callers keep the portable way and ask here first. Elsewhere each of these
// answers "none" (or this system's own convention).

#include <optional>
#include <string>

namespace velmix {

// The line ending new lines of a text file get on this system.
const char* PlatformLineEnd();

// The name of the code page the Windows program wrote its files in, for a
// text decoder; empty on Windows, where it is the system's own ANSI code page.
const char* LegacyCodePageName();

// The folder separator of this system's paths.
char NativeSeparator();

// The Windows folder; empty where there is none.
std::string WindowsDir();

// The system's "open" of a document (ShellExecute) for the window `owner`
// (a native window handle, may be 0): its number, above 32 on success.
// nullopt where the system has no such call.
std::optional<int> ShellOpen(unsigned long long owner, const std::wstring& path,
                             const std::wstring& dir, int show);

// The System Information tool, as the registry names it; empty when there
// is none.
std::wstring SystemInfoToolPath();

} // namespace velmix
