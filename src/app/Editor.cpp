#include "app/Editor.h"

#include "app/MainWindow.h"
#include "document/Session.h"
#include "platform/qt/QtClipboard.h"
#include "platform/qt/QtPrompter.h"
#include "platform/qt/QtShell.h"
#include "platform/SettingsFile.h"

#include <QApplication>
#include <QIcon>
#include <QScreen>

namespace px {

int runEditor(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pixoran3"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/pixoran3.png")));

    SettingsFile settings(SettingsFile::defaultPath());
    QtPrompter prompter;
    QtShell shell;
    QtClipboard clipboard;
    Session session(prompter, shell, clipboard);

    // QApplication has taken its own options out of argv; only the first
    // remaining parameter is an image to open.
    MainWindowOptions options;
    options.programDir = QCoreApplication::applicationDirPath();
    if (argc >= 2)
        options.startupFile = QString::fromLocal8Bit(argv[1]);

    MainWindow window(session, settings, options);
    prompter.setParentWidget(&window);
    // Maximised from the start; the geometry also covers the screen where no
    // window manager honours the request.
    if (QScreen* screen = QGuiApplication::primaryScreen())
        window.setGeometry(screen->availableGeometry());
    window.showMaximized();
    return app.exec();
}

} // namespace px
