// SPDX-License-Identifier: MIT
#include "library/gradlibrary.h"

#include "common/savefile.h"

#include <QCollator>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <algorithm>

namespace velmix {

namespace {

const QString kSuffix = QStringLiteral(".ggr");

// An XDG variable, or its default when it is unset or empty.
QString Env(const char* name, const QString& fallback)
{
    const QString value = qEnvironmentVariable(name);
    return value.isEmpty() ? fallback : value;
}

std::optional<NamedGradient> ReadEntry(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray text = file.readAll();
    return ReadGgr(std::string_view(text.constData(), size_t(text.size())),
                   QFileInfo(path).completeBaseName().toStdString())
        .gradient;
}

Result Write(const QString& path, const NamedGradient& gradient, FailedTask task)
{
    const std::string text = WriteGgr(gradient);
    return SaveThrough(path,
                       [&](QFileDevice& file) {
                           return WriteFully(file, text.data(), qint64(text.size()));
                       })
        .during(task);
}

GradImport ImportText(const QByteArray& text, const QString& path)
{
    const std::string name = QFileInfo(path).completeBaseName().toStdString();
    const std::string_view view(text.constData(), size_t(text.size()));
    QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix != QLatin1String("ggr") && suffix != QLatin1String("svg") &&
        suffix != QLatin1String("css")) {
        // No extension we know: the content says what it is.
        const QByteArray head = text.left(4096).trimmed();
        if (head.startsWith("GIMP Gradient"))
            suffix = QStringLiteral("ggr");
        else if (head.startsWith("<") && head.contains("<svg"))
            suffix = QStringLiteral("svg");
        else if (text.contains("linear-gradient"))
            suffix = QStringLiteral("css");
        else
            return {
                {},
                {},
                "GIMPのグラデーション(.ggr)、SVG、linear-gradientを含むCSSのどれでもありません。"};
    }
    if (suffix == QLatin1String("svg"))
        return ReadSvg(text, name);
    if (suffix == QLatin1String("css"))
        return ReadCss(view, name);
    GgrRead read = ReadGgr(view, name);
    if (!read.gradient)
        return {{}, {}, read.error};
    return {{*read.gradient}, {}, {}};
}

// The first of name, "name (2)", "name (3)"... that no other entry bears and
// whose file is free in the user's folder. `own` (a rename's file) counts
// as free.
QString FreeName(const std::vector<LibraryEntry>& entries, const QString& user, const QString& name,
                 const QString& own)
{
    for (int n = 1;; ++n) {
        QString candidate = n == 1 ? name : QStringLiteral("%1 (%2)").arg(name).arg(n);
        const std::string bytes = candidate.toStdString();
        const bool named = std::any_of(entries.begin(), entries.end(), [&](const auto& e) {
            return e.gradient.name == bytes && e.path != own;
        });
        const QString path = QDir(user).filePath(GradLibrary::FileNameFor(candidate) + kSuffix);
        if (!named && (path == own || !QFileInfo::exists(path)))
            return candidate;
    }
}

} // namespace

GradLibrary::GradLibrary(QString userFolder, QStringList shippedFolders)
    : m_user(std::move(userFolder)), m_shipped(std::move(shippedFolders))
{
    reload();
}

GradLibrary GradLibrary::Standard()
{
    const QString home = QDir::homePath();
    const QString user = Env("XDG_DATA_HOME", home + QStringLiteral("/.local/share")) +
                         QStringLiteral("/velmix/gradients");
    QStringList shipped;
    for (const QString& dir : Env("XDG_DATA_DIRS", QStringLiteral("/usr/local/share:/usr/share"))
                                  .split(QLatin1Char(':'), Qt::SkipEmptyParts))
        shipped << dir + QStringLiteral("/velmix/gradients");
    // A copy run from its build or an unpacked folder has them beside the
    // program; one installed to a prefix outside the data folders, in its
    // own share/velmix.
    const QDir app(QCoreApplication::applicationDirPath());
    shipped << app.filePath(QStringLiteral("gradients"))
            << QDir::cleanPath(app.filePath(QStringLiteral(VELMIX_DATA_FROM_BIN "/gradients")));
    return GradLibrary(user, shipped);
}

void GradLibrary::reload()
{
    m_entries.clear();
    // A folder named twice (a data folder listed twice, or the program's
    // own share/velmix among them) is read once.
    QSet<QString> seen;
    const auto readFolder = [&](const QString& folder, bool readOnly) {
        const QString canonical = QFileInfo(folder).canonicalFilePath();
        if (canonical.isEmpty() || seen.contains(canonical))
            return;
        seen.insert(canonical);
        const QDir dir(folder);
        const QStringList names = dir.entryList({QStringLiteral("*.ggr")}, QDir::Files);
        for (const QString& name : names) {
            const QString path = dir.filePath(name);
            if (std::optional<NamedGradient> gradient = ReadEntry(path))
                m_entries.push_back({std::move(*gradient), path, readOnly});
        }
    };
    readFolder(m_user, false);
    for (const QString& folder : m_shipped)
        readFolder(folder, true);
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(true);
    std::stable_sort(m_entries.begin(), m_entries.end(),
                     [&](const LibraryEntry& a, const LibraryEntry& b) {
                         return collator.compare(QString::fromStdString(a.gradient.name),
                                                 QString::fromStdString(b.gradient.name)) < 0;
                     });
}

