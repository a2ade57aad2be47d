// SPDX-License-Identifier: MIT
#include "library/gradlibrary.h"

#include "common/savefile.h"

#include <QCollator>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
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

// The whole of a library file, nullopt when it cannot be read.
std::optional<QByteArray> ReadLibraryFile(const QString& path)
{
    QByteArray text;
    return ReadCapped(path, kMaxGradientFile, text).ok() ? std::optional(text) : std::nullopt;
}

// A library file read, with what tells it from a later change.
std::optional<LibraryEntry> ReadEntry(const QString& path, bool readOnly)
{
    const QFileInfo info(path);
    const qint64 size = info.size();
    const qint64 modified = info.lastModified().toMSecsSinceEpoch();
    const std::optional<QByteArray> text = ReadLibraryFile(path);
    if (!text)
        return std::nullopt;
    std::optional<NamedGradient> gradient =
        ReadGgr(std::string_view(text->constData(), size_t(text->size())),
                info.completeBaseName().toStdString())
            .gradient;
    if (!gradient)
        return std::nullopt;
    return LibraryEntry{std::move(*gradient),
                        path,
                        readOnly,
                        size,
                        modified,
                        QCryptographicHash::hash(*text, QCryptographicHash::Sha256)};
}

// Whether the file is still the one listed: its size and time first, its
// text when they agree (a change within the clock's step keeps both).
bool Unchanged(const LibraryEntry& entry)
{
    const QFileInfo info(entry.path);
    if (!info.isFile() || info.size() != entry.size ||
        info.lastModified().toMSecsSinceEpoch() != entry.modified)
        return false;
    const std::optional<QByteArray> text = ReadLibraryFile(entry.path);
    return text && QCryptographicHash::hash(*text, QCryptographicHash::Sha256) == entry.digest;
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

} // namespace

GradImport ImportText(const QByteArray& text, const QString& path, const QString& wanted)
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
            return Unread({RefusalKind::NoType});
    }
    GradImport read;
    if (suffix == QLatin1String("svg"))
        read = ReadSvg(text, name, wanted);
    else if (!wanted.isEmpty())
        return Unread({RefusalKind::IdNotSvg});
    else if (suffix == QLatin1String("css"))
        read = ReadCss(view, name);
    else if (GgrRead ggr = ReadGgr(view, name); ggr.gradient)
        read.gradients = {*ggr.gradient};
    else
        read.refusal = ggr.refusal;
    read.web = suffix != QLatin1String("ggr");
    // Our own CSS and SVG carry their points: kept as the segments that
    // draw them exactly, RGB or OKLab, not as the stops that draw one
    // length of them; so a file, a drop, a paste and the renderer all bring
    // back the very points.
    if (read.carried) {
        const std::string own = read.gradients.empty() ? name : read.gradients.front().name;
        read.gradients = {GradientFromPoints(own, read.carried->points)};
        read.vertical = {read.carried->vertical};
    }
    return read;
}

namespace {

// The first of name, "name (2)", "name (3)"... that no listed entry but
// `own` (a rename's file) bears. A file that is there but cannot be read
// lists nothing and so takes no name.
QString FreeName(const std::vector<LibraryEntry>& entries, const QString& name, const QString& own)
{
    for (int n = 1;; ++n) {
        QString candidate = n == 1 ? name : QStringLiteral("%1 (%2)").arg(name).arg(n);
        const std::string bytes = candidate.toStdString();
        if (std::none_of(entries.begin(), entries.end(),
                         [&](const auto& e) { return e.gradient.name == bytes && e.path != own; }))
            return candidate;
    }
}

// The first of "file.ggr", "file (2).ggr"... free in the folder; `own`
// counts as free.
QString FreePath(const QString& folder, const QString& name, const QString& own)
{
    const QString file = GradLibrary::FileNameFor(name);
    for (int n = 1;; ++n) {
        const QString number = n == 1 ? QString() : QStringLiteral(" (%1)").arg(n);
        QString path = QDir(folder).filePath(file + number + kSuffix);
        if (path == own || (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink()))
            return path;
    }
}

} // namespace

GradLibrary::GradLibrary(QString userFolder, QStringList shippedFolders)
    : m_user(std::move(userFolder)), m_shipped(std::move(shippedFolders))
{
    reload();
}

QString GradLibrary::StandardUserFolder()
{
    // A folder that is not an absolute path is ignored, as the XDG rules say.
    QString data = Env("XDG_DATA_HOME", QDir::homePath() + QStringLiteral("/.local/share"));
    if (!data.startsWith(QLatin1Char('/')))
        data = QDir::homePath() + QStringLiteral("/.local/share");
    return data + QStringLiteral("/velmix/gradients");
}

