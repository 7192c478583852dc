#pragma once
// The adjustment dialogs: a source preview "Image originale", a destination
// preview, the controls that give an effect row its values, and OK /
// Annuler. The destination is always recomputed from the source through
// the same effect row that OK applies to the document, so what the user
// sees is what OK does.
//
// PreviewDialog holds the two previews and the preview computation;
// AdjustmentDialog adds one or three track bars; a concrete dialog is an
// AdjustmentDialogSetup (ranges, labels) and the effect row it drives.
#include "effects/AdjustmentSetup.h"
#include "effects/dialogs/EffectDialog.h"
#include "effects/Effect.h"
#include "effects/EffectFrame.h"

#include <QSize>
#include <QWidget>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class QLabel;
class QPushButton;
class QSlider;

namespace px {

class Prompter;

// A picture of a bitmap, 121 x 137 unless the dialog says otherwise: at its
// own size from the top-left corner, or stretched over the whole control.
class PreviewImage : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 121;
    static constexpr int kHeight = 137;

    explicit PreviewImage(QWidget* parent = nullptr, QSize size = QSize(kWidth, kHeight));

    // The picture, to edit in place. A picture that is shared (see shared())
    // is copied first, so that whoever shares it keeps what it was given.
    Bitmap& bitmap();
    const Bitmap& bitmap() const { return *bitmap_; }
    // Repaints after the bitmap changed.
    void bitmapChanged() { update(); }

    // The picture without a copy, for readers on other threads: it is never
    // changed in place while they hold it.
    std::shared_ptr<const Bitmap> shared() const { return bitmap_; }
    // Takes `bitmap` as the picture, or shows the picture of `other` without
    // copying it; both repaint.
    void setBitmap(Bitmap bitmap);
    void showPictureOf(const PreviewImage& other);

    bool stretch() const { return stretch_; }
    void setStretch(bool stretch);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::shared_ptr<Bitmap> bitmap_ = std::make_shared<Bitmap>();
    bool stretch_ = false;
};

// The two previews and the preview step of every dialog-driven effect.
class PreviewDialog : public EffectDialog {
    Q_OBJECT
public:
    // A document larger than the usual preview in either direction is shown
    // stretched (also in the dialogs whose previews are smaller).
    static bool needsStretch(int width, int height)
    {
        return width > PreviewImage::kWidth || height > PreviewImage::kHeight;
    }

    PreviewImage* source() const { return image1_; }
    PreviewImage* destination() const { return image2_; }

    // Opening: both previews receive a 24-bit copy of the document, stretched
    // when it is larger than a preview; the destination is computed.
    void load(const Bitmap& document, const EffectContext& context) override;
    // Frees the preview copies once the dialog has done its work.
    void unload();
    void finish() override { unload(); }

protected:
    PreviewDialog(const EffectCommand& command, Prompter& prompter, QWidget* parent);

    // Builds the previews with their titles into `parent`'s layout.
    QWidget* makePreviews(const char* sourceTitle, const char* destinationTitle,
                          QSize size = QSize(PreviewImage::kWidth, PreviewImage::kHeight));

    // The destination := the source, then the effect row with `values` unless
    // `values` is empty. A failing routine is reported and the destination
    // keeps its previous picture.
    void computePreview(const std::optional<std::vector<int>>& values);
    // The values the dialog's controls give, or nothing with `error` set
    // when a control does not hold a usable value.
    virtual std::optional<std::vector<int>> previewValues(std::string& error) const = 0;
    // Recomputes the destination from the current controls.
    void refreshPreview();
    void reportError(const std::string& text) const;

private:
    Prompter& prompter_;
    EffectContext context_;
    EffectScratch scratch_;
    PreviewImage* image1_ = nullptr;
    PreviewImage* image2_ = nullptr;
};

class AdjustmentDialog : public PreviewDialog {
    Q_OBJECT
public:
    // `command` is a TrackBars row; its setup gives the dialog's captions
    // and track bars.
    AdjustmentDialog(const EffectCommand& command, Prompter& prompter, QWidget* parent = nullptr);

    const AdjustmentDialogSetup& setup() const { return setup_; }
    QSlider* trackBar(int index) const { return trackBars_.at(std::size_t(index)); }
    QLabel* valueLabel(int index) const { return valueLabels_.at(std::size_t(index)); }

    // The track bar positions, in order: the values of the effect row.
    std::vector<int> values() const;
    std::vector<int> acceptedValues() const override { return values(); }
    // True when OK has nothing to apply (every track bar at rest, or the
    // gating one).
    bool appliesNothing() const override;
    // A track bar is at rest at 0, or at its minimum when that stands for
    // no effect.
    bool atRest(int index) const;
    // Track bars back to 0 (or their minimum) and previews unstretched:
    // after an apply and on Annuler, so that the dialog opens at rest.
    void resetPositions();

    // OK (after applying) and Annuler both leave the track bars at 0.
    void finish() override
    {
        resetPositions();
        unload();
    }

    // Annuler and the close box: positions back to 0, result Cancel.
    void reject() override;

protected:
    std::optional<std::vector<int>> previewValues(std::string& error) const override;

private:
    void trackBarChanged();
    void previewButtonClicked();
    void updateValueLabels();

    AdjustmentDialogSetup setup_;
    std::vector<QSlider*> trackBars_;
    std::vector<QLabel*> valueLabels_;
    bool resetting_ = false;
};

} // namespace px
