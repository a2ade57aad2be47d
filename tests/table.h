// SPDX-License-Identifier: MIT
#pragma once
// The rows of a data-driven test kept in a file of tests/data, where long
// texts read as they are: a line a row, "name | field | ...", "#" lines are
// comments, and "\n", "\r", "\t" in a field stand for those characters.
// The source tree is VELMIX_SOURCE, which ctest sets.

#include <QFile>
#include <QTest>

#include <initializer_list>

// Each field a QString column, named as in `columns` (Qt Test keeps the
// names' pointers: literals).
inline void TableRows(const QString& file, std::initializer_list<const char*> columns)
{
    for (const char* c : columns)
        QTest::addColumn<QString>(c);
    const QString dir = qEnvironmentVariable("VELMIX_SOURCE");
    QFile f(dir + "/tests/data/" + file);
    QVERIFY2(f.open(QIODevice::ReadOnly), qPrintable(f.fileName()));
    for (const QByteArray& bytes : f.readAll().split('\n')) {
        const QString line = QString::fromUtf8(bytes);
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        QStringList fields = line.split(" | ");
        QVERIFY2(fields.size() == qsizetype(columns.size()) + 1, qPrintable(line));
        QTestData& row = QTest::newRow(qPrintable(fields.takeFirst()));
        for (QString& s : fields)
            row << s.replace("\\n", "\n").replace("\\r", "\r").replace("\\t", "\t");
    }
}
