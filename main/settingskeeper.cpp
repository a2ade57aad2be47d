// SPDX-License-Identifier: MIT
#include "main/settingskeeper.h"

#include "common/clscommon.h"
#include "common/dialogs.h"
#include "common/failuretext.h"
#include "main/frameplacer.h"
#include "widgets/widgets.h"

#include <QEvent>
#include <QWidget>

#include <iostream>

namespace velmix {

namespace {

// How long a changed setting waits before it is written: a killed program
// loses at most this much, and a drag or a burst of clicks is one write.
constexpr int kSettingsDelayMs = 1000;

} // namespace

SettingsKeeper::SettingsKeeper(Dialogs& dialogs, QWidget* owner, const GradDocument& doc,
                               ExportOptions& options, Module1& state)
    : m_dialogs(dialogs), m_owner(owner), m_doc(doc), m_options(options), m(state)
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(kSettingsDelayMs);
    connect(&m_timer, &QTimer::timeout, this, [this] { write(true); });
    // The blend is kept in the file, and so are the dither and the CSS rule.
    doc.listen([this](unsigned aspects) {
        if (aspects & GradDocument::kPoints)
            touched();
    });
    options.listen([this] { touched(); });
}

SettingsKeeper::~SettingsKeeper() = default;

Blend SettingsKeeper::load(const QString& programDir, const QString& userDir, bool besideProgram)
{
    m_ini.SetIniPath(besideProgram ? programDir : QString(), userDir);
    const std::optional<Settings> stored = m_ini.LoadIni();
    if (!stored)
        return Blend::Rgb;
    const Settings& s = *stored;
    m_stored = s;
    m.SampleTextFont = s.SampleTextFont;
    m.MemoryState = s.MemoryState;
    ExportChoice options = m_options.value();
    options.dither = s.Dither;
    options.page = {s.CssSelector.empty() ? "body" : s.CssSelector, s.CssOneWay};
    m_options.set(options);
    if (s.mainPlace)
        placeFromFile(m_owner, *s.mainPlace);
    // A file without the tile window's own place leaves its first place to
    // the window system, and the window to be made when first shown.
    if (OwnTilePlace(s.tilePlace))
        placeFromFile(m_tile(), *s.tilePlace);
    m.saveDialog.initialDir = QString::fromStdString(s.SaveInitPath);
    m.libraryImportDir = QString::fromStdString(s.ImportInitPath);
    m.libraryExportDir = QString::fromStdString(s.ExportInitPath);
    // A language chosen in the menu outranks the locale's.
    m_language = s.Language;
    if (const std::optional<UiLanguage> chosen = LanguageFromCode(s.Language))
        SetUiLanguage(*chosen);
    return BlendOfNumber(s.Blend);
}

void SettingsKeeper::setBaseline()
{
    // A place mended at start-up is a change.
    Settings baseline = collect();
    baseline.mainPlace = m_stored.mainPlace;
    baseline.tilePlace = m_stored.tilePlace;
    m_ini.SetBaseline(baseline);
}

void SettingsKeeper::remember()
{
    const ExportChoice& options = m_options.value();
    m.MemoryState = RememberState(m_doc.state(), options.saveHeight, options.thicknessOn);
    // The user asked to keep it: into the file now, so that a crash or a lost
    // display cannot take it.
    writeUnits(kUnitMemory);
}

void SettingsKeeper::chooseLanguage(UiLanguage language)
{
    m_language = std::string(LanguageCode(language));
    SetUiLanguage(language);
    touched();
}

void SettingsKeeper::keepPlace(QWidget* window, bool sized, const QWidget* guide)
{
    auto* placer = new FramePlacer(window, sized);
    if (guide != nullptr)
        placer->setGuide(guide);
    m_kept.push_back({window, placer, sized, std::nullopt});
}

void SettingsKeeper::watch(QWidget* window)
{
    window->installEventFilter(this);
}

void SettingsKeeper::placeFromFile(QWidget* window, const WindowPlace& place)
{
    Kept* k = kept(window);
    k->stored = place;
    if (PlaceFromFile(window, k->placer, place, k->sized))
        k->stored.reset();
}

SettingsKeeper::Kept* SettingsKeeper::kept(const QWidget* window)
{
    for (Kept& k : m_kept)
        if (k.window == window)
            return &k;
    return nullptr;
}

Settings SettingsKeeper::collect()
{
    Settings s;
    s.SampleTextFont = m.SampleTextFont;
    s.MemoryState = m.MemoryState;
    s.SaveInitPath = clsCommon::TrimDir(m.saveDialog.fileName.toStdString());
    s.Blend = BlendNumber(m_doc.points().blend);
    s.Dither = m_options.value().dither;
    const CssPage& page = m_options.value().page;
    s.CssSelector = page.selector == "body" ? std::string() : page.selector;
    s.CssOneWay = page.oneWay;
    s.Language = m_language;
    s.ImportInitPath = m.libraryImportDir.toStdString();
    s.ExportInitPath = m.libraryExportDir.toStdString();
    if (m_kept.size() > 0)
        s.mainPlace = PlaceToWrite(m_kept[0].window, m_kept[0].placer, m_kept[0].stored);
    if (m_kept.size() > 1)
        s.tilePlace = PlaceToWrite(m_kept[1].window, m_kept[1].placer, m_kept[1].stored);
    return s;
}

bool SettingsKeeper::eventFilter(QObject* watched, QEvent* event)
{
    // A moved or resized window is a place to keep.
    if ((event->type() == QEvent::Move || event->type() == QEvent::Resize) &&
        kept(qobject_cast<QWidget*>(watched)) != nullptr)
        touched();
    return QObject::eventFilter(watched, event);
}

void SettingsKeeper::touched()
{
    if (!m_finished && !m_timer.isActive())
        m_timer.start();
}

bool SettingsKeeper::write(bool quiet)
{
    const Settings s = collect();
    // Nothing new to keep: the file is left alone.
    if (quiet && m_ini.UnsavedUnits(s) == 0)
        return true;
    // Only what this run changed: another running copy may have written the
    // rest since start-up. A failure during the run waits for the next change.
    const Result written = m_ini.SaveIni(s);
    if (!quiet)
        report(written);
    return written.ok();
}

bool SettingsKeeper::writeUnits(SettingsUnits units)
{
    const Result written = m_ini.SaveUnits(collect(), units);
    report(written);
    return written.ok();
}

void SettingsKeeper::writeUnattended()
{
    if (m_finished)
        return;
    // Nobody to ask: at logout or without a display a message box would
    // only hold up the end.
    if (const Result written = m_ini.SaveIni(collect()); !written.ok())
        sayWriteFailed(written);
}

void SettingsKeeper::finish(bool unattended)
{
    if (m_finished)
        return;
    m_unattended = unattended;
    m_timer.stop();
    write(false);
    m_finished = true;
}

void SettingsKeeper::report(const Result& written)
{
    if (written.ok())
        return;
    // At logout, on a signal or without a display nobody answers a box.
    if (m_unattended)
        sayWriteFailed(written);
    else
        m_dialogs.message(m_owner, MsgIcon::Error, ResultText(written));
}

void SettingsKeeper::sayWriteFailed(const Result& failed) const
{
    std::cerr << "velmix: cannot write " << m_ini.IniPath().toStdString() << ": "
              << failed.failure().detail << "\n";
}

} // namespace velmix
