// SPDX-License-Identifier: MIT
#pragma once
// The rows of a data-driven test kept in a file of tests/data, where long
// texts read as they are: a line a row, "name | field | ...", "#" lines are
// comments, and "\n", "\r", "\t" in a field stand for those characters.
// The source tree is VELMIX_SOURCE, which ctest sets.

#include "testutil.h"

#include <QFile>
#include <QTest>

#include <initializer_list>

// A whole file of tests/data, such as an expected text.
inline QByteArray DataFile(const QString& file)
{
    return ReadAll(qEnvironmentVariable("VELMIX_SOURCE") + "/tests/data/" + file);
}

// A row's name: its own first field, or (ByInput) the first column's input.
enum class Named
{
    First,
    ByInput
};

// Each field a QString column, named as in `columns` (Qt Test keeps the
// names' pointers: literals).
inline void TableRows(const QString& file, std::initializer_list<const char*> columns,
                      Named named = Named::First)
{
    const bool byInput = named == Named::ByInput;
    for (const char* c : columns)
        QTest::addColumn<QString>(c);
    const QByteArray all = DataFile(file);
    QVERIFY2(!all.isEmpty(), qPrintable(file));
    for (const auto& bytes : all.split('\n')) {
        auto line = QString::fromUtf8(bytes);
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        // an empty last field, with no blank to strip
        if (line.endsWith(" |"))
            line += ' ';
        auto fields = line.split(" | ");
        QVERIFY2(fields.size() == qsizetype(columns.size()) + !byInput,
                 qPrintable(line));
        for (auto& s : fields)
            s.replace("\\n", "\n").replace("\\r", "\r").replace("\\t", "\t");
        const auto name = byInput ? Tag(fields.first()) : fields.takeFirst().toUtf8();
        auto& row = QTest::newRow(name.constData());
        for (const auto& s : fields)

            row << s;
    }
}
