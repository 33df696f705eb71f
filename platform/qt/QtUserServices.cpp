#include "platform/qt/QtUserServices.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QString>

namespace platform {

namespace {

const QString kApplicationTitle = QStringLiteral("Quorvane");

QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

void QtUserServices::showMessage(const std::string& text)
{
    QMessageBox box(QMessageBox::NoIcon, kApplicationTitle, fromUtf8(text), QMessageBox::Ok,
                    m_owner.data());
    box.exec();
}

bool QtUserServices::askYesNo(const std::string& text)
{
    return ask(text, QMessageBox::Yes);
}

bool QtUserServices::askYesNoDefaultNo(const std::string& text)
{
    return ask(text, QMessageBox::No);
}

bool QtUserServices::ask(const std::string& text, QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(QMessageBox::NoIcon, kApplicationTitle, fromUtf8(text),
                    QMessageBox::Yes | QMessageBox::No, m_owner.data());
    box.setDefaultButton(defaultButton);
    return box.exec() == QMessageBox::Yes;
}

void QtUserServices::yield()
{
    QCoreApplication::processEvents();
}

bool QtUserServices::equalIgnoringCase(std::string_view left, std::string_view right)
{
    return fromUtf8(left).compare(fromUtf8(right), Qt::CaseInsensitive) == 0;
}

} // namespace platform
