// CountSpinner: the read-only count with up_ and down_ arrows above the train and stretch tables.
#include "ui/CountSpinner.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

CountSpinner::CountSpinner(const QString& editName, const QString& spinnerName, const QString& hint, QWidget* parent)
    : QWidget(parent)
{
    edit_ = new QLineEdit(this);
    edit_->setObjectName(editName);
    edit_->setReadOnly(true);
    edit_->setFixedWidth(36);
    edit_->setAlignment(Qt::AlignCenter);
    edit_->setToolTip(hint);
    edit_->installEventFilter(this);
    spinner_ = new QWidget(this);
    spinner_->setObjectName(spinnerName);
    spinner_->setToolTip(hint);
    up_ = new QToolButton(spinner_);
    up_->setObjectName(spinnerName + QStringLiteral("_Upp"));
    up_->setArrowType(Qt::UpArrow);
    down_ = new QToolButton(spinner_);
    down_->setObjectName(spinnerName + QStringLiteral("_Ner"));
    down_->setArrowType(Qt::DownArrow);
    for (QToolButton* b : {up_, down_}) {
        b->setFixedSize(18, 11);
        b->setToolTip(hint);
        b->setAutoRepeat(false);
    }
    auto* sv = new QVBoxLayout(spinner_);
    sv->setContentsMargins(0, 0, 0, 0);
    sv->setSpacing(0);
    sv->addWidget(up_);
    sv->addWidget(down_);
    auto* h = new QHBoxLayout(this);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(1);
    h->addWidget(edit_);
    h->addWidget(spinner_);
    connect(up_, &QToolButton::clicked, this, &CountSpinner::stepUp);
    connect(down_, &QToolButton::clicked, this, &CountSpinner::stepDown);
}

bool CountSpinner::eventFilter(QObject* o, QEvent* e)
{
    if (o == edit_ && e->type() == QEvent::KeyPress) {
        const int k = static_cast<QKeyEvent*>(e)->key();
        if (k == Qt::Key_Up) {
            emit stepUp();
            return true;
        }
        if (k == Qt::Key_Down) {
            emit stepDown();
            return true;
        }
    }
    return QWidget::eventFilter(o, e);
}
