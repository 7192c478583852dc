// The clipboard and clearing commands of "&Edition", and the file menu's
// "Eff&acer...". They act on the whole document of the active image window;
// the rectangular selection and the dropping of a pasted picture are the
// drawing tools' business.
#include "app/DrawingCommands.h"
#include "app/EditingCommands.h"
#include "app/MainWindow.h"
#include "app/StatusBar.h"
#include "codecs/ImageFileError.h"
#include "document/ImageWindow.h"
#include "fileio/ImageFormats.h"
#include "platform/Clipboard.h"
#include "platform/Prompter.h"
#include "platform/qt/BusyCursor.h"
#include "platform/ShellServices.h"
#include "tools/FloatingPaste.h"

#include <QAction>
#include <QCoreApplication>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMdiSubWindow>

#include <exception>

namespace px {

namespace {

// The paste commands make room for the side panel's overview below the image.
constexpr int kExtraHeight = 56;

constexpr const char* kLoadTitle = "Charger dans le presse-papier...";
constexpr const char* kLoadFilter =
    "Tous les fichiers supportés|*.bmp;*.gif;*.jpa;*.jpe;*.jpeg;*.jpg;*.png;*.tga;*.tif;*.tiff|Fichiers BMP|*.bmp|"
    "Fichiers GIF|*.gif|Fichiers JPA|*.jpa|Fichiers JPE|*.jpe|Fichiers JPEG|*.jpeg|Fichiers JPG|*.jpg|"
    "Fichiers PNG|*.png|Fichiers TGA|*.tga|Fichiers TIF|*.tif|Fichiers TIFF|*.tiff";
// The extensions "&Charger..." reads, each by the reader that opening uses.
constexpr const char* kLoadExtensions[] = {".BMP", ".TGA",  ".TIF", ".TIFF", ".PNG",
                                           ".GIF", ".JPEG", ".JPA", ".JPE",  ".JPG"};
constexpr const char* kTrashQuestion = "Etes-vous sûr de vouloir envoyer ce fichier à la corbeille ?";
// The clipboard holds a picture beyond the sizes the program accepts.
constexpr const char* kClipboardTooLarge = "L'image du presse-papier est trop grande.";

// SaveUndoState and the undo controls, through the window so that its macro
// record has the step: these changes are not effect commands, a macro
// cannot replay them and says so at their place.
void saveUndo(ImageWindow& image, const char* caption)
{
    image.saveUndoState(std::string("« ") + caption + " » : commande de l'Edition, non enregistrée");
}

// The clipboard's picture, or an empty bitmap after telling the user that
// it is too large to take.
Bitmap clipboardPicture(MainWindow& window)
{
    Session& session = window.session();
    if (!session.clipboard.hasImage())
        return {};
    Bitmap picture = session.clipboard.image();
    if (picture.isEmpty())
        session.prompter.error(kClipboardTooLarge);
    return picture;
}

// Copies the rectangle of the whole canvas onto itself with a raster
// operation that ignores the source (WHITENESS, BLACKNESS), then back to
// SRCCOPY.
void fillByCopyMode(ImageWindow& image, CopyMode mode)
{
    Canvas& canvas = image.canvas();
    const Bitmap& document = image.document();
    canvas.setCopyMode(mode);
    canvas.copyOntoItself(0, 0, document.width(), document.height());
    canvas.setCopyMode(CopyMode::SrcCopy);
}

// "Cla&ir" and "&Tout effacer": pen and brush of one colour over the whole
// picture. The brush is made solid and the pen copying: a figure tool may
// have left a hollow brush or an inverting pen, which would clear nothing
// or invert the picture.
void fillWithColour(ImageWindow& image, Colour colour)
{
    Canvas& canvas = image.canvas();
    canvas.setPenColour(colour);
    canvas.setBrushColour(colour);
    canvas.setBrushHollow(false);
    canvas.setPenMode(MixMode::Copy);
    canvas.rectangle(0, 0, image.document().width(), image.document().height());
}

void clearCommand(MainWindow& window, const char* caption, const std::function<void(ImageWindow&)>& fill)
{
    ImageWindow* image = window.activeImageWindow();
    if (!image)
        return;
    const BusyCursor busy;
    saveUndo(*image, caption);
    fill(*image);
    refreshAfterEdit(*image);
}

// Coller1Click: a new window of the clipboard's picture, captioned "Image",
// 56 pixels taller than the picture. It is not cascaded.
void pasteAsNewImage(MainWindow& window)
{
    Bitmap picture = clipboardPicture(window);
    if (picture.isEmpty())
        return;
    auto* image = new ImageWindow(window.session());
    const int width = picture.width(), height = picture.height();
    image->setDocument(std::move(picture));
    image->setWindowTitle(QString::fromLatin1(ImageWindow::kNewImageCaption));
    image->setFilePath(QString::fromLatin1(ImageWindow::kNewImageCaption));
    image->resize(width, height + kExtraHeight);
    window.addImageWindow(image);
}

// Slction1Click: the clipboard's picture floats over the active image until
// it is dropped with the right button.
void pasteAsSelection(MainWindow& window)
{
    ImageWindow* image = window.activeImageWindow();
    if (!image)
        return;
    const Bitmap picture = clipboardPicture(window);
    if (picture.isEmpty())
        return;
    saveUndo(*image, "Sélection");
    image->repaintTool(startFloatingPaste(image->toolState(), picture));
    window.statusPanels()->setPanelText(0, QString::fromUtf8(kDropPasteMessage));
}

// Charger1Click: a file read by the reader that opening uses for its
// extension goes onto the clipboard. A file that cannot be read, or a name
// of another extension, is reported and the clipboard keeps its content.
void loadIntoClipboard(MainWindow& window)
{
    Session& session = window.session();
    FileDialogRequest request;
    request.title = kLoadTitle;
    request.filter = kLoadFilter;
    const std::optional<FileChoice> choice = session.prompter.openFileName(request);
    if (!choice)
        return;
    const QString suffix = QFileInfo(QString::fromStdString(choice->path)).suffix().toUpper();
    const std::string extension = suffix.isEmpty() ? std::string() : "." + suffix.toStdString();
    bool known = false;
    for (const char* e : kLoadExtensions)
        known = known || extension == e;
    try {
        if (!known)
            throw InvalidImageError("extension non prise en charge");
        const BusyCursor busy;
        session.clipboard.setImage(readImageFile(std::filesystem::path(choice->path)));
    } catch (const std::exception& e) {
        session.prompter.error(e.what());
    }
}

// Effacer1Click: the file goes to the trash only once its window has really
// closed; a Cancel in the save question leaves both as they were. A window
// whose file does not exist (a new image) deletes nothing and says nothing;
// a file the trash refuses is reported.
void trashFile(MainWindow& window)
{
    ImageWindow* image = window.activeImageWindow();
    if (!image)
        return;
    Session& session = window.session();
    if (session.prompter.ask(kTrashQuestion, "Information", Buttons::OkCancel, MessageKind::Information) != Answer::Ok)
        return;
    const QString path = image->filePath();
    auto* sub = qobject_cast<QMdiSubWindow*>(image->parentWidget());
    const bool closed = sub ? sub->close() : image->close();
    if (!closed)
        return;
    const QFileInfo file(path);
    if (path.isEmpty() || !file.isAbsolute() || !(file.exists() || file.isSymLink()))
        return;
    std::string error;
    if (!session.shell.moveToTrash(path.toStdString(), &error))
        session.prompter.error(error);
}

// Edition1Click runs when a shortcut of the menu's paste items is typed, as
// it does when the menu opens, before the shortcut is looked up: Ctrl+V
// pastes what another program put on the clipboard since the menu was last
// opened, and does nothing once the clipboard is empty.
class PasteShortcutWatch : public QObject {
public:
    explicit PasteShortcutWatch(MainWindow& window) : QObject(&window), window_(window) {}

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::ShortcutOverride)
            return false;
        const QKeySequence typed(static_cast<QKeyEvent*>(event)->keyCombination());
        for (const char* name : {"Coller1", "Slction1", "Vider1"})
            if (window_.action(name)->shortcut() == typed) {
                window_.editMenuOpening();
                break;
            }
        return false;
    }

private:
    MainWindow& window_;
};

} // namespace

