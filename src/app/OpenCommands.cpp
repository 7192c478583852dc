// Opening image files: "&Ouvrir..." and its tool-bar button, the open
// operation shared with the recent files and the command line, and
// "&Restaurer...", which reloads the active image from its file.
#include "app/MainWindow.h"
#include "app/ShellCommands.h"
#include "app/StatusBar.h"
#include "app/WindowMenu.h"
#include "document/ImageWindow.h"
#include "fileio/ImageFileError.h"
#include "fileio/ImageFormats.h"
#include "platform/Prompter.h"

#include <QApplication>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <exception>

namespace px {

namespace {

constexpr const char* kOpenFilter =
    "Tous les fichiers supportés|*.bw;*.cel;*.cut;*.bmp;*.dib;*.emf;*.gif;*.icb;*.jpa;*.jpe;*.jpg;*.jpeg;*.pbm;*.pcc;"
    "*.pcd;*.pdd;*.pic;*.png;*.psd;*.rgb;*.rgba;*.rla;*.rle;*.rpf;*.sgi;*.tga;*.tif;*.tiff;*.vda;*.vst;*.win;*.wmf"
    "|Fichiers BMP|*.bmp|Fichiers GIF|*.gif|Fichiers JPA|*.jpa|Fichiers JPE|*.jpe|Fichiers JPEG|*.jpeg"
    "|Fichiers JPG|*.jpg|Fichiers PNG|*.png|Fichiers TGA|*.tga|Fichiers TIF|*.tif|Fichiers TIFF|*.tiff";
constexpr const char* kRestoreQuestion = "Etes-vous sûr de vouloir restaurer cette image ?";
constexpr const char* kNewImageCaption = "Image";
// The opening commands make room for the side panel's overview below the image.
constexpr int kExtraHeight = 56;

// The hour-glass for the length of one command.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

void reportInvalidImage(Prompter& prompter)
{
    prompter.message(InvalidImageError::kMessage, "Erreur", MessageKind::Error);
}

// The picture's own load by the registered-format list, which knows ".tga"
// through the codec library's Targa class rather than the program's reader.
Bitmap readByRegisteredFormat(const std::filesystem::path& path)
{
    const std::string ext = upperExtension(path);
    const RegisteredFormat* format = ext.size() > 1 ? findRegisteredFormat(ext.substr(1)) : nullptr;
    if (!format || !format->decode)
        throw InvalidImageError("aucun format enregistré pour " + path.string());
    return format->decode(readFileBytes(path));
}

// The reload of "&Restaurer...". BMP and TIFF go through the registered
// list; GIF and JPEG are drawn into a fresh bitmap of their size, which the
// program keeps at the screen's depth (24 bits); PNG by its own reader;
// everything else, ".tga" included, by the registered list.
Bitmap readForRestore(const std::filesystem::path& path, bool& viaRegisteredList)
{
    const std::string ext = upperExtension(path);
    viaRegisteredList = false;
    if (ext == ".BMP" || ext == ".TIF" || ext == ".TIFF")
        return readByRegisteredFormat(path);
    if (ext == ".PNG")
        return readImageFile(path);
    if (ext == ".GIF" || ext == ".JPEG" || ext == ".JPA" || ext == ".JPE" || ext == ".JPG") {
        Bitmap bitmap = readImageFile(path);
        bitmap.setPixelFormat(24);
        return bitmap;
    }
    viaRegisteredList = true;
    return readByRegisteredFormat(path);
}

} // namespace

// OpenImageFile and the steps that follow it in every opening command. The
// file is decoded before any window exists, so a file that cannot be read
// leaves no trace: no window, no entry in the recent list, and the undo
// history and the save-question flag of the other windows untouched.
ImageWindow* MainWindow::openImageFile(const QString& path)
{
    WaitCursor wait;
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
        request.filter = kOpenFilter;
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
        Bitmap bitmap;
        bool viaRegisteredList = false;
        try {
            if (path.isEmpty() || current->windowTitle() == QLatin1String(kNewImageCaption))
                throw InvalidImageError("image jamais enregistrée");
            WaitCursor wait;
            bitmap = readForRestore(std::filesystem::path(path.toStdString()), viaRegisteredList);
        } catch (const std::exception&) {
            reportInvalidImage(session.prompter);
            return;
        }

        WaitCursor wait;
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
        if (viaRegisteredList)
            window.addRecentFile(path);
        window.addImageWindow(restored);
        window.statusPanels()->setPanelText(1, path);
        cascade(window.mdiArea());
    });
}

} // namespace px
