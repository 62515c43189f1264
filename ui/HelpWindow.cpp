#include "ui/HelpWindow.h"

#include <QTextBrowser>
#include <QVBoxLayout>

// The help pages live in a resource of this library; a static library must register it.
static void initHelpResource() { Q_INIT_RESOURCE(help); }

HelpWindow::HelpWindow(QWidget* parent) : QDialog(parent)
{
    initHelpResource();
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Skenbrus - Hjälp"));
    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("HelpBrowser"));
    browser_->setOpenLinks(true);
    browser_->setSource(QUrl(QStringLiteral("qrc:/help/skenbrus.html")));
    auto* lay = new QVBoxLayout(this);
    lay->addWidget(browser_);
    resize(640, 520);
}

bool HelpWindow::hasTopic(int context)
{
    static const int topics[] = {0, 10, 50, 51, 52, 53, 54, 55, 56, 80, 100, 101, 102, 103, 104,
                                 105, 106, 107, 108, 109, 110, 111, 112, 201, 202, 211};
    for (int t : topics)
        if (t == context) return true;
    return false;
}

void HelpWindow::showTopic(int context)
{
    const int topic = hasTopic(context) ? context : 0;
    browser_->setSource(QUrl(QStringLiteral("qrc:/help/skenbrus.html#h%1").arg(topic)));
    browser_->scrollToAnchor(QStringLiteral("h%1").arg(topic));
    show();
    raise();
    activateWindow();
}

HelpWindow& helpWindow()
{
    static HelpWindow* w = new HelpWindow(nullptr);
    return *w;
}
