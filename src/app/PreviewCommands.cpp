// "Aperç&u du navigateur...": after the user saves the image, a web page
// that shows its file on the background colour opens in the browser.
#include "app/MainWindow.h"
#include "app/ShellCommands.h"
#include "document/ImageWindow.h"
#include "fileio/BrowserPreview.h"
#include "platform/Prompter.h"
#include "platform/ShellServices.h"
#include "platform/TemporaryFolder.h"

#include <QDir>
#include <QPointer>

#include <exception>

namespace px {

namespace {
constexpr const char* kSaveQuestion = "Votre image doit être enregisté, Voulez-vous l'enregistrer ?";
} // namespace

// The page goes to the user's own folder inside the temporary folder and
// shows the window's file as it is after "Enregistrer sous": the new file,
// or the previous one when the save was cancelled or refused. An image that
// still has no file gets no page. A browser that does not start is not
// reported.
void registerPreviewCommand(MainWindow& window)
{
    window.commands().setHandler("Aperudunavigateur1", [&window] {
        QPointer<ImageWindow> image = window.activeImageWindow();
        if (!image)
            return;
        Session& session = window.session();
        if (session.prompter.ask(kSaveQuestion, "Information", Buttons::OkCancel, MessageKind::Information) !=
            Answer::Ok)
            return;
        window.commands().run("Enregistrersous1");
        if (!image || image->windowTitle() == QLatin1String(ImageWindow::kNewImageCaption))
            return;
        std::filesystem::path page;
        try {
            const auto folder = privateTemporaryFolder(QDir::tempPath().toStdString());
            page = writeBrowserPreview(folder, image->filePath().toStdString(), session.backgroundColour);
        } catch (const std::exception& e) {
            session.prompter.error(e.what());
            return;
        }
        session.shell.openUrl(page.string());
    });
}

} // namespace px
