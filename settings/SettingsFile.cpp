#include "settings/SettingsFile.h"

#include "settings/SettingsCodec.h"
#include "settings/SettingsInputs.h"
#include "settings/SettingsStorage.h"
#include "settings/SettingsWriter.h"

#include <QStringList>

#include <optional>

namespace {

constexpr int kOperationCount = 4;

// The operation line as a 16-bit number, once the spaces around it are removed; both
// written forms, "0" and " 1 ", pass.
std::optional<int> operationNumber(const QString& line)
{
    qsizetype begin = 0;
    qsizetype end = line.size();
    while (begin < end && line[begin] == QLatin1Char(' '))
        ++begin;
    while (end > begin && line[end - 1] == QLatin1Char(' '))
        --end;
    bool ok = false;
    const short number = QStringView(line).mid(begin, end - begin).toShort(&ok);
    return ok ? std::optional<int>(number) : std::nullopt;
}

// Applies the lines in file order; false at the first line that is missing or wrong.
bool applyLines(const std::optional<QStringList>& lines, SettingsInputs& inputs)
{
    if (!lines || lines->size() < 1)
        return false;
    inputs.setFolderText(SettingsInputs::Source, lines->at(0));
    if (lines->size() < 2)
        return false;
    inputs.setFolderText(SettingsInputs::Destination, lines->at(1));
    if (lines->size() < 3)
        return false;
    const std::optional<int> operation = operationNumber(lines->at(2));
    if (!operation || *operation < 0 || *operation >= kOperationCount)
        return false;
    inputs.selectOperation(*operation);
    if (lines->size() < 4)
        return false;
    inputs.setFileTypeText(lines->at(3));
    return true;
}

} // namespace

void LoadSettings(const std::string& path, SettingsInputs& inputs, const QString& TempFolderPath)
{
    const std::optional<std::string> bytes = settings::readWholeFile(path);
    const std::optional<QStringList> lines =
        bytes ? settings::decodeLines(*bytes) : std::optional<QStringList>();
    if (!applyLines(lines, inputs))
        inputs.setFolderText(SettingsInputs::Destination, TempFolderPath);
}

void WriteSettings(SettingsWriter& file, const SettingsInputs& inputs)
{
    file.writeLine(inputs.folderText(SettingsInputs::Source));
    file.writeLine(inputs.folderText(SettingsInputs::Destination));
    const int operation = inputs.selectedOperation();
    if (operation >= 0)
        file.writeLine(QStringLiteral(" %1 ").arg(operation));
    file.writeLine(inputs.fileTypeText());
}

void WriteDefaultSettings(SettingsWriter& file, const QString& TempFolderPath)
{
    file.writeLine(QString());
    file.writeLine(TempFolderPath);
    file.writeLine(QStringLiteral("0"));
    file.writeLine(QStringLiteral("jpg"));
}
