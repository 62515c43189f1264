// TForm_About, the About box.
#include "ui/About.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

QString programVersionText() { return QStringLiteral(SKENBRUS_VERSION_TEXT); }

TForm_About::TForm_About(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TForm_About"));
    setWindowTitle(QStringLiteral("Om Skenbrus"));
    auto* title = new QLabel(QStringLiteral("Skenbrus"), this);
    title->setObjectName(QStringLiteral("Label_Title"));
    QFont f = title->font();
    f.setPointSize(f.pointSize() * 2);
    f.setBold(true);
    title->setFont(f);
    title->setAlignment(Qt::AlignCenter);
    auto* version = new QLabel(QStringLiteral("Version ") + programVersionText(), this);
    version->setObjectName(QStringLiteral("Label_Version"));
    version->setAlignment(Qt::AlignCenter);
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    auto* text = new QLabel(QStringLiteral("Buller från spårtrafik vid en mottagarpunkt\n"
                                           "enligt den nordiska beräkningsmodellen (rapport 4935)"),
                            this);
    text->setAlignment(Qt::AlignCenter);
    auto* ok = new QPushButton(QStringLiteral("Ok"), this);
    ok->setObjectName(QStringLiteral("Button_Ok"));
    connect(ok, &QPushButton::clicked, this, &QDialog::hide);
    auto* lay = new QVBoxLayout(this);
    lay->addWidget(title);
    lay->addWidget(version);
    lay->addWidget(line);
    lay->addWidget(text);
    lay->addWidget(ok, 0, Qt::AlignHCenter);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void TForm_About::showAbout()
{
    show();
    raise();
    activateWindow();
}

void TForm_About::changeEvent(QEvent* e)
{
    // The box goes away when it loses the focus.
    if (e->type() == QEvent::ActivationChange && isVisible() && !isActiveWindow()) hide();
    QDialog::changeEvent(e);
}
