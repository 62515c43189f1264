// FileCommands: the "&Arkiv" commands of the main window and the question before it closes.
#include "ui/FileCommands.h"

#include <QDir>
#include <QFileInfo>

#include "model/ProjectFile.h"
#include "ui/Platform.h"
#include "ui/Settings.h"
#include "ui/main.h"

namespace {
const QString kFilter = QStringLiteral("Skenbrus Databas (*.sdb)");
const QString kTitle = QStringLiteral("Skenbrus");

QString fileOnly(const std::string& path) { return QString::fromStdString(fileNameOnly(path)); }

// File names as the system writes them (backslashes on Windows): the project's name in the
// title bar and in every message is the one the user knows.
std::string nativeName(const QString& path) { return QDir::toNativeSeparators(path).toStdString(); }
}  // namespace

FileCommands::FileCommands(TForm_Skenbrus& window) : QObject(&window), w_(window) {}

bool FileCommands::openStartupFile(const QString& path)
{
    const bool ok = readFile(path);
    // Trace files of later runs go beside the project.
    if (ok) QDir::setCurrent(QString::fromStdString(folderOf(path.toStdString())));
    w_.showTrainPage();
    return ok;
}

QString FileCommands::startFolder() const { return w_.appSettings() ? w_.appSettings()->currentDir() : QString(); }

void FileCommands::rememberFolder(const QString& path)
{
    if (w_.appSettings()) w_.appSettings()->setCurrentDir(QString::fromStdString(folderOf(path.toStdString())));
}

bool FileCommands::writeTo(const QString& path)
{
    try {
        writeProject(path.toStdString(), w_.record());
    } catch (const std::exception& e) {
        platform().message(&w_, kTitle, QString::fromStdString(e.what()), MsgIcon::Error, MsgButtons::Ok);
        return false;
    }
    return true;
}

bool FileCommands::writeStamped(const QString& path)
{
    // The file holds the time of its own save (the same form as the stamp of a new
    // project: date and time, 19 characters); a failed write keeps the old stamp.
    const Text19 before = w_.record().lastUpdate;
    w_.record().lastUpdate.setBytes(currentTimestamp());
    if (!writeTo(path)) {
        w_.record().lastUpdate = before;
        return false;
    }
    w_.showInfoTexts();
    return true;
}

bool FileCommands::readFile(const QString& path)
{
    ProjectRecord read;
    try {
        read = readProject(nativeName(path));
    } catch (const ProjectFileError& e) {
        const bool invalid = e.kind == ProjectFileError::Kind::Invalid;
        platform().message(&w_, kTitle, QString::fromStdString(e.what()), invalid ? MsgIcon::Warning : MsgIcon::Error,
                           MsgButtons::Ok);
        return false;
    }
    w_.record() = read;
    w_.document().currentFileName = nativeName(QFileInfo(path).absoluteFilePath());
    // A line-of-sight state left by another project must not block this one's calculation.
    w_.profileCheck().ProfileState = 0;
    w_.showProject();
    w_.showTitle();
    w_.document().modified = false;
    w_.chooseCountry(w_.record().country);
    return true;
}

bool FileCommands::openCommand()
{
    if (!w_.finishEditing()) return false;
    const QString path = platform().openFileName(&w_, startFolder(), kFilter);
    if (path.isEmpty()) return false;
    if (!QFileInfo(path).isFile()) {
        showMessage(&w_, QString::fromUtf8("Du måste välja en giltig skenbrus-databasfil!"));
        return false;
    }
    const bool wasModified = w_.document().modified;
    bool answeredNo = false;
    if (w_.document().modified) {
        // Also a project that was never saved is asked about: its work is not lost silently.
        const MsgAnswer a = askToSave(fileOnly(w_.document().currentFileName));
        if (a == MsgAnswer::Yes) {
            if (!saveBeforeLeaving()) return false;
        } else if (a == MsgAnswer::No) {
            w_.document().modified = false;
            answeredNo = true;
        } else {
            return false;
        }
    }
    const bool ok = readFile(path);
    if (ok)
        rememberFolder(path);
    else if (answeredNo)
        w_.document().modified = wasModified;
    w_.showTrainPage();
    w_.hideResultsPage();
    return ok;
}

bool FileCommands::saveCommand()
{
    if (!w_.finishEditing()) return false;
    if (w_.document().currentFileName.empty()) return saveAsCommand();
    const QString path = QString::fromStdString(w_.document().currentFileName);
    if (!writeStamped(path)) return false;
    w_.document().modified = false;
    rememberFolder(path);
    return true;
}

bool FileCommands::saveAsCommand()
{
    if (!w_.finishEditing()) return false;
    const QString chosen = platform().saveFileName(&w_, startFolder(), kFilter);
    if (chosen.isEmpty()) return false;
    const QFileInfo info(chosen);
    if (!info.absoluteDir().exists()) {
        showMessage(&w_, QString::fromUtf8("Du måste spara filen i en existerande katalog!"));
        return false;
    }
    const QString path = QDir::toNativeSeparators(info.absoluteFilePath());
    // The name becomes the project's only once the file holds it.
    if (!writeStamped(path)) return false;
    w_.document().currentFileName = path.toStdString();
    w_.document().modified = false;
    rememberFolder(path);
    w_.showTitle();
    return true;
}

bool FileCommands::newCommand()
{
    if (!w_.finishEditing()) return false;
    if (w_.document().modified) {
        // New names the project with its folder, Open and closing with the file name only.
        const MsgAnswer a = askToSave(QString::fromStdString(w_.document().currentFileName));
        if (a == MsgAnswer::Cancel) return false;
        if (a == MsgAnswer::Yes) {
            // A save that does not happen keeps the project: New stops.
            if (!saveBeforeLeaving()) return false;
        } else {
            w_.document().modified = false;
        }
    }
    w_.document().currentFileName.clear();
    resetProjectForNew(w_.record(), w_.tickedCountry());
    w_.profileCheck().ProfileState = 0;
    w_.showProject();
    w_.document().modified = false;
    w_.showTitle();
    w_.showTrainPage();
    w_.hideResultsPage();
    return true;
}

bool FileCommands::confirmClose()
{
    if (!w_.finishEditing()) return false;
    if (!w_.document().modified) return true;
    const QString text = w_.document().currentFileName.empty()
                             ? QString::fromUtf8("Data har ändrats. Vill du spara innan programmet stängs?")
                             : QString::fromUtf8("Data har ändrats i ") + fileOnly(w_.document().currentFileName) +
                                   QString::fromUtf8(". Vill du spara innan programmet stängs?");
    const MsgAnswer a = platform().message(&w_, kTitle, text, MsgIcon::Question, MsgButtons::YesNoCancel);
    if (a == MsgAnswer::No) return true;
    if (a != MsgAnswer::Yes) return false;
    // The window stays open when the project could not be saved.
    return saveBeforeLeaving();
}

MsgAnswer FileCommands::askToSave(const QString& shownName)
{
    const QString text = shownName.isEmpty() ? QString::fromUtf8("Vill du spara ändringar?")
                                             : QString::fromUtf8("Vill du spara ändringar i ") + shownName + '?';
    return platform().message(&w_, kTitle, text, MsgIcon::Question, MsgButtons::YesNoCancel);
}

bool FileCommands::saveBeforeLeaving()
{
    if (w_.document().currentFileName.empty()) return saveAsCommand();
    if (!writeTo(QString::fromStdString(w_.document().currentFileName))) return false;
    w_.document().modified = false;
    return true;
}
