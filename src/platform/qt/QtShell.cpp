#include "platform/qt/QtShell.h"

#include "platform/Prompter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace px {

namespace {

// A local path (with or without a leading "/") as a file URL, anything with a
// scheme as it is.
QUrl toUrl(const std::string& text)
{
    const QString s = QString::fromStdString(text).trimmed();
    if (s.isEmpty())
        return QUrl();
    if (s.startsWith(QLatin1Char('/')))
        return QUrl::fromLocalFile(s);
    const QUrl url(s, QUrl::StrictMode);
    if (url.isValid() && !url.scheme().isEmpty())
        return url;
    if (s.contains(QLatin1Char(':')))
        return QUrl(); // looks like an address, but a broken one
    return QUrl::fromLocalFile(QFileInfo(s).absoluteFilePath());
}

bool fail(std::string* error, const std::string& text)
{
    if (error)
        *error = text;
    return false;
}

} // namespace

QtShell::QtShell(Prompter* prompter) : prompter_(prompter), launchers_(std::make_unique<QObject>()) {}

QtShell::~QtShell() = default;

// The launcher's exit status is the only sign of failure: QDesktopServices
// reports success whatever happens next, so the launcher is run here.
bool QtShell::openUrl(const std::string& url)
{
    const QUrl target = toUrl(url);
    if (!target.isValid() || target.isEmpty())
        return false;
    const std::string address = target.isLocalFile() ? target.toLocalFile().toStdString() : url;
    auto* process = new QProcess(launchers_.get());
    process->setProgram(launcher_);
    process->setArguments({target.toString(QUrl::FullyEncoded)});
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    QObject::connect(process, &QProcess::finished, launchers_.get(),
                     [this, process, address](int exitCode, QProcess::ExitStatus status) {
                         process->deleteLater();
                         if (status != QProcess::NormalExit || exitCode != 0)
                             reportOpenFailure(address);
                     });
    process->start();
    if (!process->waitForStarted()) {
        delete process;
        reportOpenFailure(address);
        return false;
    }
    return true;
}

void QtShell::reportOpenFailure(const std::string& address)
{
    if (prompter_)
        prompter_->error("Impossible d'ouvrir " + address);
}

bool QtShell::moveToTrash(const std::string& path, std::string* error)
{
    const std::string refused = "Impossible de mettre " + path + " à la corbeille.";
    const QString file = QFile::decodeName(path.c_str());
    const QFileInfo info(file);
    if (!info.exists() && !info.isSymLink())
        return fail(error, "Le fichier " + path + " n'existe pas.");

    // Without the data folder the trash lands in "./files" of the current
    // folder while the move still reports success: make sure it exists.
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (dataHome.isEmpty() || !QDir().mkpath(dataHome))
        return fail(error, refused);

    QString inTrash;
    if (!QFile::moveToTrash(file, &inTrash))
        return fail(error, refused);
    if (inTrash.isEmpty() || QFileInfo(inTrash).isRelative()) {
        // Put the file back where it was rather than leave it in a stray
        // "files" folder, and remove the record written beside it.
        if (!inTrash.isEmpty()) {
            const QFileInfo stray(inTrash);
            if (QFile::rename(stray.absoluteFilePath(), info.absoluteFilePath())) {
                QDir trash = stray.absoluteDir();
                trash.cdUp();
                QFile::remove(
                    trash.filePath(QStringLiteral("info/") + stray.fileName() + QStringLiteral(".trashinfo")));
                trash.rmdir(QStringLiteral("info"));
                trash.rmdir(QStringLiteral("files"));
            }
        }
        return fail(error, refused);
    }
    return true;
}

} // namespace px
