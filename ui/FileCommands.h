#pragma once
// FileCommands: the "&Arkiv" commands of the main window — "&Hämta...", "&Spara", "Spara S&om...",
// "&Ny..." — the project named on the command line, and the question asked before the window
// closes. The file itself is read and written by model/ProjectFile.

#include <QObject>
#include <QString>

#include "ui/Platform.h"

class TForm_Skenbrus;

class FileCommands : public QObject {
    Q_OBJECT
public:
    explicit FileCommands(TForm_Skenbrus& window);

    // The commands return true when they did what was asked, false when cancelled or refused.
    bool openCommand();
    bool saveCommand();
    bool saveAsCommand();
    bool newCommand();
    // Asked before the window closes: true when it may close.
    bool confirmClose();
    // Reads the project named on the command line; false when it could not be read (the
    // message has been shown and the start-up project stays).
    bool openStartupFile(const QString& path);

private:
    bool writeTo(const QString& path);
    // Save and Save As: the new lastUpdate stamp, then the write.
    bool writeStamped(const QString& path);
    void rememberFolder(const QString& path);
    QString startFolder() const;
    bool readFile(const QString& path);
    // "Vill du spara ändringar …?" with the project's name as given (none for an unnamed one).
    MsgAnswer askToSave(const QString& shownName);
    // Yes to a question about unsaved work: the project goes to its own file (no new stamp)
    // or, unnamed, through Save As. False when it was not saved.
    bool saveBeforeLeaving();

    TForm_Skenbrus& w_;
};
