// Opening image files: "&Ouvrir..." and its tool-bar button, the open
// operation shared with the recent files and the command line, and
// "&Restaurer...", which reloads the active image from its file.
#include "app/MainWindow.h"
#include "app/ShellCommands.h"
#include "app/StatusBar.h"
#include "app/WindowMenu.h"
#include "codecs/ImageFileError.h"
#include "document/ImageWindow.h"
#include "fileio/ImageFormats.h"
#include "platform/Prompter.h"
#include "platform/qt/BusyCursor.h"

#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <exception>

namespace px {

namespace {

constexpr const char* kRestoreQuestion = "Etes-vous sûr de vouloir restaurer cette image ?";
// The opening commands make room for the side panel's overview below the image.
constexpr int kExtraHeight = 56;

void reportInvalidImage(Prompter& prompter)
{
    prompter.message(InvalidImageError::kMessage, "Erreur", MessageKind::Error);
}

} // namespace

// OpenImageFile and the steps that follow it in every opening command. The
// file is decoded before any window exists, so a file that cannot be read
// leaves no trace: no window, no entry in the recent list, and the undo
// history and the save-question flag of the other windows untouched.
ImageWindow* MainWindow::openImageFile(const QString& path)
{
    BusyCursor wait;
    const QString fullPath = QFileInfo(path).absoluteFilePath();
    Bitmap bitmap;
    try {
        bitmap = readImageFile(std::filesystem::path(path.toStdString()));
    } catch (const std::exception&) {
        reportInvalidImage(session_.prompter);
        return nullptr;
    }
    auto* window = new ImageWindow(session_);
    window->setDocument(std::move(bitmap));
    window->setWindowTitle(QFileInfo(path).fileName());
    window->setFilePath(fullPath);
    addRecentFile(fullPath);
    window->resize(window->width(), window->height() + kExtraHeight);
    addImageWindow(window);
    statusBar_->setPanelText(1, fullPath);
    cascade(mdiArea_);
    if (viewOptions().overview)
        window->setOverviewVisible(true);
    return window;
}

void registerOpenCommands(MainWindow& window)
{
    CommandTable& commands = window.commands();

    // Ouvrir1Click (and the tool-bar button Ouvrirbut). The dialog keeps the
    // platform's own title.
    commands.setHandler("Ouvrir1", [&window] {
        FileDialogRequest request;
        request.filter = openFilter();
        request.filterIndex = 1;
        const std::optional<FileChoice> choice = window.session().prompter.openFileName(request);
        if (!choice)
            return;
        window.openImageFile(QString::fromStdString(choice->path));
    });

    // Restaurer1Click. The file is read back before the window closes: when
    // it cannot be read (it was deleted or damaged since, or the image was
    // never saved) the window and its unsaved image stay as they were.
    commands.setHandler("Restaurer1", [&window] {
        ImageWindow* current = window.activeImageWindow();
        if (!current)
            return;
        Session& session = window.session();
        if (session.prompter.ask(kRestoreQuestion, "Information", Buttons::OkCancel, MessageKind::Information) !=
            Answer::Ok)
            return;
        const QString path = current->filePath();
        const std::filesystem::path file(path.toStdString());
        Bitmap bitmap;
        try {
            if (path.isEmpty() || current->windowTitle() == QLatin1String(ImageWindow::kNewImageCaption))
                throw InvalidImageError("image jamais enregistrée");
            BusyCursor wait;
            bitmap = readImageForRestore(file);
        } catch (const std::exception&) {
            reportInvalidImage(session.prompter);
            return;
        }

        BusyCursor wait;
        session.noSavePrompt = true;
        if (auto* sub = qobject_cast<QMdiSubWindow*>(current->parentWidget()))
            sub->close();
        else
            current->close();
        session.noSavePrompt = false;

        auto* restored = new ImageWindow(session);
        restored->setDocument(std::move(bitmap));
        restored->setWindowTitle(QFileInfo(path).fileName());
        restored->setFilePath(path);
        if (fileFormatFor(file).restore.addsToRecent)
            window.addRecentFile(path);
        window.addImageWindow(restored);
        window.statusPanels()->setPanelText(1, path);
        cascade(window.mdiArea());
    });
}

} // namespace px
