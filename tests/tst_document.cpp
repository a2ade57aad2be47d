// SPDX-License-Identifier: MIT
// The document on its own: what it refuses, what it records as a step and
// what it tells its listeners.

#include "core/document.h"
#include "testutil.h"

using namespace velmix;

namespace {

// The edit, what it announces, whether it is an undo step.
using Heard = std::tuple<int, unsigned, bool>;

} // namespace

class tst_Document : public QObject
{
    Q_OBJECT
private slots:

    // A state without a point on (a hand-edited file's) keeps the first.
    void aPointStaysOn()
    {
        GradDocument doc;
        GradPoints none = doc.points();
        none.enabled.fill(false);
        doc.setPoints(none, EditStep::Equal);
        QCOMPARE(doc.points().enabledCount(), 1);
        QVERIFY(doc.points().enabled[0]);
    }

    void announcedOnce_data()
    {
        const unsigned p = GradDocument::kPoints, h = GradDocument::kHistory;
        const unsigned size = GradDocument::kSize;
        Rows<Heard>({{"same colour", {0, 0u, false}},
                     {"typed size", {1, size, false}},
                     {"typed size ended", {2, size | h, true}},
                     {"position beyond the end", {3, p | h, true}}});
    }

    void announcedOnce()
    {
        QFETCH(Heard, row);
        const auto [edit, aspects, step] = row;
        GradDocument doc;
        std::vector<unsigned> heard;
        doc.listen([&](unsigned a) { heard.push_back(a); });
        const std::function<void()> edits[] = {
            [&] { doc.setColour(0, doc.points().color[0]); },
            [&] { doc.draftSize(2); },
            [&] {
                doc.draftSize(2);
                heard.clear();
                doc.commit(EditStep::Size);
            },
            [&] { doc.setPosition(1, 5000); },
        };
        const auto revision = doc.revision();
        edits[edit]();
        QCOMPARE(heard, aspects ? std::vector{aspects} : std::vector<unsigned>{});
        QCOMPARE(doc.history().canUndo(), step);
        QCOMPARE(doc.revision() != revision, aspects != 0);
        QVERIFY(doc.points().position[1] <= kMaxPosition && doc.size() >= 2);
    }

    // A size still being typed is the first step undone. Start-up: a state
    // of its own, no step to undo or redo, a size of at least 4.
    void startUp()
    {
        GradDocument doc;
        doc.draftSize(7);
        QVERIFY(doc.undo());
        QCOMPARE(doc.size(), 100);
        doc.reset({StartupPoints(), 1, 3});
        QVERIFY(!doc.history().canUndo() && !doc.history().canRedo());
        QCOMPARE(doc.size(), kMinImageSize);
        QCOMPARE(doc.orientation(), 1);
    }
};

QTEST_APPLESS_MAIN(tst_Document)
#include "tst_document.moc"
