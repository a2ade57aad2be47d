// SPDX-License-Identifier: MIT
#include "core/language.h"

#include <cstdlib>

namespace velmix {

namespace {

// "de_DE.UTF-8@euro" gives "de".
std::string_view LanguagePart(std::string_view locale)
{
    return locale.substr(0, locale.find_first_of("_.@"));
}

std::optional<std::string> NonEmpty(const EnvReader& env, const char* name)
{
    std::optional<std::string> value = env(name);
    if (value && value->empty())
        return std::nullopt;
    return value;
}

} // namespace

UiLanguage LanguageFromEnvironment(const EnvReader& env)
{
    std::optional<std::string> locale = NonEmpty(env, "LC_ALL");
    if (!locale)
        locale = NonEmpty(env, "LC_MESSAGES");
    if (!locale)
        locale = NonEmpty(env, "LANG");
    if (!locale)
        return UiLanguage::Japanese;
    std::string_view language = LanguagePart(*locale);
    if (language.empty() || language == "C" || language == "POSIX")
        return UiLanguage::Japanese;
    // LANGUAGE is a priority list "fr:en"; empty entries are skipped.
    const std::optional<std::string> list = NonEmpty(env, "LANGUAGE");
    if (list) {
        std::string_view rest = *list;
        while (!rest.empty()) {
            const std::size_t colon = rest.find(':');
            const std::string_view entry = LanguagePart(rest.substr(0, colon));
            if (!entry.empty()) {
                language = entry;
                break;
            }
            rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
        }
    }
    return language == "ja" ? UiLanguage::Japanese : UiLanguage::English;
}

UiLanguage LanguageFromEnvironment()
{
    return LanguageFromEnvironment([](const char* name) -> std::optional<std::string> {
        const char* value = std::getenv(name);
        if (!value)
            return std::nullopt;
        return std::string(value);
    });
}

std::string_view LanguageCode(UiLanguage language)
{
    return language == UiLanguage::English ? "en" : "ja";
}

std::optional<UiLanguage> LanguageFromCode(std::string_view code)
{
    if (code == "ja")
        return UiLanguage::Japanese;
    if (code == "en")
        return UiLanguage::English;
    return std::nullopt;
}

} // namespace velmix
