#pragma once

#include <QString>
#include <QtTest>

#include <string>
#include <vector>

// Lets QCOMPARE print both sides of path texts and lists on a mismatch. Bytes that are
// not UTF-8 show as replacement characters, which is enough to see where lists differ.
namespace QTest {

template <>
inline char* toString(const std::string& text)
{
    return qstrdup(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))
                       .toUtf8()
                       .prepend('"')
                       .append('"')
                       .constData());
}

template <>
inline char* toString(const std::vector<std::string>& list)
{
    QByteArray joined = "[";
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (i > 0)
            joined += ", ";
        joined += '"';
        joined += QByteArray(list[i].data(), static_cast<qsizetype>(list[i].size()));
        joined += '"';
    }
    joined += ']';
    return qstrdup(joined.constData());
}

} // namespace QTest

using Strings = std::vector<std::string>;
Q_DECLARE_METATYPE(std::string)
Q_DECLARE_METATYPE(Strings)
