#pragma once

#include <QString>

#include <string>

class SettingsInputs;
class SettingsWriter;

/// Reads the settings file at `path` into the four inputs, line by line: source
/// folder, destination folder, operation number, extension list. A missing or
/// unreadable file, one that ends early, or an operation that is not a number from
/// 0 to 3 ends the reading at that line: what was read stays, and the destination
/// becomes `TempFolderPath`. Nothing is shown to the user.
void LoadSettings(const std::string& path, SettingsInputs& inputs, const QString& TempFolderPath);

/// Writes the inputs as they stand; the operation line is " n " (a space on both sides).
void WriteSettings(SettingsWriter& file, const SettingsInputs& inputs);

/// Writes the initial values: no source, `TempFolderPath`, "0" (copy) and "jpg".
void WriteDefaultSettings(SettingsWriter& file, const QString& TempFolderPath);
