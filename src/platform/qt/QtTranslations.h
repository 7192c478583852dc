#pragma once
// Qt's own French translations of its standard dialogs (file, colour and
// font dialogs, message-box buttons, the file list's sizes and dates), from
// the translations installed with Qt. The program speaks French whatever the
// user's locale; numbers, sizes and dates keep the user's locale.
#include <memory>

class QTranslator;

namespace px {

class QtFrenchTranslations {
public:
    // Installs the translator on the running application when the
    // translation file exists.
    QtFrenchTranslations();
    // Removes the translator.
    ~QtFrenchTranslations();
    QtFrenchTranslations(const QtFrenchTranslations&) = delete;
    QtFrenchTranslations& operator=(const QtFrenchTranslations&) = delete;

    // True when Qt's French translation file was found and installed.
    bool loaded() const { return loaded_; }

private:
    std::unique_ptr<QTranslator> translator_;
    bool loaded_ = false;
};

} // namespace px
