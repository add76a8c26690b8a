#pragma once
#include <QApplication>

// One QApplication for the whole test program, made on first use; GoogleTest
// supplies main(), so widget tests call this from their fixtures.
inline QApplication& qtApp()
{
    static int argc = 1;
    static char name[] = "harunire-tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}
