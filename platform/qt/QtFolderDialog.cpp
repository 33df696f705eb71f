#include "platform/qt/QtFolderDialog.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QStandardPaths>
#include <QWidget>

namespace platform {

namespace {

QString standardFolder(QStandardPaths::StandardLocation location)
{
    const QString folder = QStandardPaths::writableLocation(location);
    return !folder.isEmpty() && QDir(folder).exists() ? folder : QDir::homePath();
}

QString startFolder(const FolderDialog::Request& request)
{
    using Root = FolderDialog::Root;
    switch (request.root) {
    case Root::Folder:
        return QFile::decodeName(QByteArray::fromStdString(request.folder));
    case Root::Documents:
        return standardFolder(QStandardPaths::DocumentsLocation);
    case Root::Programs:
    case Root::StartMenu:
        return standardFolder(QStandardPaths::ApplicationsLocation);
    case Root::Computer:
        return QDir::rootPath();
    case Root::Desktop:
    case Root::Favorites:
    case Root::Network:
        break;
    }
    return QDir::homePath();
}

} // namespace

std::string QtFolderDialog::chooseFolder(const Request& request)
{
    QWidget* owner = nullptr;
    if (request.owner != 0)
        if (QWidget* widget = QWidget::find(static_cast<WId>(request.owner)))
            owner = widget->window();

    // Qt's own dialog rather than the desktop's: it reads in Japanese like the rest of
    // the program, whatever the desktop's language.
    QFileDialog dialog(owner, QString::fromUtf8(request.title), startFolder(request));
    dialog.setObjectName(QStringLiteral("folderDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, !request.showFiles);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty())
        return {};
    return QFile::encodeName(QDir::cleanPath(chosen.first())).toStdString();
}

} // namespace platform
