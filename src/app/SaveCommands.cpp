// Saving image files: "&Enregistrer" (and its tool-bar button and the save
// question of a closing window), "En&registrer sous...", "Enre&gistrer la
// copie sous..." and "&Options jpeg...".
//
// The writer follows the upper-cased extension of the target name. A writer
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

#include <algorithm>
#include <array>
#include <cctype>
#include <exception>
#include <memory>
#include <string_view>

namespace px {

namespace {

constexpr const char* kSaveFilter = "Fichiers BMP|*.bmp|Fichiers JPA|*.jpa|Fichiers JPE|*.jpe|Fichiers JPEG|*.jpeg"
                                    "|Fichiers JPG|*.jpg|Fichiers PNG|*.png|Fichiers TGA|*.tga|Fichiers TIF|*.tif"
                                    "|Fichiers TIFF|*.tiff";
constexpr const char* kGifRefused = "Vous ne pouvez pas enregistrer un fichier GIF.";
constexpr const char* kNewImageCaption = "Image";

// The writable extensions in the order of the save dialog's filter.
constexpr std::array<std::string_view, 9> kWritable = {".BMP", ".JPA", ".JPE", ".JPEG", ".JPG",
                                                       ".PNG", ".TGA", ".TIF", ".TIFF"};

// 1-based index of the extension's filter entry, 0 when it has none.
int filterIndexFor(const std::string& upperExt)
{
    const auto it = std::find(kWritable.begin(), kWritable.end(), upperExt);
    return it == kWritable.end() ? 0 : int(it - kWritable.begin()) + 1;
}

std::filesystem::path fsPath(const QString& path)
{
    return std::filesystem::path(path.toStdString());
}

// SaveDialog1 keeps its filter index and default extension between showings.
struct SaveDialogState {
    int filterIndex = 1;
    std::string defaultExtension = "bmp";
};

class SaveCommands {
public:
    explicit SaveCommands(MainWindow& window) : window_(window) {}

    // Enregistrer1Click on one window; true when the document was written.
    bool save(ImageWindow& image)
    {
        if (image.windowTitle() == QLatin1String(kNewImageCaption))
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
        request.filter = kSaveFilter;
        if (const int index = filterIndexFor(upperExtension(fsPath(image.windowTitle()))))
            state_.filterIndex = index;
        request.filterIndex = state_.filterIndex;
        request.defaultExtension = state_.defaultExtension;
        const std::optional<FileChoice> choice = window_.session().prompter.saveFileName(request);
        if (!choice)
            return false;
        state_.filterIndex = choice->filterIndex;

        const QString path = QString::fromStdString(choice->path);
        const std::string ext = upperExtension(choice->path);
        if (filterIndexFor(ext) != 0) {
            std::string plain = ext.substr(1);
            std::transform(plain.begin(), plain.end(), plain.begin(),
                           [](unsigned char c) { return char(std::tolower(c)); });
            state_.defaultExtension = plain;
        }
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
    // written (GIF, an extension without writer, or a failed write).
    bool write(ImageWindow& image, const QString& path)
    {
        Prompter& prompter = window_.session().prompter;
        SaveOptions options;
        switch (saveFormatFor(fsPath(path))) {
        case SaveFormat::Gif:
            prompter.message(kGifRefused, "Information", MessageKind::Information);
            return false;
        case SaveFormat::None:
            return false;
        case SaveFormat::Jpeg:
            if (auto* jpeg = qobject_cast<JpegOptionsDialog*>(window_.dialog("TForm17"))) {
                options.jpegQuality = jpeg->quality();
                options.progressive = jpeg->progressive();
            }
            image.setJpegQuality(options.jpegQuality);
            break;
        default:
            break;
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

} // namespace px
