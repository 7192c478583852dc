#pragma once
// The two image-size dialogs: TForm31 "Redimensionner..." (the picture is
// scaled to the new size) and TForm30 "Etirer image..." (the bitmap is cut
// or extended). Both show the image's width and height in Edit1 and Edit2,
// spin edits without limits that take only digits and backspace from the
// keyboard.
#include "effects/dialogs/EffectDialog.h"

namespace px {

class DigitSpinBox;
class Prompter;

class ImageSizeDialog : public EffectDialog {
    Q_OBJECT
public:
    DigitSpinBox* widthEdit() const { return width_; }
    DigitSpinBox* heightEdit() const { return height_; }

    // The edits start with the document's size.
    void load(const Bitmap& document, const EffectContext&) override;
    // Width, height. An empty edit is a conversion error for the scaling
    // and 0 for the stretching (which the routine then refuses).
    std::vector<int> acceptedValues() const override;
    void finish() override {}

protected:
    ImageSizeDialog(const EffectCommand& command, const QString& title, bool emptyIsZero, QWidget* parent);

private:
    int read(const DigitSpinBox* edit) const;

    DigitSpinBox* width_ = nullptr;
    DigitSpinBox* height_ = nullptr;
    bool emptyIsZero_ = false;
};

// TForm31.
class ResizeDialog : public ImageSizeDialog {
    Q_OBJECT
public:
    ResizeDialog(const EffectCommand& command, Prompter&, QWidget* parent = nullptr)
        : ImageSizeDialog(command, QStringLiteral("Redimensionner..."), false, parent)
    {
    }
};

// TForm30.
class StretchEdgesDialog : public ImageSizeDialog {
    Q_OBJECT
public:
    StretchEdgesDialog(const EffectCommand& command, Prompter&, QWidget* parent = nullptr)
        : ImageSizeDialog(command, QStringLiteral("Etirer image..."), true, parent)
    {
    }
};

} // namespace px
