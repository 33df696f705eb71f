#pragma once

#include "support/TempTree.h"

#include <QProcess>
#include <QStringList>

// The built program run as from a terminal, as a child process with no display, its
// standard input not a terminal, in `workingFolder` when one is given. The including test
// defines QUORVANE_EXECUTABLE.
struct ProgramResult {
    int exit = -1;
    QByteArray out;
    QString err;
};

inline ProgramResult runProgram(const TempTree& tree, const QStringList& arguments,
                                const QStringList& extraEnvironment = {}, const std::string& workingFolder = {})
{
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    environment.insert(QStringLiteral("XDG_STATE_HOME"), QString::fromStdString(tree.path("state")));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), QString::fromStdString(tree.path("data")));
    for (const QString& variable : extraEnvironment)
        environment.insert(variable.section(u'=', 0, 0), variable.section(u'=', 1));
    program.setProcessEnvironment(environment);
    program.setStandardInputFile(QProcess::nullDevice());
    if (!workingFolder.empty())
        program.setWorkingDirectory(QString::fromStdString(workingFolder));
    program.start(QStringLiteral(QUORVANE_EXECUTABLE), arguments);
    program.waitForFinished(120'000);
    return {program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1, program.readAllStandardOutput(),
            QString::fromUtf8(program.readAllStandardError())};
}
