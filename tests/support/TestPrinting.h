#pragma once

#include <QString>
#include <QtTest>

#include <string>
#include <vector>

// Lets QCOMPARE print both sides of path texts and lists on a mismatch. Bytes that are
// not UTF-8 show as replacement characters, which is enough to see where texts differ.
namespace QTest {

template <>
inline char* toString(const std::string& text)
{
    return qstrdup((u'"' + QString::fromUtf8(text) + u'"').toUtf8().constData());
}

template <>
inline char* toString(const std::vector<std::string>& list)
{
    QStringList quoted;
    for (const std::string& text : list)
        quoted << u'"' + QString::fromUtf8(text) + u'"';
    return qstrdup((u'[' + quoted.join(u", ") + u']').toUtf8().constData());
}

} // namespace QTest

using Strings = std::vector<std::string>;
Q_DECLARE_METATYPE(std::string)
Q_DECLARE_METATYPE(Strings)