QString GradLibrary::FileNameFor(const QString& name)
{
    QString out = name;
    for (QChar& c : out) {
        if (c == QLatin1Char('/') || c.category() == QChar::Other_Control)
            c = QLatin1Char('_');
    }
    if (out.isEmpty())
        return QStringLiteral("_");
    if (out.startsWith(QLatin1Char('.')))
        out[0] = QLatin1Char('_');
    return out;
}

Result GradLibrary::add(const NamedGradient& gradient)
{
    if (!QDir().mkpath(m_user))
        return Failure{FailureKind::OpenFailed, m_user.toStdString(), "フォルダを作れません。",
                       FailedTask::AddGradient};
    NamedGradient named = gradient;
    const QString name = FreeName(m_entries, m_user, QString::fromStdString(gradient.name), {});
    named.name = name.toStdString();
    Result result =
        Write(QDir(m_user).filePath(FileNameFor(name) + kSuffix), named, FailedTask::AddGradient);
    reload();
    return result;
}

Result GradLibrary::rename(int index, const QString& name)
{
    if (index < 0 || size_t(index) >= m_entries.size())
        return Failure{FailureKind::NotUnderstood,
                       {},
                       "そのグラデーションはありません。",
                       FailedTask::RenameGradient};
    const LibraryEntry entry = m_entries[size_t(index)];
    if (entry.readOnly)
        return Failure{
            FailureKind::ReadOnly, entry.path.toStdString(), {}, FailedTask::RenameGradient};
    NamedGradient named = entry.gradient;
    const QString free = FreeName(m_entries, m_user, name, entry.path);
    named.name = free.toStdString();
    const QString path = QDir(m_user).filePath(FileNameFor(free) + kSuffix);
    // The new file first: if it cannot be written the old one stays as it
    // was, under its old name.
    Result result = Write(path, named, FailedTask::RenameGradient);
    if (result.ok() && path != entry.path && !QFile::remove(entry.path))
        result = Failure{FailureKind::WriteFailed, entry.path.toStdString(),
                         QFile(entry.path).errorString().toStdString(), FailedTask::RemoveGradient};
    reload();
    return result;
}

Result GradLibrary::remove(int index)
{
    if (index < 0 || size_t(index) >= m_entries.size())
        return Failure{FailureKind::NotUnderstood,
                       {},
                       "そのグラデーションはありません。",
                       FailedTask::RemoveGradient};
    const LibraryEntry& entry = m_entries[size_t(index)];
    if (entry.readOnly)
        return Failure{
            FailureKind::ReadOnly, entry.path.toStdString(), {}, FailedTask::RemoveGradient};
    QFile file(entry.path);
    Result result;
    if (!file.remove())
        result = Failure{FailureKind::WriteFailed, entry.path.toStdString(),
                         file.errorString().toStdString(), FailedTask::RemoveGradient};
    reload();
    return result;
}

Result GradLibrary::import(const QString& path)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return Failure{FailureKind::OpenFailed, path.toStdString(),
                       QFileInfo(path).isDir() ? "ファイルではなくフォルダです。"
                                               : file.errorString().toStdString(),
                       FailedTask::ImportGradient};
    GradImport read = ImportText(file.readAll(), path);
    // Our own CSS and SVG carry their points: kept as the segments that draw
    // them exactly, not as the stops that draw one length of them. An OKLab
    // blend's curve has only its stops.
    if (read.carried && read.carried->points.blend == Blend::Rgb) {
        const std::string name = read.gradients.empty()
                                     ? QFileInfo(path).completeBaseName().toStdString()
                                     : read.gradients.front().name;
        read.gradients = {GradientFromPoints(name, read.carried->points)};
    }
    if (read.gradients.empty())
        return Failure{FailureKind::NotUnderstood, path.toStdString(), read.error,
                       FailedTask::ImportGradient};
    for (const NamedGradient& gradient : read.gradients) {
        Result result = add(gradient);
        if (!result.ok())
            return std::move(result).during(FailedTask::ImportGradient);
    }
    return {};
}

GradImport ImportFile(const QString& path)
{
    QFile file(path);
    if (QFileInfo(path).isDir())
        return {{}, {}, "ファイルではなくフォルダです。"};
    if (!file.open(QIODevice::ReadOnly))
        return {{}, {}, file.errorString().toStdString()};
    return ImportText(file.readAll(), path);
}

} // namespace velmix
