#pragma once

#include <QString>

/// The program's identity as the about box shows it. The version comes from the one
/// place it is set, the build's project version.
struct ProgramInfo {
    QString title;
    QString fileDescription;
    int versionMajor = 0;
    int versionMinor = 0;
    QString legalNotice;

    static ProgramInfo ofThisProgram();
};
