// The desktop program: skenbrus [FILE.sdb]

#include <QApplication>
#include <QScreen>
#include <QTimer>

#include "ui/HelpWindow.h"
#include "ui/FileCommands.h"
#include "ui/Settings.h"
#include "ui/Translations.h"
#include "ui/main.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Skenbrus"));
    installSwedishTranslations(app);
    // An open help window does not keep the program running once the main window closed.
    helpWindow().setAttribute(Qt::WA_QuitOnClose, false);
    AppSettings settings;
    TForm_Skenbrus form;
    form.applyStartupSettings(settings);
    if (const QScreen* screen = form.screen())
        form.move(screen->availableGeometry().center() - QPoint(form.width() / 2, form.height() / 2));
    form.show();
    // The arguments through Qt: on Windows they come from the wide command line, so a name
    // outside the ANSI code page arrives whole.
    if (const QStringList args = QCoreApplication::arguments(); args.size() > 1) {
        // The project named on the command line is read once the window is up.
        const QString path = args.at(1);
        QTimer::singleShot(0, &form, [&form, path] { form.fileCommands().openStartupFile(path); });
    }
    return app.exec();
}
