#pragma once
// A Qt Gui application for painting files from the command-line tool, which has none.

#include <QGuiApplication>
#include <memory>

// Starts a QGuiApplication on the "offscreen" platform when no application runs, and keeps Qt's
// own warnings (a headless environment, a file that cannot be opened) quiet while it lives: the
// callers return their own Swedish message instead. usable() is false when another kind of
// application (a plain QCoreApplication) already runs, since fonts need a GUI application.
class HeadlessApp {
public:
    HeadlessApp();
    ~HeadlessApp();
    HeadlessApp(const HeadlessApp&) = delete;
    HeadlessApp& operator=(const HeadlessApp&) = delete;
    bool usable() const { return usable_; }

private:
    QtMessageHandler previousHandler_;
    // The application takes its arguments out of argv, so they are fresh for every instance
    // and outlive the application.
    char arg0_[9] = "skenbrus", arg1_[10] = "-platform", arg2_[10] = "offscreen";
    char* argv_[4] = {arg0_, arg1_, arg2_, nullptr};
    int argc_ = 3;
    std::unique_ptr<QGuiApplication> app_;
    bool usable_ = true;
};
