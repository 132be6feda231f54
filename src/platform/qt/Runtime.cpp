// The QApplication: made once, with the program's icon and the loop's object.
#include "platform/qt/Runtime.h"

#include <QApplication>
#include <QIcon>

#include <cstdlib>

// Outside any namespace, as Qt's resource macro requires.
static void LoadIconResources() {
    Q_INIT_RESOURCE(Pendulix);
}

namespace tk::qt {

namespace {

// The program takes no arguments; Qt only wants a name to show in its own messages.
int argc = 1;
char programName[] = "pendulix";
char* argv[] = {programName, nullptr};

bool exiting = false;

QApplication* MakeApplication() {
    auto* application = new QApplication(argc, argv);
    // Registered after Qt has loaded its plugin, so it runs before their statics go.
    std::atexit([] { exiting = true; });
    // Termination is the program's own decision (its main window's close box), not Qt's.
    QApplication::setQuitOnLastWindowClosed(false);
    QGuiApplication::setDesktopFileName("pendulix");
    StartLoop();
    return application;
}

} // namespace

void PrepareToShow() {
    static bool prepared = false;
    if (prepared)
        return;
    prepared = true;
    LoadIconResources();
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/pendulix/%1.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);
}

bool Exiting() {
    return exiting;
}

QApplication& TheApplication() {
    static QApplication* application = MakeApplication();
    return *application;
}

} // namespace tk::qt
