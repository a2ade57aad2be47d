// SPDX-License-Identifier: MIT
#include "about/sysinfo.h"

#include "core/version.h"
#include "widgets/widgets.h"

#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QSysInfo>

namespace velmix {

namespace {

// Read as a shell would read the line's value: quotes taken off, a
// backslash keeping the character after it.
QString Unquoted(const QByteArray& value)
{
    const QByteArray v = value.trimmed();
    const bool quoted =
        v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front();
    if (!quoted)
        return QString::fromUtf8(v);
    QByteArray out;
    for (qsizetype i = 1; i + 1 < v.size(); ++i) {
        if (v[i] == '\\' && v.front() == '"' && i + 2 < v.size())
            ++i;
        out += v[i];
    }
    return QString::fromUtf8(out);
}

QString ReadOsName()
{
    // The file's two places, as the system's own tools look.
    for (const char* path : {"/etc/os-release", "/usr/lib/os-release"}) {
        QFile file(QString::fromLatin1(path));
        if (file.open(QIODevice::ReadOnly))
            return OsReleaseName(file.read(qint64{64} * 1024));
    }
    return {};
}

QString WindowSystem(const QString& platform)
{
    if (platform == QLatin1String("xcb"))
        return QStringLiteral("X11");
    if (platform.startsWith(QLatin1String("wayland")))
        return QStringLiteral("Wayland");
    return platform;
}

} // namespace

QString OsReleaseName(const QByteArray& text)
{
    QString name;
    for (const QByteArray& line : text.split('\n')) {
        if (line.startsWith("PRETTY_NAME="))
            return Unquoted(line.mid(12));
        if (line.startsWith("NAME="))
            name = Unquoted(line.mid(5));
    }
    return name;
}

std::vector<SystemFact> GatherSystemFacts(const SystemPlaces& places)
{
    const QString os = ReadOsName();
    const QString kernel = QSysInfo::kernelVersion();
    if (os.isEmpty() && kernel.isEmpty())
        return {};
    const QString desktop = qEnvironmentVariable("XDG_CURRENT_DESKTOP");
    const bool english = CurrentUiLanguage() == UiLanguage::English;
    std::vector<SystemFact> facts{
        {QStringLiteral("Velmix"), QString::fromUtf8(kVersionText)},
        {QStringLiteral("Qt"), QString::fromLatin1(qVersion())},
        {QCoreApplication::translate("SystemFacts", "ｼｽﾃﾑ"),
         os.isEmpty() ? QCoreApplication::translate("SystemFacts", "(不明)") : os},
        {QCoreApplication::translate("SystemFacts", "ｶｰﾈﾙ"),
         QSysInfo::kernelType() + QLatin1Char(' ') + kernel + QLatin1String(" (") +
             QSysInfo::currentCpuArchitecture() + QLatin1Char(')')},
        {QCoreApplication::translate("SystemFacts", "ｳｨﾝﾄﾞｳｼｽﾃﾑ"),
         WindowSystem(QGuiApplication::platformName())},
        {QCoreApplication::translate("SystemFacts", "ﾃﾞｽｸﾄｯﾌﾟ"),
         desktop.isEmpty() ? QCoreApplication::translate("SystemFacts", "(不明)") : desktop}};
    const QList<QScreen*> screens = QGuiApplication::screens();
    for (qsizetype i = 0; i < screens.size(); ++i) {
        const QSize size = screens[i]->size();
        facts.emplace_back(QCoreApplication::translate("SystemFacts", "画面 %1").arg(i + 1),
                           QCoreApplication::translate("SystemFacts", "%1 x %2、倍率 %3")
                               .arg(size.width())
                               .arg(size.height())
                               .arg(screens[i]->devicePixelRatio()));
    }
    facts.emplace_back(QCoreApplication::translate("SystemFacts", "言語"),
                       english ? QStringLiteral("English") : QStringLiteral("日本語"));
    facts.emplace_back(QCoreApplication::translate("SystemFacts", "設定ﾌｧｲﾙ"), places.settingsFile);
    facts.emplace_back(QCoreApplication::translate("SystemFacts", "ｸﾞﾗﾃﾞｰｼｮﾝ集のﾌｫﾙﾀﾞ"),
                       places.libraryFolder);
    return facts;
}

QString SystemFactsText(const std::vector<SystemFact>& facts)
{
    QString text;
    for (const auto& [caption, value] : facts)
        text += caption + QLatin1String(": ") + value + QLatin1Char('\n');
    return text;
}

} // namespace velmix
