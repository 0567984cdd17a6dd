#pragma once

#include <QTest>

#include <cstddef>

namespace gt::test {

// A table of named rows (each with a `name`) as Qt Test rows, by index: the
// test fetches the column "row" and reads its row from the table.
template <class Row, std::size_t N> void rowsOf(const Row (&table)[N])
{
    QTest::addColumn<int>("row");
    for (std::size_t i = 0; i < N; ++i)
        QTest::newRow(table[i].name) << int(i);
}

} // namespace gt::test
