// Saving image files: "&Enregistrer" (and its tool-bar button and the save
// question of a closing window), "En&registrer sous...", "Enre&gistrer la
// copie sous..." and "&Options jpeg...".
//
// The writer follows the extension of the target name. A writer
// error is shown to the user with the writer's message and changes nothing:
// the file on disk stays as it was (writes are atomic), and the window's
// name, the status bar and the recent list are not updated.
#include "app/MainWindow.h"
#include "app/ShellCommands.h"
#include "app/StatusBar.h"
#include "document/ImageWindow.h"
#include "fileio/dialogs/JpegOptionsDialog.h"
#include "fileio/ImageFormats.h"
#include "platform/Prompter.h"

#include <QFileInfo>

#include <exception>
#include <memory>
#include <string>

namespace px {

namespace {

std::filesystem::path fsPath(const QString& path)
{
    return std::filesystem::path(path.toStdString());
}

// SaveDialog1 keeps its filter index and default extension between showings;
// it starts on the filter's first entry and that entry's extension.
struct SaveDialogState {
    int filterIndex = 1;
    std::string defaultExtension{saveFilterFormat(1)->extension};
};

class SaveCommands {
public:
    explicit SaveCommands(MainWindow& window) : window_(window) {}

    // Enregistrer1Click on one window; true when the document was written.
    bool save(ImageWindow& image)
    {
        if (image.windowTitle() == QLatin1String(ImageWindow::kNewImageCaption))
            return saveAs(image, false);
        const QString path = image.filePath();
        if (!write(image, path))
            return false;
        window_.addRecentFile(path);
        return true;
    }

    // Enregistrersous1Click and Enregistrerlacopiesous1Click: both make the
    // chosen file the window's document.
    bool saveAs(ImageWindow& image, bool copy)
    {
        FileDialogRequest request;
        request.title = copy ? "Enregistrer la copie sous" : "Enregistrer sous";
        request.filter = saveFilter();
        if (const int index = saveFilterIndex(fileFormatFor(fsPath(image.windowTitle()))))
            state_.filterIndex = index;
        request.filterIndex = state_.filterIndex;
        request.defaultExtension = state_.defaultExtension;
        const std::optional<FileChoice> choice = window_.session().prompter.saveFileName(request);
        if (!choice)
            return false;
        state_.filterIndex = choice->filterIndex;

        const QString path = QString::fromStdString(choice->path);
        const FileFormat& format = fileFormatFor(choice->path);
        if (saveFilterIndex(format) != 0)
            state_.defaultExtension = format.extension;
        if (!write(image, path))
            return false;
        window_.statusPanels()->setPanelText(1, path);
        image.setFilePath(path);
        image.setWindowTitle(QFileInfo(path).fileName());
        window_.addRecentFile(path);
        return true;
    }

private:
    // Writes the document by the name's writer; false when nothing was
    // written (a refused extension, one without writer, or a failed write).
    bool write(ImageWindow& image, const QString& path)
    {
        Prompter& prompter = window_.session().prompter;
        const FileFormat& format = fileFormatFor(fsPath(path));
        if (!format.saveRefusal.empty()) {
            prompter.message(std::string(format.saveRefusal), "Information", MessageKind::Information);
            return false;
        }
        if (!format.write)
            return false;
        SaveOptions options;
        if (format.jpegOptions) {
            if (auto* jpeg = qobject_cast<JpegOptionsDialog*>(window_.dialog("TForm17"))) {
                options.jpegQuality = jpeg->quality();
                options.progressive = jpeg->progressive();
            }
            image.setJpegQuality(options.jpegQuality);
        }
        try {
            writeImageFile(fsPath(path), image.document(), options);
        } catch (const std::exception& e) {
            prompter.error(e.what());
            return false;
        }
        return true;
    }

    MainWindow& window_;
    SaveDialogState state_;
};

} // namespace

void registerSaveCommands(MainWindow& window)
{
    auto commands = std::make_shared<SaveCommands>(window);
    CommandTable& table = window.commands();
    table.setHandler("Enregistrer1", [&window, commands] {
        if (ImageWindow* image = window.activeImageWindow())
            commands->save(*image);
    });
    table.setHandler("Enregistrersous1", [&window, commands] {
        if (ImageWindow* image = window.activeImageWindow())
            commands->saveAs(*image, false);
    });
    table.setHandler("Enregistrerlacopiesous1", [&window, commands] {
        if (ImageWindow* image = window.activeImageWindow())
            commands->saveAs(*image, true);
    });
    // A Yes to a closing window's save question saves it as "&Enregistrer"
    // does; when nothing was written (a cancelled name, a failed write) the
    // window stays open so that its image is not lost.
    window.saveDocument = [commands](ImageWindow& image) { return commands->save(image); };
    table.setHandler("CompressionJpeg1", [&window] {
        if (QDialog* dialog = window.dialog("TForm17"))
            window.runModal(*dialog);
    });
}

QDialog* createJpegOptions(MainWindow& owner)
{
    return new JpegOptionsDialog(owner.settings(), owner.session().prompter, &owner);
}

} // namespace px
