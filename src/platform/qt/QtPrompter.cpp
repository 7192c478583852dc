#include "platform/qt/QtPrompter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QColorDialog>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QHeaderView>
#include <QListView>
#include <QMessageBox>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QTimer>
#include <QTreeView>

#include <algorithm>

namespace px {

namespace {

QString qs(const std::string& s)
{
    return QString::fromStdString(s);
}

QMessageBox::Icon iconOf(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Information:
        return QMessageBox::Information;
    case MessageKind::Warning:
        return QMessageBox::Warning;
    case MessageKind::Error:
        return QMessageBox::Critical;
    case MessageKind::Confirmation:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons standardButtons(Buttons buttons)
{
    switch (buttons) {
    case Buttons::Ok:
        return QMessageBox::Ok;
    case Buttons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case Buttons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case Buttons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

// The button texts of the program's message boxes. Qt's French translation
// (QtFrenchTranslations) names them already; these stand in for any text it
// lacks, so that no English button shows when the translation is missing.
void frenchButtons(QMessageBox& box)
{
    const struct {
        QMessageBox::StandardButton button;
        const char* english; // Qt's own text, as its translations know it
        const char* french;
    } texts[] = {{QMessageBox::Yes, "&Yes", "&Oui"},
                 {QMessageBox::No, "&No", "&Non"},
                 {QMessageBox::Cancel, "Cancel", "Annuler"},
                 {QMessageBox::Ok, "OK", "OK"}};
    for (const auto& t : texts) {
        QAbstractButton* b = box.button(t.button);
        const QString translated = QCoreApplication::translate("QPlatformTheme", t.english);
        if (b && translated == QLatin1String(t.english))
            b->setText(QString::fromUtf8(t.french));
    }
}

Answer answerOf(QMessageBox::StandardButton pressed, Buttons buttons)
{
    switch (pressed) {
    case QMessageBox::Ok:
        return Answer::Ok;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    default:
        break;
    }
    // Closed without a button.
    switch (buttons) {
    case Buttons::Ok:
        return Answer::Ok;
    case Buttons::YesNo:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

// Widens a shown file dialog, within the screen's available width, until
// its detail view shows every column whole (then narrows the name column to
// its names if need be). The last column stretches to the
// view's edge, so its own need is the width of its texts and its title.
void widenToColumns(QFileDialog& dialog, const QTreeView& tree)
{
    QHeaderView* header = tree.header();
    const auto& view = static_cast<const QAbstractItemView&>(tree);
    // What a column's texts and title need.
    const auto textWidth = [&](int column) {
        return std::max(view.sizeHintForColumn(column), header->sectionSizeHint(column));
    };
    const int last = header->logicalIndex(header->count() - 1);
    const int missing = header->sectionPosition(last) + textWidth(last) - tree.viewport()->width();
    if (!dialog.isVisible() || missing <= 0)
        return;
    const QRect available = dialog.screen()->availableGeometry();
    const int frame = dialog.frameGeometry().width() - dialog.width();
    const int width = std::min(dialog.width() + missing, available.width() - frame);
    if (width <= dialog.width()) {
        // As wide as the screen: the name column gives up the room its names
        // do not use.
        const int names = header->logicalIndex(0);
        const int spare = header->sectionSize(names) - textWidth(names);
        if (spare > 0 && names != last)
            header->resizeSection(names, header->sectionSize(names) - std::min(spare, missing));
        return;
    }
    dialog.resize(width, dialog.height());
    const int overflow = dialog.frameGeometry().right() - available.right();
    if (overflow > 0)
        dialog.move(dialog.x() - overflow, dialog.y());
    // The columns may take some of the new room: looked at again once laid out.
    QTimer::singleShot(0, &dialog, [&dialog, &tree] { widenToColumns(dialog, tree); });
}

// Nothing in the file dialog is cut short: the side bar of places gets the
// width of its longest entry (Qt gives it a fixed 70 pixels, and the French
// "Ordinateur" does not fit), and the detail view's size, type and date
// columns keep the width of their texts.
void fitFileDialogColumns(QFileDialog& dialog)
{
    if (auto* tree = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
        for (int column = 1; column < tree->header()->count(); ++column)
            tree->header()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
        // The dialog widens, within the screen, as far as the columns need
        // (their texts arrive after the folder is listed).
        // Looked at once the change is laid out.
        const auto later = [&dialog, tree] {
            QTimer::singleShot(0, &dialog, [&dialog, tree] { widenToColumns(dialog, *tree); });
        };
        QObject::connect(tree->header(), &QHeaderView::sectionResized, &dialog, later);
        QObject::connect(tree->header(), &QHeaderView::geometriesChanged, &dialog, later);
    }
    auto* sidebar = dialog.findChild<QListView*>(QStringLiteral("sidebar"));
    auto* splitter = dialog.findChild<QSplitter*>(QStringLiteral("splitter"));
    if (!sidebar || !splitter || splitter->count() != 2)
        return;
    // The splitter has its real width once the dialog is shown.
    QTimer::singleShot(0, &dialog, [sidebar, splitter] {
        const int wanted = sidebar->sizeHintForColumn(0) + 2 * sidebar->frameWidth() +
                           sidebar->verticalScrollBar()->sizeHint().width();
        const QList<int> sizes = splitter->sizes();
        const int total = sizes.value(0) + sizes.value(1);
        if (sizes.value(0) < wanted && total > 2 * wanted)
            splitter->setSizes({wanted, total - wanted});
    });
}

QString captionOr(const std::string& caption)
{
    return caption.empty() ? QGuiApplication::applicationDisplayName() : qs(caption);
}

} // namespace

QStringList qtNameFilters(const std::string& programFilter)
{
    const QStringList parts = qs(programFilter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString& p : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QString pattern = p.trimmed();
            if (!pattern.isEmpty())
                patterns << (pattern == QLatin1String("*.*") ? QStringLiteral("*") : pattern);
        }
        if (patterns.isEmpty())
            patterns << QStringLiteral("*");
        filters << parts[i].trimmed() + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return filters;
}

std::string filterExtension(const QString& qtFilter)
{
    const qsizetype open = qtFilter.lastIndexOf(QLatin1Char('('));
    if (open < 0)
        return std::string();
    const QString first = qtFilter.mid(open + 1).chopped(1).split(QLatin1Char(' ')).value(0);
    if (!first.startsWith(QLatin1String("*.")))
        return std::string();
    const QString ext = first.mid(2);
    if (ext.isEmpty() || ext.contains(QLatin1Char('*')) || ext.contains(QLatin1Char('?')) ||
        ext.contains(QLatin1Char('.')) || ext.contains(QLatin1Char('[')))
        return std::string();
    return ext.toStdString();
}

std::string withDefaultExtension(const std::string& path, const std::string& extension)
{
    if (extension.empty())
        return path;
    const std::size_t slash = path.find_last_of('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    if (nameStart >= path.size() || path.find('.', nameStart) != std::string::npos)
        return path;
    return path + "." + extension;
}

Answer QtPrompter::ask(const std::string& text, const std::string& caption, Buttons buttons, MessageKind kind)
{
    QMessageBox box(iconOf(kind), captionOr(caption), qs(text), standardButtons(buttons), parent_);
    frenchButtons(box);
    box.exec();
    return answerOf(box.standardButton(box.clickedButton()), buttons);
}

void QtPrompter::message(const std::string& text, const std::string& caption, MessageKind kind)
{
    ask(text, caption, Buttons::Ok, kind);
}

std::optional<FileChoice> QtPrompter::runFileDialog(const FileDialogRequest& request, bool save)
{
    QFileDialog dialog(parent_);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // The overwrite question is asked below, after the default extension
    // has been added to the name.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setWindowTitle(!request.title.empty() ? qs(request.title)
                                                 : QString::fromUtf8(save ? "Enregistrer sous" : "Ouvrir"));
    const QStringList filters = qtNameFilters(request.filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        const int index = std::clamp(request.filterIndex, 1, int(filters.size()));
        dialog.selectNameFilter(filters[index - 1]);
    }
    if (!request.initialDir.empty())
        dialog.setDirectory(qs(request.initialDir));
    if (!request.fileName.empty())
        dialog.selectFile(qs(request.fileName));
    fitFileDialogColumns(dialog);

    for (;;) {
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        std::string path = QFile::encodeName(dialog.selectedFiles().first()).toStdString();
        FileChoice choice{path, 1};
        if (!filters.isEmpty())
            choice.filterIndex = int(std::max<qsizetype>(filters.indexOf(dialog.selectedNameFilter()), 0)) + 1;
        if (save) {
            std::string ext = filterExtension(dialog.selectedNameFilter());
            if (ext.empty())
                ext = request.defaultExtension;
            path = withDefaultExtension(path, ext);
            choice.path = path;
        }
        if (save && QFileInfo::exists(QFile::decodeName(path.c_str()))) {
            const std::string name = QFileInfo(QFile::decodeName(path.c_str())).fileName().toStdString();
            const Answer replace = ask(name + " existe déjà.\nVoulez-vous le remplacer ?",
                                       dialog.windowTitle().toStdString(), Buttons::YesNo, MessageKind::Warning);
            if (replace != Answer::Yes) {
                dialog.selectFile(QFile::decodeName(path.c_str()));
                continue;
            }
        }
        return choice;
    }
}

std::optional<FileChoice> QtPrompter::openFileName(const FileDialogRequest& request)
{
    return runFileDialog(request, false);
}

std::optional<FileChoice> QtPrompter::saveFileName(const FileDialogRequest& request)
{
    return runFileDialog(request, true);
}

std::optional<Colour> QtPrompter::chooseColour(Colour initial)
{
    const QColor chosen = QColorDialog::getColor(QColor(redOf(initial), greenOf(initial), blueOf(initial)), parent_,
                                                 QStringLiteral("Couleurs"), QColorDialog::DontUseNativeDialog);
    if (!chosen.isValid())
        return std::nullopt;
    return makeColour(chosen.red(), chosen.green(), chosen.blue());
}

std::optional<FontSpec> QtPrompter::chooseFont(const FontSpec& initial)
{
    QFont font(qs(initial.family));
    font.setPointSize(std::max(1, initial.pointSize));
    font.setBold(initial.bold);
    font.setItalic(initial.italic);
    font.setUnderline(initial.underline);
    font.setStrikeOut(initial.strikeOut);
    bool ok = false;
    const QFont chosen =
        QFontDialog::getFont(&ok, font, parent_, QStringLiteral("Police"), QFontDialog::DontUseNativeDialog);
    if (!ok)
        return std::nullopt;
    FontSpec result = initial;
    result.family = chosen.family().toStdString();
    if (chosen.pointSize() > 0)
        result.pointSize = chosen.pointSize();
    result.bold = chosen.bold();
    result.italic = chosen.italic();
    result.underline = chosen.underline();
    result.strikeOut = chosen.strikeOut();
    return result;
}

} // namespace px
