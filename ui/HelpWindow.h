#pragma once
// The built-in help: one window showing the help pages compiled into the program.

#include <QDialog>

class QTextBrowser;

class HelpWindow : public QDialog {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);
    // Shows the topic of a help context; 0 shows the contents.
    void showTopic(int context);
    QTextBrowser* browser() const { return browser_; }
    // The help contexts that have a topic.
    static bool hasTopic(int context);

private:
    QTextBrowser* browser_;
};

// The window used by the program's help commands (created on first use).
HelpWindow& helpWindow();
