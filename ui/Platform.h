#pragma once
// The seam between the windows and the desktop: message boxes, the input box, file
// dialogs, the modal runs of the program's own dialogs, the printer check, the beep and
// help. The program uses QtPlatform; tests install a ScriptedPlatform that answers from
// queues and records what was asked.

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

class QDialog;
class QWidget;

enum class MsgIcon { Information, Warning, Error, Question };
enum class MsgButtons { Ok, YesNoCancel, YesNo, AbortRetry };
enum class MsgAnswer { Ok, Yes, No, Cancel, Abort, Retry };

class Platform {
public:
    virtual ~Platform() = default;
    virtual MsgAnswer message(QWidget* parent, const QString& title, const QString& text, MsgIcon icon,
                              MsgButtons buttons) = 0;
    // The input box; nullopt when cancelled.
    virtual std::optional<QString> inputBox(QWidget* parent, const QString& title, const QString& prompt,
                                            const QString& defaultText) = 0;
    // File dialogs; an empty string when cancelled.
    virtual QString openFileName(QWidget* parent, const QString& dir, const QString& filter) = 0;
    virtual QString saveFileName(QWidget* parent, const QString& dir, const QString& filter) = 0;
    // Runs a dialog modally and returns its result (QDialog::Accepted or Rejected).
    virtual int execDialog(QDialog& dialog) = 0;
    // Whether the system has a printer to print on.
    virtual bool printerInstalled() = 0;
    virtual void beep() = 0;
    // Help topic by context number; 0 opens the contents.
    virtual void showHelp(QWidget* parent, int context) = 0;
};

// The platform in use (QtPlatform unless a test installed another one).
Platform& platform();
// Installs p (not owned); nullptr restores the default.
void setPlatform(Platform* p);

// Shorthand for a message with one OK button.
void showMessage(QWidget* parent, const QString& text, MsgIcon icon = MsgIcon::Warning);

class QtPlatform : public Platform {
public:
    MsgAnswer message(QWidget* parent, const QString& title, const QString& text, MsgIcon icon,
                      MsgButtons buttons) override;
    std::optional<QString> inputBox(QWidget* parent, const QString& title, const QString& prompt,
                                    const QString& defaultText) override;
    QString openFileName(QWidget* parent, const QString& dir, const QString& filter) override;
    QString saveFileName(QWidget* parent, const QString& dir, const QString& filter) override;
    int execDialog(QDialog& dialog) override;
    bool printerInstalled() override;
    void beep() override;
    void showHelp(QWidget* parent, int context) override;
};

// For tests: every question is recorded; answers come from queues (OK / cancel when empty).
// A dialog is answered by the next of dialogAnswers, which gets the real dialog, may work its
// controls as a user would and returns the result; with none queued, by otherDialogs when set
// (d.exec() runs the real modal loop), else it is rejected unseen.
class ScriptedPlatform : public Platform {
public:
    struct Message {
        QString title, text;
        MsgIcon icon;
        MsgButtons buttons;
    };
    std::vector<Message> messages;
    std::deque<MsgAnswer> answers;
    std::vector<QString> inputPrompts;
    std::deque<std::optional<QString>> inputAnswers;
    std::deque<QString> fileAnswers;
    std::vector<QString> dialogs;  // object names of the dialogs run
    std::deque<std::function<int(QDialog&)>> dialogAnswers;
    std::function<int(QDialog&)> otherDialogs;
    bool printer = false;
    int beeps = 0;
    std::vector<int> helpContexts;

    MsgAnswer message(QWidget*, const QString& title, const QString& text, MsgIcon icon, MsgButtons buttons) override;
    std::optional<QString> inputBox(QWidget*, const QString& title, const QString& prompt,
                                    const QString& defaultText) override;
    QString openFileName(QWidget*, const QString&, const QString&) override;
    QString saveFileName(QWidget*, const QString&, const QString&) override;
    int execDialog(QDialog& dialog) override;
    bool printerInstalled() override { return printer; }
    void beep() override { ++beeps; }
    void showHelp(QWidget*, int context) override { helpContexts.push_back(context); }

    QStringList messageTexts() const;
};

// Installs a ScriptedPlatform for the lifetime of the guard.
class ScopedScriptedPlatform {
public:
    ScopedScriptedPlatform() { setPlatform(&p); }
    ~ScopedScriptedPlatform() { setPlatform(nullptr); }
    ScriptedPlatform* operator->() { return &p; }
    ScriptedPlatform& operator*() { return p; }

private:
    ScriptedPlatform p;
};
