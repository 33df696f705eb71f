#include "about/ProgramInfo.h"

ProgramInfo ProgramInfo::ofThisProgram()
{
    return ProgramInfo{
        QStringLiteral("Quorvane"),
        QStringLiteral("Quorvane"),
        QUORVANE_VERSION_MAJOR,
        QUORVANE_VERSION_MINOR,
        QStringLiteral("© 2026 Quorvane developers"),
    };
}