GradLibrary GradLibrary::Standard()
{
    const QString user = StandardUserFolder();
    QStringList shipped;
    for (const QString& dir : Env("XDG_DATA_DIRS", QStringLiteral("/usr/local/share:/usr/share"))
                                  .split(QLatin1Char(':'), Qt::SkipEmptyParts))
        if (dir.startsWith(QLatin1Char('/')))
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
            if (std::optional<LibraryEntry> entry = ReadEntry(dir.filePath(name), readOnly))
                m_entries.push_back(std::move(*entry));
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
    // File names end at 255 bytes: room left for " (N).ggr", cut between
    // characters. The whole name stays in the file's Name: line.
    QByteArray bytes = out.toUtf8();
    if (bytes.size() > kMaxFileNameBytes) {
        qsizetype cut = kMaxFileNameBytes;
        while ((uchar(bytes[cut]) & 0xC0) == 0x80)
            --cut;
        out = QString::fromUtf8(bytes.left(cut));
    }
    return out;
}

Result GradLibrary::add(const NamedGradient& gradient)
{
    Result result = store(gradient);
    reload();
    return result;
}

Result GradLibrary::store(const NamedGradient& gradient)
{
    if (!QDir().mkpath(m_user))
        return Failure::Refusing(FailureKind::OpenFailed, m_user.toStdString(),
                                 Refusal{RefusalKind::NoFolder}, FailedTask::AddGradient);
    NamedGradient named = gradient;
    const QString name = FreeName(m_entries, QString::fromStdString(gradient.name), {});
    named.name = name.toStdString();
    const QString path = FreePath(m_user, name, {});
    Result result = Write(path, named, FailedTask::AddGradient);
    // Listed at once, so that the next of an import's several sees its name.
    if (result.ok())
        m_entries.push_back(
            ReadEntry(path, false).value_or(LibraryEntry{named, path, false, -1, 0, {}}));
    return result;
}

Result GradLibrary::rename(int index, const QString& name)
{
    if (index < 0 || size_t(index) >= m_entries.size())
        return Failure::Refusing(FailureKind::NotUnderstood, {}, RefusalKind::NoSuchGradient,
                                 FailedTask::RenameGradient);
    const LibraryEntry entry = m_entries[size_t(index)];
    if (entry.readOnly)
        return Failure{
            FailureKind::ReadOnly, entry.path.toStdString(), {}, FailedTask::RenameGradient};
    if (!Unchanged(entry))
        return changed(entry, FailedTask::RenameGradient);
    NamedGradient named = entry.gradient;
    const QString free = FreeName(m_entries, name, entry.path);
    named.name = free.toStdString();
    const QString path = FreePath(m_user, free, entry.path);
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
        return Failure::Refusing(FailureKind::NotUnderstood, {}, RefusalKind::NoSuchGradient,
                                 FailedTask::RemoveGradient);
    const LibraryEntry& entry = m_entries[size_t(index)];
    if (entry.readOnly)
        return Failure{
            FailureKind::ReadOnly, entry.path.toStdString(), {}, FailedTask::RemoveGradient};
    // A file already gone (removed by hand, or by another window) is what
    // was asked for; one rewritten since it was listed is not.
    if (QFileInfo(entry.path).exists() && !Unchanged(entry))
        return changed(entry, FailedTask::RemoveGradient);
    QFile file(entry.path);
    Result result;
    if (!file.remove() && QFileInfo(entry.path).exists())
        result = Failure{FailureKind::WriteFailed, entry.path.toStdString(),
                         file.errorString().toStdString(), FailedTask::RemoveGradient};
    reload();
    return result;
}

Result GradLibrary::changed(const LibraryEntry& entry, FailedTask task)
{
    const std::string path = entry.path.toStdString();
    reload();
    return Failure{FailureKind::Changed, path, {}, task};
}

Result GradLibrary::import(const QString& path)
{
    std::vector<NamedGradient> gradients;
    Result read = ReadFile(path, gradients);
    if (!read.ok())
        return read;
    return addAll(gradients).during(FailedTask::ImportGradient);
}

Result GradLibrary::ReadFile(const QString& path, std::vector<NamedGradient>& gradients)
{
    QByteArray text;
    if (Result opened = ReadCapped(path, kMaxGradientFile, text); !opened.ok())
        return std::move(opened).during(FailedTask::ImportGradient);
    GradImport read = ImportText(text, path);
    if (read.gradients.empty())
        return Failure::Refusing(FailureKind::NotUnderstood, path.toStdString(),
                                 std::move(read.refusal), FailedTask::ImportGradient);
    gradients = std::move(read.gradients);
    return {};
}

Result GradLibrary::addAll(const std::vector<NamedGradient>& gradients)
{
    // One reading of the folders for them all: a file of thousands would
    // otherwise read the folder thousands of times.
    Result result;
    for (const NamedGradient& gradient : gradients)
        if (result = store(gradient); !result.ok())
            break;
    reload();
    return result;
}

GradImport ImportFile(const QString& path, const QString& wanted)
{
    QByteArray text;
    if (const Result opened = ReadCapped(path, kMaxGradientFile, text); !opened.ok())
        return Unread(opened.failure().refusal);
    return ImportText(text, path, wanted);
}

QString FilterKey(const QString& name)
{
    QString key = name.normalized(QString::NormalizationForm_KC).toCaseFolded();
    for (QChar& c : key)
        if (c.unicode() >= 0x30A1 && c.unicode() <= 0x30F6)
            c = QChar(c.unicode() - 0x60);
    return key;
}

} // namespace velmix
