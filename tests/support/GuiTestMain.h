#pragma once

#include "app/ApplicationSetup.h"

#include <QApplication>
#include <QtTest>

// The main function of a widget test: the program's own application set-up (fonts,
// style, translation, icon) before the first window, then the test class.
#define QUORVANE_GUI_TEST_MAIN(TestClass)                                                          \
    int main(int argc, char* argv[])                                                               \
    {                                                                                              \
        QApplication application(argc, argv);                                                      \
        setUpApplication(application);                                                             \
        TestClass test;                                                                            \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
