#pragma once

#include <string>
#include <vector>

#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QTest>

#include "common/recordfile.h"
#include "common/text.h"
#include "products/productrecord.h"
#include "support/fakes.h"

// Product archives written for the screen tests.
namespace velmora::test {

using ProductValues = std::vector<std::pair<product::Field, std::string>>;

// A record with the given fields (UTF-8 in the test, Windows-1252 in the record).
inline std::string productRecord(const ProductValues &values)
{
    std::vector<std::string> fields(product::FieldCount);
    for (const auto &[field, value] : values)
        fields[field] = utf8ToCp1252(value);
    return productLayout().encode(fields);
}

inline void writeProducts(TestServices &ts, const std::vector<ProductValues> &products)
{
    const RecordFile archive(ts.file(kProductArchive), kProductRecordSize);
    for (const ProductValues &p : products)
        QVERIFY(archive.append(productRecord(p)));
}

inline std::vector<std::string> storedRecords(const TestServices &ts)
{
    std::vector<std::string> records;
    if (!RecordFile(ts.file(kProductArchive), kProductRecordSize).readAll(records))
        records.clear();
    return records;
}

inline std::string storedField(const TestServices &ts, std::size_t n, product::Field field)
{
    const auto records = storedRecords(ts);
    return n >= 1 && n <= records.size() ? cp1252ToUtf8(productLayout().field(records[n - 1], field)) : "<none>";
}

inline QStringList listTexts(const QListWidget *list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}


inline void doubleClickRow(QListWidget *list, int row)
{
    list->setCurrentRow(row);
    const QRect r = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
}

} // namespace velmora::test
