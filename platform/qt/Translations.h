#pragma once

#include <QStringList>

class QCoreApplication;

namespace platform {

/// True when the locale asks for the texts as they are written: Japanese, or the C and
/// POSIX locales. `uiLanguages` is most wanted first, as QLocale gives it.
bool wantsSourceTexts(const QStringList& uiLanguages);

/// Chooses the language for `uiLanguages` and installs its texts for the core
/// (platform::translate) and, once an application object exists, for tr() with Qt's own
/// texts of standard buttons and dialogs. Called first in main, before any text is made,
/// and again by installTranslations; a later call replaces the earlier choice.
void loadTranslations(const QStringList& uiLanguages);

/// loadTranslations for the locale of the environment; a messages locale of C or POSIX
/// wins over LANGUAGE.
void loadTranslations();

/// After the application object is made: puts the chosen texts into it, choosing them
/// from the environment first where nothing has chosen them yet.
void installTranslations(QCoreApplication& application);

} // namespace platform
