// TForm_FasadAvst, the facade-distance dialog.
#include "ui/FasadAvst.h"

#include <QDoubleValidator>
#include <cmath>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "model/DocumentState.h"
#include "model/ProjectRecord.h"
#include "ui/NumberText.h"
#include "ui/Platform.h"

TForm_FasadAvst::TForm_FasadAvst(ProjectRecord& record, DocumentState& doc, QWidget* parent)
    : QDialog(parent), r_(record), doc_(doc)
{
    setObjectName(QStringLiteral("TForm_FasadAvst"));
    setWindowTitle(QStringLiteral("Byggnadsfasad"));
    setProperty("helpContext", 201);
    auto* label = new QLabel(QStringLiteral("Avstånd till fasad (m)"), this);
    edit_ = new QLineEdit(this);
    edit_->setObjectName(QStringLiteral("OvcTable_Fasad"));
    edit_->setAlignment(Qt::AlignRight);
    edit_->setMaximumWidth(80);
    auto* ok = new QPushButton(QStringLiteral("Ok"), this);
    ok->setObjectName(QStringLiteral("Button_Ok"));
    ok->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &TForm_FasadAvst::okClicked);
    // Enter in the editor accepts the value and then acts as "Ok".
    connect(edit_, &QLineEdit::returnPressed, this, &TForm_FasadAvst::okClicked);
    auto* lay = new QGridLayout(this);
    lay->addWidget(label, 0, 0);
    lay->addWidget(edit_, 0, 1);
    lay->addWidget(ok, 1, 0, 1, 2, Qt::AlignHCenter);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

int TForm_FasadAvst::execFor()
{
    edit_->setText(realText(r_.facadeDistance));
    edit_->selectAll();
    edit_->setFocus();
    return platform().execDialog(*this);
}

void TForm_FasadAvst::acceptEdit()
{
    // The editor takes 0..99999; other text leaves the stored distance as it was.
    if (auto v = parseReal(edit_->text()); v && *v >= 0.0 && *v <= 99999.0) {
        const float f = static_cast<float>(std::round(*v * 10.0) / 10.0);
        if (f != r_.facadeDistance) doc_.modified = true;
        r_.facadeDistance = f;
    }
    edit_->setText(realText(r_.facadeDistance));
}

void TForm_FasadAvst::okClicked()
{
    acceptEdit();
    if (r_.facadeDistance >= 0.5f && r_.facadeDistance <= 20.0f) {
        accept();
        return;
    }
    const MsgAnswer a = platform().message(this, QStringLiteral("Byggnadsfasad"),
                                           QStringLiteral("Fasadavståndet måste ligga mellan 0.5 och 20 meter!"),
                                           MsgIcon::Error, MsgButtons::AbortRetry);
    if (a == MsgAnswer::Abort) {
        r_.facadeDistance = 0.0f;
        doc_.modified = true;
        reject();
        return;
    }
    edit_->setFocus();
    edit_->selectAll();
}
