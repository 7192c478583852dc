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

#include <cstring>
#include <vector>

namespace px {

int runEditor(int argc, char** argv)
{
    // Arguments after "--" are file names, never the toolkit's options: only
    // those before it go to QApplication.
    std::vector<char*> toolkitArgs;
    std::vector<char*> files;
    bool beforeSeparator = true;
    for (int i = 0; i < argc; ++i) {
        if (beforeSeparator && i > 0 && std::strcmp(argv[i], "--") == 0)
            beforeSeparator = false;
        else
            (beforeSeparator ? toolkitArgs : files).push_back(argv[i]);
    }
    int toolkitArgc = int(toolkitArgs.size());
    toolkitArgs.push_back(nullptr);
    QApplication app(toolkitArgc, toolkitArgs.data());
    QApplication::setApplicationName(QStringLiteral("Pixoran3"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/pixoran3.png")));

    SettingsFile settings(SettingsFile::defaultPath());
    QtPrompter prompter;
    QtShell shell;
    QtClipboard clipboard;
    Session session(prompter, shell, clipboard);

    // QApplication has taken its own options out of its arguments; the
    // first remaining one (else the first after "--") is an image to open.
    MainWindowOptions options;
    options.programDir = QCoreApplication::applicationDirPath();
    if (toolkitArgc >= 2)
        options.startupFile = QString::fromLocal8Bit(toolkitArgs[1]);
    else if (!files.empty())
        options.startupFile = QString::fromLocal8Bit(files.front());

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
