// SPDX-License-Identifier: MIT
// The document on its own: what it refuses, what it records as a step and
// what it tells its listeners.

#include "core/document.h"

#include <QTest>

using namespace velmix;

class tst_Document : public QObject
{
    Q_OBJECT
private slots:
    void lastPointStaysOn();
    void announcedOnce_data();
    void announcedOnce();
    void undoRestoresStates();
    void oneLinePerChange();
};

void tst_Document::lastPointStaysOn()
{
    GradDocument doc;
    for (int i : {0, 1, 2})
        QVERIFY(doc.setEnabled(i, false));
    QVERIFY(!doc.setEnabled(3, false));
    QVERIFY(doc.points().enabled[3]);
    QCOMPARE(doc.history().undoCount(), std::size_t(3));
    // A state without a point on (a hand-edited file's) keeps the first.
    GradPoints none = doc.points();
    none.enabled.fill(false);
    doc.setPoints(none, EditStep::Equal);
    QCOMPARE(doc.points().enabledCount(), 1);
    QVERIFY(doc.points().enabled[0]);
}

void tst_Document::announcedOnce_data()
{
    QTest::addColumn<int>("edit");
    QTest::addColumn<unsigned>("aspects");
    QTest::addColumn<bool>("step");
    const unsigned points = GradDocument::kPoints;
    const unsigned history = GradDocument::kHistory;
    QTest::newRow("colour") << 0 << (points | history) << true;
    QTest::newRow("same colour") << 1 << 0U << false;
    QTest::newRow("orientation") << 2 << (GradDocument::kOrientation | history) << true;
    QTest::newRow("typed size") << 3 << unsigned(GradDocument::kSize) << false;
    QTest::newRow("typed size ended") << 4 << (GradDocument::kSize | history) << true;
    QTest::newRow("position beyond the end") << 5 << (points | history) << true;
}

void tst_Document::announcedOnce()
{
    QFETCH(int, edit);
    QFETCH(unsigned, aspects);
    QFETCH(bool, step);
    GradDocument doc;
    std::vector<unsigned> heard;
    doc.listen([&](unsigned a) { heard.push_back(a); });
    const std::function<void()> edits[] = {
        [&] { doc.setColour(4, 0x123456); },
        [&] { doc.setColour(0, doc.points().color[0]); },
        [&] { doc.setOrientation(1); },
        [&] { doc.draftSize(2); },
        [&] {
            doc.draftSize(2);
            heard.clear();
            doc.commit(EditStep::Size);
        },
        [&] { doc.setPosition(1, 5000); },
    };
    const unsigned long revision = doc.revision();
    edits[edit]();
    QCOMPARE(heard, aspects ? std::vector<unsigned>{aspects} : std::vector<unsigned>{});
    QCOMPARE(doc.history().canUndo(), step);
    QCOMPARE(doc.revision() != revision, aspects != 0);
    QVERIFY(doc.points().position[1] <= kMaxPosition && doc.size() >= 2);
}

void tst_Document::undoRestoresStates()
{
    std::chrono::steady_clock::time_point now{};
    GradDocument doc(EditHistory::kDefaultLimit, [&] { return now; });
    const EditState start = doc.state();
    doc.setPosition(1, 400, 1);
    doc.setPosition(1, 410, 1); // one step with the move before
    doc.draftSize(7);
    QVERIFY(doc.undo()); // the typed size first
    QCOMPARE(doc.size(), 100);
    QVERIFY(doc.undo());
    QCOMPARE(doc.state(), start);
    QVERIFY(!doc.undo());
    QVERIFY(doc.redo());
    QCOMPARE(doc.points().position[1], 410);
    QVERIFY(doc.redo() && !doc.redo()); // the typed size, then nothing
    QCOMPARE(doc.size(), 7);
    // Start-up: a state of its own, no step to undo, a size of at least 4.
    doc.reset({StartupPoints(), 1, 3});
    QVERIFY(!doc.history().canUndo() && !doc.history().canRedo());
    QCOMPARE(doc.size(), kMinImageSize);
    QCOMPARE(doc.orientation(), 1);
}

void tst_Document::oneLinePerChange()
{
    GradDocument doc;
    const std::vector<Colour>* first = &doc.line(300);
    QCOMPARE(*first, DrawGrad(doc.points(), 300));
    QCOMPARE(&doc.line(300), first); // shared, not drawn again
    doc.setBlend(Blend::OkLab);
    QCOMPARE(doc.line(300), DrawGrad(doc.points(), 300));
    QVERIFY(doc.line(300) != DrawGrad(StartupPoints(), 300));
}

QTEST_APPLESS_MAIN(tst_Document)
#include "tst_document.moc"
