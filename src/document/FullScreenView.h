#pragma once
// The full-screen view (TForm13): a borderless, maximised, black window that
// shows a copy of a bitmap unscaled from its top-left corner. Any key press
// or mouse button press closes it.
#include "graphics/Bitmap.h"

#include <QDialog>

namespace px {

class DocumentView;

class FullScreenView : public QDialog {
    Q_OBJECT
public:
    FullScreenView(Bitmap bitmap, QWidget* parent = nullptr);

    const Bitmap& bitmap() const { return bitmap_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    Bitmap bitmap_;
    DocumentView* image_ = nullptr;
};

} // namespace px
