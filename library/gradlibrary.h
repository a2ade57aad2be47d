// SPDX-License-Identifier: MIT
#pragma once
// The gradient library: a folder of .ggr files, one a gradient, that GIMP
// and Krita users can drop files into and take ours out of, plus the
// read-only gradients shipped with the program.

#include "common/result.h"
#include "core/ggr.h"

#include <QIODevice>
#include <QString>
#include <QStringList>
#include <vector>

namespace velmix {

struct LibraryEntry
{
    NamedGradient gradient;
    QString path;          // the .ggr file
    bool readOnly = false; // shipped with the program: no rename, no delete
    // The file as it was listed: another program (or another copy of this
    // one) may change it meanwhile, and a rename or delete must not touch
    // what it did not list.
    qint64 size = -1;
    qint64 modified = 0; // milliseconds since the epoch
    QByteArray digest;   // SHA-256 of the text
};

class GradLibrary
{
public:
    // The user's folder ($XDG_DATA_HOME/velmix/gradients, by default
    // ~/.local/share/velmix/gradients) and the shipped ones, in order:
    // velmix/gradients under each of $XDG_DATA_DIRS, and gradients/ beside
    // the program (a copy run from its build or an unpacked folder).
    GradLibrary(QString userFolder, QStringList shippedFolders);
    static GradLibrary Standard();
    // The user's folder Standard() takes, without reading any folder.
    static QString StandardUserFolder();

    // Reads the folders again; files that cannot be read are left out.
    void reload();
    const std::vector<LibraryEntry>& entries() const { return m_entries; }

    // Each writes one file (atomically) and reloads. A name already taken
    // gets " (2)", " (3)"...; the file's name comes from the gradient's.
    // Rename and remove first check that the file is still what was listed;
    // if not, they leave it, read the folders again and fail as Changed.
    Result add(const NamedGradient& gradient);
    Result rename(int index, const QString& name);
    Result remove(int index);
    // Every gradient the file brings in, each kept whole as its .ggr.
    Result import(const QString& path);
    // What import() would add from the file.
    static Result ReadFile(const QString& path, std::vector<NamedGradient>& gradients);
    // Several at once, with one reload; stops at the first that fails.
    Result addAll(const std::vector<NamedGradient>& gradients);

    // The file name for a gradient's name: '/', control characters and a
    // leading dot become '_', and a name too long for a file name is cut to
    // kMaxFileNameBytes of UTF-8.
    static QString FileNameFor(const QString& name);
    static constexpr qsizetype kMaxFileNameBytes = 200;

private:
    // Writes one file and lists it, without reading the folders again.
    Result store(const NamedGradient& gradient);
    // The entry's file changed since it was listed: the folders read again.
    Result changed(const LibraryEntry& entry, FailedTask task);

    QString m_user;
    QStringList m_shipped;
    std::vector<LibraryEntry> m_entries;
};

// A gradient file is a few kilobytes: larger ones, and files that are not
// regular files (a device, a FIFO), are refused rather than read.
inline constexpr qint64 kMaxGradientFile = qint64(16) << 20;

// A .ggr, .svg or .css file (by its extension, or its content when it has
// none), read into gradients; `wanted` names one of an SVG's (ReadSvg).
GradImport ImportFile(const QString& path, const QString& wanted = {});

// A name as the library window's filter compares it: compatibility
// normalised (full- and half-width alike), case folded, katakana as
// hiragana, so that "ｸﾞﾚｰ" finds "グレー" and "ＳＫＹ" finds "sky".
QString FilterKey(const QString& name);
// The same for text already read (standard input, a paste); `path` gives
// the extension and the name. The one reader of every way in: our own CSS
// and SVG exports come back as GradientFromPoints of the points they carry.
GradImport ImportText(const QByteArray& text, const QString& path, const QString& wanted = {});
// The linearGradient elements of an SVG document; with `wanted`, only the
// one of that id or Inkscape label (whether or not it would be listed).
GradImport ReadSvg(const QByteArray& svg, const std::string& name, const QString& wanted = {});

} // namespace velmix
