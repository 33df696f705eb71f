#include "settings/SettingsFile.h"

#include "settings/SettingsCodec.h"
#include "settings/SettingsInputs.h"
#include "settings/SettingsStorage.h"
#include "settings/SettingsWriter.h"

#include <QStringList>

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

namespace {

constexpr int kOperationCount = 4;

// A number line (the operation, the skipping of identical files) converted to a 16-bit number: any decimal number, with blanks
// around it, "1.0" as well as the written forms "0" and " 1 ". A fraction is rounded
// to the nearest integer, a half to the even one, as a conversion to an integer does.
std::optional<int> operationNumber(const QString& line)
{
    bool ok = false;
    const double value = line.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    const double rounded = std::nearbyint(value);
    if (rounded < std::numeric_limits<std::int16_t>::min() || rounded > std::numeric_limits<std::int16_t>::max())
        return std::nullopt;
    return static_cast<int>(rounded);
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
    // Not part of the four lines: whatever it holds, they were read in full.
    if (lines->size() >= 5) {
        const std::optional<int> skip = operationNumber(lines->at(4));
        inputs.setSkipIdentical(skip && *skip != 0);
    }
    return true;
}

} // namespace

void LoadSettings(const std::string& path, SettingsInputs& inputs, const QString& TempFolderPath)
{
    // A file beyond the size limit is no settings file the program wrote, but the lines
    // at its start are still read, up to the first that fails.
    const std::optional<settings::FileStart> start = settings::readFileStart(path);
    const std::optional<QStringList> lines =
        start ? settings::decodeLines(start->bytes, !start->whole) : std::optional<QStringList>();
    if (!applyLines(lines, inputs))
        inputs.setFolderText(SettingsInputs::Destination, TempFolderPath);
}

void WriteSettings(SettingsWriter& file, const SettingsInputs& inputs)
{
    WriteSettings(file, inputs, inputs.skipIdentical());
}

void WriteSettings(SettingsWriter& file, const SettingsInputs& inputs, bool skipIdentical)
{
    file.writeLine(inputs.folderText(SettingsInputs::Source));
    file.writeLine(inputs.folderText(SettingsInputs::Destination));
    const int operation = inputs.selectedOperation();
    if (operation >= 0)
        file.writeLine(QStringLiteral(" %1 ").arg(operation));
    file.writeLine(inputs.fileTypeText());
    if (skipIdentical)
        file.writeLine(QStringLiteral(" 1 "));
}

void WriteDefaultSettings(SettingsWriter& file, const QString& TempFolderPath)
{
    file.writeLine(QString());
    file.writeLine(TempFolderPath);
    file.writeLine(QStringLiteral("0"));
    file.writeLine(QStringLiteral("jpg"));
}