void registerClipboardCommands(MainWindow& window)
{
    QCoreApplication::instance()->installEventFilter(new PasteShortcutWatch(window));

    CommandTable& commands = window.commands();
    Session& session = window.session();

    // Copier1Click: no undo step.
    commands.setHandler("Copier1", [&window, &session] {
        if (ImageWindow* image = window.activeImageWindow())
            session.clipboard.setImage(image->document());
    });
    // Couper1Click: the picture goes to the clipboard and turns white.
    commands.setHandler("Couper1", [&window, &session] {
        ImageWindow* image = window.activeImageWindow();
        if (!image)
            return;
        saveUndo(*image, "Couper");
        session.clipboard.setImage(image->document());
        fillByCopyMode(*image, CopyMode::Whiteness);
        image->documentChanged();
    });
    commands.setHandler("Coller1", [&window] { pasteAsNewImage(window); });
    commands.setHandler("Slction1", [&window] { pasteAsSelection(window); });
    commands.setHandler("Charger1", [&window] { loadIntoClipboard(window); });
    commands.setHandler("Vider1", [&session] { session.clipboard.clear(); });
    commands.setHandler("Clair1", [&window, &session] {
        clearCommand(window, "Clair",
                     [&session](ImageWindow& image) { fillWithColour(image, session.backgroundColour); });
    });
    commands.setHandler("Touteffacer1", [&window] {
        clearCommand(window, "Tout effacer", [](ImageWindow& image) { fillWithColour(image, kWhite); });
    });
    commands.setHandler("Supprimer1", [&window] {
        clearCommand(window, "Supprimer", [](ImageWindow& image) { fillByCopyMode(image, CopyMode::Blackness); });
    });
    commands.setHandler("Effacer1", [&window] { trashFile(window); });
}

} // namespace px
