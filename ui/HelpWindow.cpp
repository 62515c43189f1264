#include "ui/HelpWindow.h"

#include <QApplication>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
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
    // The topics are the page's anchors "h<context>", read once, so a new topic needs no list.
    static const QSet<int> topics = [] {
        initHelpResource();
        QSet<int> t;
        QFile page(QStringLiteral(":/help/skenbrus.html"));
        if (!page.open(QIODevice::ReadOnly)) return t;
        static const QRegularExpression anchor(QStringLiteral("name=\"h(\\d+)\""));
        for (const QRegularExpressionMatch& m : anchor.globalMatch(QString::fromUtf8(page.readAll())))
            t.insert(m.captured(1).toInt());
        return t;
    }();
    return topics.contains(context);
}

void HelpWindow::showTopic(int context)
{
    const int topic = hasTopic(context) ? context : 0;
    browser_->setSource(QUrl(QStringLiteral("qrc:/help/skenbrus.html#h%1").arg(topic)));
    browser_->scrollToAnchor(QStringLiteral("h%1").arg(topic));
    // Asked from a modal dialog, the help would open behind it and take no input: it is then
    // modal itself, above the dialog, until it is closed.
    QWidget* modal = QApplication::activeModalWidget();
    const Qt::WindowModality wanted = modal && modal != this ? Qt::ApplicationModal : Qt::NonModal;
    if (windowModality() != wanted) {
        hide();
        setWindowModality(wanted);
    }
    show();
    raise();
    activateWindow();
}

HelpWindow& helpWindow()
{
    static HelpWindow* w = new HelpWindow(nullptr);
    return *w;
}
