// The baseline of bench/startup: the smallest Qt Widgets program that shows a window, built with
// the same compiler and flags as the assistant.
#include "app/StartupProbe.h"

#include <QApplication>
#include <QLabel>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QLabel window(QStringLiteral("minimal"));
    window.resize(867, 751);
    StartupProbe::installOn(&window);
    window.show();
    return app.exec();
}
