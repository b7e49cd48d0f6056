#pragma once

#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

// main() for tests that touch the home folder: HOME points to a fresh temporary folder before the
// application object exists, and QStandardPaths is in test mode, so the user's own files are never
// read or written.
template<typename App, typename TestObject>
int runWithTemporaryHome(int argc, char *argv[])
{
    QTemporaryDir home;
    if (!home.isValid())
        return 2;
    qputenv("HOME", home.path().toLocal8Bit());
    QStandardPaths::setTestModeEnabled(true);
    App app(argc, argv);
    TestObject test;
    return QTest::qExec(&test, argc, argv);
}

#define R7_TEST_MAIN_WITH_TEMPORARY_HOME(App, TestObject)                                          \
    int main(int argc, char *argv[])                                                               \
    {                                                                                              \
        return runWithTemporaryHome<App, TestObject>(argc, argv);                                  \
    }
