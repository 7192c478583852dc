#include "effects/dialogs/CustomFilterDialog.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <charconv>

#include "platform/qt/CharacterFilter.h"
#include "platform/qt/DialogButtons.h"

namespace px {

namespace {
constexpr const char* kInitialTexts[10] = {"2", "1", "1", "1", "-3", "-1", "1", "-1", "-1", "1"};

// A whole decimal number in the 32-bit range, with an optional sign.
std::optional<int> decimalInteger(const std::string& text)
{
    const char* begin = text.data();
    const char* end = begin + text.size();
    if (begin != end && *begin == '+')
        ++begin;
    int value = 0;
    const auto [ptr, ec] = std::from_chars(begin, end, value);
    if (begin == end || ec != std::errc() || ptr != end)
        return std::nullopt;
    return value;
}
} // namespace

CustomFilterDialog::CustomFilterDialog(const EffectCommand& command, Prompter& prompter, QWidget* parent)
    : PreviewDialog(command, prompter, parent)
{
    setWindowTitle(QStringLiteral("Créer son filtre..."));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(makePreviews("Image originale", "Image de destination"));

    auto* group = new QGroupBox(QStringLiteral("Options du filtres"), this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    auto* grid = new QGridLayout(group);
    // Digits and "-" can be typed; editing keys and shortcuts work as usual.
    auto* numbersOnly = new CharacterFilter(isAsciiDigitOrMinus, this);
    for (int i = 0; i < 10; ++i) {
        auto* edit = new QLineEdit(QString::fromLatin1(kInitialTexts[i]), group);
        edit->setObjectName(i < 9 ? QStringLiteral("e%1").arg(i + 1) : QStringLiteral("ediv"));
        edit->setFixedWidth(48);
        edit->installEventFilter(numbersOnly);
        connect(edit, &QLineEdit::textChanged, this, &CustomFilterDialog::fieldEdited);
        fields_[std::size_t(i)] = edit;
        if (i < 9)
            grid->addWidget(edit, i / 3, i % 3);
    }
    auto* divisor = new QLabel(QStringLiteral("Diviseur"), group);
    divisor->setObjectName(QStringLiteral("Label3"));
    grid->addWidget(divisor, 3, 0, 1, 2);
    grid->addWidget(fields_[9], 3, 2);
    layout->addWidget(group);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    const auto [ok, cancel] = makeDialogButtons(this, QStringLiteral("&OK"), QStringLiteral("&Annuler"));
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    ok->setFocus();
}

std::optional<std::vector<int>> CustomFilterDialog::readValues(std::string& error) const
{
    std::vector<int> values;
    for (const QLineEdit* edit : fields_) {
        const std::string text = edit->text().toStdString();
        const auto value = decimalInteger(text);
        if (!value) {
            error = "'" + text + "' n'est pas une valeur entière correcte.";
            return std::nullopt;
        }
        values.push_back(*value);
    }
    return values;
}

std::vector<int> CustomFilterDialog::acceptedValues() const
{
    std::string error;
    auto values = readValues(error);
    if (!values)
        throw EffectError(error);
    return *values;
}

std::optional<std::vector<int>> CustomFilterDialog::previewValues(std::string& error) const
{
    return readValues(error);
}

void CustomFilterDialog::fieldEdited(const QString& text)
{
    if (text.isEmpty() || text == QLatin1String("-"))
        return;
    if (!source()->bitmap().isEmpty())
        refreshPreview();
}

} // namespace px
