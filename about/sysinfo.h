// SPDX-License-Identifier: MIT
#pragma once
// What a bug report needs to know of the system Velmix runs on, gathered
// apart from the window that shows it.

#include <QString>

#include <utility>
#include <vector>

class QByteArray;

namespace velmix {

// The program's own files, which only its windows know.
struct SystemPlaces
{
    QString settingsFile;
    QString libraryFolder;
};

// A caption and its value, in the language shown.
using SystemFact = std::pair<QString, QString>;

// Velmix's and Qt's versions, the system's name and kernel, the window
// system and desktop, each screen, the language and the places. Empty when
// the system tells neither its name nor its kernel.
std::vector<SystemFact> GatherSystemFacts(const SystemPlaces& places);

// The system's name in os-release text (PRETTY_NAME, else NAME, unquoted);
// empty when it has neither.
QString OsReleaseName(const QByteArray& text);

// One "caption: value" line each.
QString SystemFactsText(const std::vector<SystemFact>& facts);

} // namespace velmix
