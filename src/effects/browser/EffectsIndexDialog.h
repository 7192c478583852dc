#pragma once
// TForm46 "Index des effets": the list of the index's effects, the
// description of the chosen one and its preview on a thumbnail of the
// active image. OK hands the chosen entry to the caller, which runs its
// menu command.
//
// A preview is computed on a full-size copy of the document, which can take
// a second on a large image, so it runs on a thread of its own: the window
// keeps answering, the hour-glass shows until the preview arrives, and a
// click on another entry supersedes a preview not yet shown. What is shown
// is exactly what computing the preview in the click would have shown.
#include "effects/browser/LatestJobRunner.h"
#include "effects/Effect.h"
#include "effects/EffectFrame.h"

#include <QDialog>

#include <cstdint>
#include <memory>
#include <string>

class QLabel;
class QListWidget;
class QPushButton;

namespace px {

class PreviewImage;
class Prompter;

class EffectsIndexDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 419;
    static constexpr int kClientHeight = 259;
    // The size of the two preview images.
    static constexpr int kPreviewWidth = 133;
    static constexpr int kPreviewHeight = 156;

    EffectsIndexDialog(const EffectRegistry& effects, Prompter& prompter, QWidget* parent = nullptr);
    ~EffectsIndexDialog() override;

    // A document larger than a preview in either direction is shown
    // stretched.
    static bool needsStretch(int width, int height) { return width > kPreviewWidth || height > kPreviewHeight; }

    // Opening: the hidden source copy (Image1) and the shown preview (Image2)
    // receive a 24-bit copy of the document; both are switched to stretched
    // when the document needs it (never back: only OK unstretches Image2).
    // The list's selection and the description stay as they were.
    void load(const Bitmap& document, const EffectContext& context);
    // The window has closed: a preview still being computed is dropped and
    // the copies are freed.
    void finish();

    // The selected entry of the list, or -1.
    int selectedEntry() const;

    QListWidget* list() const { return list_; }
    QLabel* description() const { return label4_; }
    PreviewImage* source() const { return image1_; }
    PreviewImage* destination() const { return image2_; }

    // True from a click until its preview is shown (the hour-glass shows).
    bool previewPending() const { return pending_; }
    // Waits for the preview being computed and shows it now.
    void waitForPreview();

signals:
    // The preview of `entry` is shown (or its routine failed and was
    // reported).
    void previewShown(int entry);

protected:
    void showEvent(QShowEvent* event) override;

private:
    // ListBox1Click: the description, then the preview of the selection.
    void listBox1Click();
    void setDescription(const QString& text);
    void startPreview(int entry);
    void deliver(std::uint64_t generation, int entry, const std::shared_ptr<Bitmap>& result, const std::string& error,
                 std::uint32_t randomState);
    void setPending(bool pending);

    const EffectRegistry& effects_;
    Prompter& prompter_;
    EffectContext context_;
    QListWidget* list_ = nullptr;
    QLabel* label4_ = nullptr;
    PreviewImage* image1_ = nullptr;
    PreviewImage* image2_ = nullptr;
    QPushButton* button1_ = nullptr;
    bool pending_ = false;
    bool rowChangedByPress_ = false;
    // Raised by every click and by finish(): a preview of an older
    // generation is not shown.
    std::uint64_t generation_ = 0;
    // Used by the jobs only, one at a time.
    EffectScratch jobScratch_;
    // Last, so that it is destroyed first: no job outlives the window.
    LatestJobRunner runner_;
};

} // namespace px
