#pragma once

#include <QString>

#include <string>

class SettingsInputs;
class SettingsWriter;

/// Reads the settings file at `path` into the four inputs, line by line: source
/// folder, destination folder, operation number, extension list. A missing or
/// unreadable file, one that ends early, or an operation that is not a number from
/// 0 to 3 ends the reading at that line: what was read stays, and the destination
/// becomes `TempFolderPath`. Nothing is shown to the user. A fifth line, after the four
/// that older versions read, turns the skipping of identical files on when it holds a
/// number other than 0; without it, or with anything else, the setting is left off.
void LoadSettings(const std::string& path, SettingsInputs& inputs, const QString& TempFolderPath);

/// Writes the inputs as they stand; the operation line is " n " (a space on both sides).
/// The fifth line, " 1 ", is written only when identical files are skipped, so a file
/// saved with the setting off is the four lines of before.
void WriteSettings(SettingsWriter& file, const SettingsInputs& inputs);
/// As above, with `skipIdentical` in place of the inputs' setting.
void WriteSettings(SettingsWriter& file, const SettingsInputs& inputs, bool skipIdentical);

/// Writes the initial values: no source, `TempFolderPath`, "0" (copy) and "jpg".
void WriteDefaultSettings(SettingsWriter& file, const QString& TempFolderPath);
