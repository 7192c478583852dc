// The key-filtered number fields refuse characters, never editing keys or
// shortcuts: select all, copy, paste, the arrows, Home, End, Delete and
// Backspace work in them as in any field.
#include "app/MainWindowFixture.h"
#include "platform/qt/CharacterFilter.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>

namespace px::test {
namespace {

// One key: a character to type, or a key with its modifiers.
struct Key {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    QString text;
};

Key typed(QChar c)
{
    return {Qt::Key_unknown, Qt::NoModifier, QString(c)};
}
Key ctrl(Qt::Key key, char controlCharacter)
{
    return {key, Qt::ControlModifier, QString(QChar(controlCharacter))};
}
Key plain(Qt::Key key, QString text = {})
{
    return {key, Qt::NoModifier, text};
}

void press(QWidget* field, const std::vector<Key>& keys)
{
    for (const Key& k : keys) {
        QKeyEvent down(QEvent::KeyPress, k.key, k.modifiers, k.text);
        QCoreApplication::sendEvent(field, &down);
        QKeyEvent up(QEvent::KeyRelease, k.key, k.modifiers, k.text);
        QCoreApplication::sendEvent(field, &up);
    }
}

std::vector<Key> typing(const char* text)
{
    std::vector<Key> keys;
    for (const char* c = text; *c; ++c)
        keys.push_back(typed(QLatin1Char(*c)));
    return keys;
}

std::vector<Key> operator+(std::vector<Key> a, const std::vector<Key>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct EditingCase {
    const char* name;
    const char* initial;
    std::vector<Key> keys;
    const char* digitsOnly;    // the field's text with the digit filter
    const char* digitsOrMinus; // with the filter that also takes "-"
};

class CharacterFilterEditing : public ::testing::TestWithParam<EditingCase> {};

TEST_P(CharacterFilterEditing, LetsEditingKeysThrough)
{
    const EditingCase& c = GetParam();
    QApplication::clipboard()->setText(QStringLiteral("42"));
    for (bool minus : {false, true}) {
        QLineEdit field(QString::fromLatin1(c.initial));
        CharacterFilter filter(minus ? isAsciiDigitOrMinus : isAsciiDigit, &field);
        field.installEventFilter(&filter);
        field.setCursorPosition(int(field.text().size()));
        press(&field, c.keys);
        EXPECT_EQ(field.text(), QString::fromLatin1(minus ? c.digitsOrMinus : c.digitsOnly)) << "minus: " << minus;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Keys, CharacterFilterEditing,
    ::testing::Values(EditingCase{"SelectAllThenType", "320",
                                  std::vector<Key>{ctrl(Qt::Key_A, 1)} + typing("ab-12.x34567"), "1234567", "-1234567"},
                      EditingCase{"ArrowsMoveTheCursor",
                                  "12",
                                  {plain(Qt::Key_Left), typed('9'), plain(Qt::Key_Home), typed('5'), plain(Qt::Key_End),
                                   typed('0')},
                                  "51920",
                                  "51920"},
                      EditingCase{"DeleteAndBackspace",
                                  "1234",
                                  {plain(Qt::Key_Backspace, "\b"), plain(Qt::Key_Home), plain(Qt::Key_Delete, "\x7f")},
                                  "23",
                                  "23"},
                      // Ctrl+C copies the selection ("12"), Ctrl+V pastes it at the end.
                      EditingCase{"CopyAndPaste",
                                  "12",
                                  {ctrl(Qt::Key_A, 1), ctrl(Qt::Key_C, 3), plain(Qt::Key_End), ctrl(Qt::Key_V, 22)},
                                  "1212",
                                  "1212"},
                      // Pasting what the clipboard held before ("42"), and undoing it.
                      EditingCase{"PasteAndUndo", "7", {ctrl(Qt::Key_V, 22), ctrl(Qt::Key_Z, 26)}, "7", "7"},
                      EditingCase{"Paste", "7", {ctrl(Qt::Key_V, 22)}, "742", "742"}),
    [](const auto& info) { return std::string(info.param.name); });

// The program's filtered fields: after Ctrl+A, typing replaces the whole
// field with the characters the field takes.
struct FieldCase {
    const char* dialog;
    const char* field;
    const char* expected;
};

class FilteredFields : public MainWindowFixture, public ::testing::WithParamInterface<FieldCase> {};

TEST_P(FilteredFields, SelectAllThenTypeReplacesTheField)
{
    create();
    QDialog* dialog = window->dialog(GetParam().dialog);
    ASSERT_NE(dialog, nullptr);
    auto* field = dialog->findChild<QLineEdit*>(QLatin1String(GetParam().field));
    ASSERT_NE(field, nullptr);
    press(field, std::vector<Key>{ctrl(Qt::Key_A, 1)} + typing("ab-12.x34567"));
    EXPECT_EQ(field->text(), QLatin1String(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(Fields, FilteredFields,
                         ::testing::Values(FieldCase{"TForm4", "Edit1", "1234"}, // "Nouveau...": four digits at most
                                           FieldCase{"TForm4", "Edit3", "12"},   // two for the resolution
                                           FieldCase{"TForm27", "e1", "-1234567"},
                                           FieldCase{"TForm27", "ediv", "-1234567"}),
                         [](const auto& info) {
                             return std::string(info.param.dialog) + "_" + std::string(info.param.field);
                         });

} // namespace
} // namespace px::test
