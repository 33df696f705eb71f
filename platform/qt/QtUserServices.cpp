#include "platform/qt/QtUserServices.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QString>
#include <QThread>

namespace platform {

namespace {

const QString kApplicationTitle = QStringLiteral("Quorvane");

QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Widgets live on the window's thread. Work that runs on a worker while the window
// waits for it (a run's search) asks there and waits for the answer; the window's
// thread lets events through meanwhile, so the call is taken up at once.
template <typename Result>
Result onWindowThread(const std::function<Result()>& ask)
{
    if (QThread::currentThread() == qApp->thread())
        return ask();
    Result result{};
    QMetaObject::invokeMethod(qApp, [&] { result = ask(); }, Qt::BlockingQueuedConnection);
    return result;
}

} // namespace

void QtUserServices::showMessage(const std::string& text)
{
    onWindowThread<bool>([&] {
        QMessageBox box(QMessageBox::NoIcon, kApplicationTitle, fromUtf8(text), QMessageBox::Ok,
                        m_owner.data());
        if (onMessage)
            onMessage(box);
        box.exec();
        return true;
    });
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
    return onWindowThread<bool>([&] {
        QMessageBox box(QMessageBox::NoIcon, kApplicationTitle, fromUtf8(text),
                        QMessageBox::Yes | QMessageBox::No, m_owner.data());
        box.setDefaultButton(defaultButton);
        if (onMessage)
            onMessage(box);
        return box.exec() == QMessageBox::Yes;
    });
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
