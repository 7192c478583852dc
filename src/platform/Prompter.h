#pragma once
// Every question, message and file, colour or font choice that a command puts
// to the user goes through this interface. The GUI implementation shows real
// Qt dialogs (platform/qt/QtPrompter); tests use ScriptedPrompter.
// Texts are UTF-8.
#include "graphics/Colour.h"
#include "graphics/Font.h"

#include <optional>
#include <string>

namespace px {

enum class Answer { Ok, Cancel, Yes, No };

enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };

enum class MessageKind { Information, Warning, Error, Confirmation };

struct FileChoice {
    std::string path;
    int filterIndex = 1; // 1-based, as the file dialogs of the program count filters
};

struct FileDialogRequest {
    std::string title;
    // Filter string of the program: "Description|*.ext;*.ext2|Description|*.x"
    std::string filter;
    int filterIndex = 1;
    std::string initialDir;
    std::string fileName;
    std::string defaultExtension; // without the dot
};

class Prompter {
public:
    virtual ~Prompter() = default;

    // A message box: text, caption, buttons; returns the button pressed.
    virtual Answer ask(const std::string& text, const std::string& caption, Buttons buttons,
                       MessageKind kind = MessageKind::Confirmation) = 0;
    // A message with one OK button.
    virtual void message(const std::string& text, const std::string& caption = std::string(),
                         MessageKind kind = MessageKind::Information) = 0;
    // The application's error report of an unexpected failure.
    void error(const std::string& text, const std::string& caption = "Erreur")
    {
        message(text, caption, MessageKind::Error);
    }

    virtual std::optional<FileChoice> openFileName(const FileDialogRequest& request) = 0;
    virtual std::optional<FileChoice> saveFileName(const FileDialogRequest& request) = 0;
    virtual std::optional<Colour> chooseColour(Colour initial) = 0;
    virtual std::optional<FontSpec> chooseFont(const FontSpec& initial) = 0;
};

} // namespace px
