#include "document/FullScreenView.h"

#include "document/DocumentView.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace px {

FullScreenView::FullScreenView(Bitmap bitmap, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::FramelessWindowHint), bitmap_(std::move(bitmap))
{
    setObjectName("TForm13");
    setModal(true);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);
    setWindowState(Qt::WindowMaximized);

    image_ = new DocumentView(this);
    image_->setObjectName("Image1");
    // Presses on the picture reach the window, which closes on any of them.
    image_->setAttribute(Qt::WA_TransparentForMouseEvents);
    image_->move(0, 0);
    image_->setBitmap(&bitmap_);
}

void FullScreenView::keyPressEvent(QKeyEvent* event)
{
    event->accept();
    accept();
}

void FullScreenView::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    accept();
}

} // namespace px
