// SPDX-License-Identifier: MIT
#pragma once
// Which language the windows speak: Japanese, the program's own, or English
// for every other language. Decided from the environment as gettext decides
// which catalogue to read, so a desktop without a language (a script, the
// tests in C.UTF-8) sees the Japanese texts.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace velmix {

enum class UiLanguage
{
    Japanese,
    English
};

// Reads one environment variable; nullopt when it is unset.
using EnvReader = std::function<std::optional<std::string>(const char* name)>;

// LC_ALL, else LC_MESSAGES, else LANG (an empty value counts as unset). A
// locale whose language is C or POSIX, or no locale, means no language, and
// LANGUAGE is then ignored; otherwise the first entry of LANGUAGE, or the
// locale's own language, decides: "ja" is Japanese, anything else English.
UiLanguage LanguageFromEnvironment(const EnvReader& env);
// The same from the process's own environment.
UiLanguage LanguageFromEnvironment();

// The settings file's form ("ja", "en") and back; nullopt for anything else.
std::string_view LanguageCode(UiLanguage language);
std::optional<UiLanguage> LanguageFromCode(std::string_view code);

} // namespace velmix
