// SPDX-License-Identifier: MIT
#include "main/openedwindows.h"

#include "common/dialogs.h"
#include "export/frmoption.h"
#include "library/frmlibrary.h"
#include "main/frameplacer.h"
#include "main/frmld.h"
#include "main/settingskeeper.h"
#include "main/undomenu.h"
#include "tile/frmtile.h"

#include <QWidget>

namespace velmix {

OpenedWindows::OpenedWindows(Dialogs& dialogs, GradDocument& doc, ExportOptions& options,
                             Module1& state, SettingsKeeper& settings, UndoMenu& undo,
                             QWidget& main)
    : m_dialogs(dialogs), m_doc(doc), m_options(options), m(state), m_settings(settings),
      m_undo(undo), m_main(main)
{
    // A file with the tile window's own place puts it there at start-up.
    m_settings.setTileMaker([this] { return static_cast<QWidget*>(&tile()); });
}

OpenedWindows::~OpenedWindows() = default;

frmTile& OpenedWindows::tile()
{
    if (!m_tile) {
        m_tile = std::make_unique<frmTile>(m_dialogs, m.SampleTextFont, m_doc, m_options);
        m_tile->setWindowIcon(m_main.windowIcon());
        m_settings.keepPlace(m_tile.get(), true, &m_main);
        m_settings.watch(m_tile.get());
        // The main window's menu keys come first here too.
        m_tile->installEventFilter(&m_main);
        m_undo.addShortcutsTo(m_tile.get());
        // The window fills in a missing face; the settings file keeps what
        // it shows.
        m.SampleTextFont = m_tile->sampleText();
        QObject::connect(m_tile.get(), &frmTile::sampleTextChanged, m_tile.get(), [this] {
            m.SampleTextFont = m_tile->sampleText();
            m_settings.touched();
        });
    }
    return *m_tile;
}

void OpenedWindows::openTile()
{
    tile().Open();
}

frmOption& OpenedWindows::option()
{
    // Closing the dialog from its close box destroys it; the next use gets
    // a new one in its design state.
    if (!m_option || m_option->destroyedByUser())
        m_option = std::make_unique<frmOption>(m_dialogs, &m_main, m_options);
    m_option->setTarget({m_options.value().saveMode, m_doc.orientation(), m_doc.size()});
    return *m_option;
}

frmLD& OpenedWindows::ld()
{
    if (!m_ld) {
        m_ld = std::make_unique<frmLD>(&m_main);
        QObject::connect(m_ld.get(), &frmLD::pointsChanged, m_ld.get(),
                         [this](const GradPoints& points) { m_doc.draftPoints(points); });
    }
    m_ld->setPoints(m_doc.points());
    return *m_ld;
}

frmLibrary& OpenedWindows::library()
{
    if (!m_library) {
        m_library = std::make_unique<frmLibrary>(m_dialogs, m_doc, GradLibrary::Standard());
        m_library->setWindowIcon(m_main.windowIcon());
        m_undo.addShortcutsTo(m_library.get());
        m_library->setFolders({m.libraryImportDir, m.libraryExportDir},
                              [this](const frmLibrary::Folders& used) {
                                  m.libraryImportDir = used.import;
                                  m.libraryExportDir = used.exported;
                                  m_settings.touched();
                              });
    }
    return *m_library;
}

void OpenedWindows::openLibrary()
{
    const bool first = !m_library;
    frmLibrary& l = library();
    if (first)
        PlaceBeside(&l, &m_main);
    l.show();
    l.setWindowState(l.windowState() & ~Qt::WindowMinimized);
    l.raise();
    l.activateWindow();
}

void OpenedWindows::importFiles(const QStringList& files)
{
    const std::vector<int> rows = library().importFiles(files, &m_main);
    if (!rows.empty())
        library().apply(rows.front());
}

void OpenedWindows::hide()
{
    if (m_tile)
        m_tile->hide();
    if (m_library)
        m_library->hide();
}

} // namespace velmix
