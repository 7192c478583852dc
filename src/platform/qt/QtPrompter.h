#pragma once
// The prompter of the running program: Qt message boxes with French button
// texts and Qt's own (non-native) file, colour and font dialogs, all modal
// over the parent window given at construction.
#include "platform/Prompter.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>

namespace px {

class QtPrompter : public Prompter {
public:
    explicit QtPrompter(QWidget* parent = nullptr) : parent_(parent) {}
    void setParentWidget(QWidget* parent) { parent_ = parent; }

    // An empty caption shows the application's name. Closing a box that has
    // no Cancel button answers with its "no" button (No, or OK for an OK box).
    Answer ask(const std::string& text, const std::string& caption, Buttons buttons,
               MessageKind kind = MessageKind::Confirmation) override;
    void message(const std::string& text, const std::string& caption = std::string(),
                 MessageKind kind = MessageKind::Information) override;

    // The open dialog accepts existing files only; any name can be typed, even
    // one the filter does not list. The save dialog adds an extension to a
    // name typed without one — that of the selected filter when its first
    // pattern is a plain "*.ext", else the request's default extension — and
    // then asks before replacing an existing file ("Non" returns to the
    // dialog).
    std::optional<FileChoice> openFileName(const FileDialogRequest& request) override;
    std::optional<FileChoice> saveFileName(const FileDialogRequest& request) override;

    std::optional<Colour> chooseColour(Colour initial) override;
    // Qt's font dialog has no colour: the initial font's colour is kept.
    std::optional<FontSpec> chooseFont(const FontSpec& initial) override;

private:
    std::optional<FileChoice> runFileDialog(const FileDialogRequest& request, bool save);
    QPointer<QWidget> parent_;
};

// The program's filter "Desc|*.a;*.b|Desc2|*.c" as Qt name filters
// {"Desc (*.a *.b)", "Desc2 (*.c)"}. "*.*" means every file, as it always did
// for the program, so it becomes "*". A trailing description without
// patterns is dropped.
QStringList qtNameFilters(const std::string& programFilter);

// The plain extension of a Qt name filter's first pattern ("png" for
// "Fichiers PNG (*.png)"), or "" when that pattern is not "*.ext".
std::string filterExtension(const QString& qtFilter);

// `path` with "." + `extension` appended when its file name has no extension
// (no dot after the last '/'); an empty extension leaves it as it is.
std::string withDefaultExtension(const std::string& path, const std::string& extension);

} // namespace px
