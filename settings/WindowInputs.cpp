#include "settings/WindowInputs.h"

#include <QLineEdit>
#include <QRadioButton>
#include <QWidget>

namespace {

template <typename Control>
Control* control(QWidget& window, const QString& name)
{
    auto* found = window.findChild<Control*>(name);
    Q_ASSERT_X(found, "WindowInputs", "the main window lacks a control the settings use");
    return found;
}

} // namespace

WindowInputs::WindowInputs(QWidget& window) : m_window(&window)
{
    for (std::size_t i = 0; i < m_folders.size(); ++i)
        m_folders[i] = control<QLineEdit>(window, QStringLiteral("txtFolder_%1").arg(i));
    for (std::size_t i = 0; i < m_operations.size(); ++i)
        m_operations[i] = control<QRadioButton>(window, QStringLiteral("optOperat_%1").arg(i));
    m_fileType = control<QLineEdit>(window, QStringLiteral("txtFileType"));
}

QString WindowInputs::folderText(Folder folder) const
{
    return m_folders[folder]->text();
}

void WindowInputs::setFolderText(Folder folder, const QString& text)
{
    m_folders[folder]->setText(text);
}

int WindowInputs::selectedOperation() const
{
    for (std::size_t i = 0; i < m_operations.size(); ++i)
        if (m_operations[i]->isChecked())
            return static_cast<int>(i);
    return -1;
}

void WindowInputs::selectOperation(int index)
{
    m_operations[static_cast<std::size_t>(index)]->setChecked(true);
}

QString WindowInputs::fileTypeText() const
{
    return m_fileType->text();
}

void WindowInputs::setFileTypeText(const QString& text)
{
    m_fileType->setText(text);
}

bool WindowInputs::skipIdentical() const
{
    return m_window && m_window->property("skipIdentical").toBool();
}

void WindowInputs::setSkipIdentical(bool skip)
{
    if (m_window)
        m_window->setProperty("skipIdentical", skip);
}
