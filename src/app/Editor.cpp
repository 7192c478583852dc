#include "app/Editor.h"

#include "app/MainWindow.h"
#include "document/Session.h"
#include "platform/qt/QtClipboard.h"
#include "platform/qt/QtPrompter.h"
#include "platform/qt/QtShell.h"
#include "platform/qt/QtTranslations.h"
#include "platform/SettingsFile.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QScreen>

#include <cstring>
#include <vector>

namespace px {

namespace {

// The folder of the tips and help pages: beside the executable in the build
// folder, share/pixoran3 beside bin/ once installed.
QString dataDirectory()
{
    const QDir programDir(QCoreApplication::applicationDirPath());
    if (programDir.exists(QStringLiteral("astuces.txt")))
        return programDir.path();
    const QString installed = programDir.absoluteFilePath(QStringLiteral("../share/pixoran3"));
    return QDir(installed).exists() ? QDir::cleanPath(installed) : programDir.path();
}

} // namespace

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
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/pixoran3.svg")));
    // The standard dialogs speak French like the rest of the program.
    QtFrenchTranslations translations;

    SettingsFile settings(SettingsFile::defaultPath());
    QtPrompter prompter;
    QtShell shell(&prompter);
    QtClipboard clipboard;
    Session session(prompter, shell, clipboard);

    // QApplication has taken its own options out of its arguments; the
    // remaining ones, then those after "--", are images to open.
    MainWindowOptions options;
    options.programDir = dataDirectory();
    for (int i = 1; i < toolkitArgc; ++i)
        options.startupFiles << QString::fromLocal8Bit(toolkitArgs[i]);
    for (char* file : files)
        options.startupFiles << QString::fromLocal8Bit(file);

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
