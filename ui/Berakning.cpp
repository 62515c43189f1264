// TForm_Berakning, the progress window of a calculation.
#include "ui/Berakning.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

TForm_Berakning::TForm_Berakning(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TForm_Berakning"));
    setWindowTitle(QStringLiteral("Beräkning pågår..."));
    // While the calculation runs, only this window takes input.
    setWindowModality(Qt::ApplicationModal);
    auto* l1 = new QLabel(QStringLiteral("Programmet håller på att beräkna"), this);
    auto* l2 = new QLabel(QStringLiteral("ekvivalent och maximal nivå..."), this);
    meter_ = new QProgressBar(this);
    meter_->setObjectName(QStringLiteral("Gauge_Berakning"));
    meter_->setRange(0, 100);
    meter_->setFixedSize(200, 24);
    meter_->setTextVisible(true);
    meter_->setStyleSheet(QStringLiteral("QProgressBar { border: 1px solid gray; text-align: center; }"
                                         "QProgressBar::chunk { background-color: lime; }"));
    cancel_ = new QPushButton(QStringLiteral("Avbryt"), this);
    cancel_->setObjectName(QStringLiteral("Button_Avbryt"));
    connect(cancel_, &QPushButton::clicked, this, [this] { cancelled_ = true; });
    auto* lay = new QVBoxLayout(this);
    lay->addWidget(l1, 0, Qt::AlignHCenter);
    lay->addWidget(l2, 0, Qt::AlignHCenter);
    lay->addWidget(meter_, 0, Qt::AlignHCenter);
    lay->addWidget(cancel_, 0, Qt::AlignHCenter);
    setMinimumSize(270, 138);
}

void TForm_Berakning::start()
{
    cancelled_ = false;
    meter_->setValue(0);
    show();
    raise();
    repaint();
    QApplication::processEvents(QEventLoop::ExcludeSocketNotifiers);
}

void TForm_Berakning::setPercent(int percent)
{
    meter_->setValue(percent);
    // Only this window takes input while the calculation runs.
    QApplication::processEvents(QEventLoop::ExcludeSocketNotifiers);
}

void TForm_Berakning::finish() { hide(); }

void TForm_Berakning::reject() { cancelled_ = true; }
