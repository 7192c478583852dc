// "&Nouveau...": TForm4 and the image window it creates.
#include "app/EditingCommands.h"
#include "app/MainWindow.h"
#include "app/WindowMenu.h"
#include "document/ImageWindow.h"
#include "document/NewImageDialog.h"

namespace px {

namespace {
constexpr int kExtraHeight = 56;

// A window whose client area is the image's size, cascaded with the others,
// then 56 pixels taller. Caption and LabelIm are "Image": the save question
// names it, and "&Restaurer..." stays disabled for it (no file to go back to).
ImageWindow* createBlankWindow(MainWindow& window, int width, int height)
{
    Bitmap document(width, height, 24);
    auto* image = new ImageWindow(window.session());
    image->setFilePath(QStringLiteral("Image"));
    image->setDocument(std::move(document));
    image->resize(width, height + kExtraHeight);
    window.addImageWindow(image);
    cascade(window.mdiArea());
    return image;
}
} // namespace

QDialog* createNewImageDialog(MainWindow& owner)
{
    auto* dialog = new NewImageDialog(owner.session(), owner.settings(), &owner);
    dialog->createWindow = [&owner](int width, int height) { return createBlankWindow(owner, width, height); };
    return dialog;
}

void registerNewImageCommand(MainWindow& window)
{
    window.commands().setHandler("Nouveau1", [&window] {
        if (QDialog* dialog = window.dialog("TForm4"))
            window.runModal(*dialog);
    });
}

} // namespace px
