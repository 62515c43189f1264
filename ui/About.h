#pragma once
// TForm_About, the About box: the program's name and version.

#include <QDialog>

// The four-part version of the build, "4.5.0.4".
QString programVersionText();

class TForm_About : public QDialog {
    Q_OBJECT
public:
    explicit TForm_About(QWidget* parent = nullptr);
    void showAbout();

protected:
    void changeEvent(QEvent* e) override;
};
