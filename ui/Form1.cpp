// TForm1, the screen dialog "SKÄRM" of the cross-section dialog.
#include "ui/Form1.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QPushButton>

#include "calc/Format.h"
#include "calc/Profile.h"
#include "ui/CrossSectionCommon.h"
#include "ui/NumberText.h"
#include "ui/Platform.h"

namespace {
char separator() { return decimalSeparator().toLatin1() ? decimalSeparator().toLatin1() : '.'; }
}  // namespace

TForm1::TForm1(ProjectRecord& record, QWidget* parent) : QDialog(parent), r_(record)
{
    setObjectName(QStringLiteral("TForm1"));
    setWindowTitle(QStringLiteral("SKÄRM"));
    setModal(true);

    const TwoRowDialogParts parts = layOutTwoRowDialog(this, *this, QStringLiteral("OvcTable_Skarm"), {});
    basisLabel_ = parts.basisLabel;
    table_ = parts.table;
    values_ = parts.values;
    okButton_ = parts.ok;
    cancelButton_ = parts.cancel;
    table_->setFixedSize(340, 2 * table_->verticalHeader()->defaultSectionSize() + 4);
    table_->ownerKeys = {QKeyCombination(Qt::Key_F1)};
    connect(table_, &GridView::ownerKey, this, [this] { platform().showHelp(this, 211); });

    connect(okButton_, &QPushButton::clicked, this, &TForm1::Button_OKClick);
    connect(cancelButton_, &QPushButton::clicked, this, &TForm1::Button_AvbrytClick);
}

TForm1::~TForm1()
{
    table_->detach();
    values_->detach();
}

void TForm1::applyValue(ProfileTable&, int row, int, double v)
{
    if (row == 1)
        distance_ = v;
    else
        crest_ = v;
    showValues();
}

bool TForm1::enterFinishes(const ProfileTable&, int row)
{
    if (row == 2 && distance_ > 0 && distance_ < limit_) {
        Button_OKClick();
        return true;
    }
    return false;
}

void TForm1::prepare(int s, int basis, double scale)
{
    s_ = s;
    scale_ = scale;
    outcome_ = Outcome::Cancelled;
    const int n = ProfilePointCount(r_, s);
    int m = findLabel(r_, s, n, "MT");
    if (m == 0) m = n;
    limit_ = static_cast<double>(r_.bpDistance[s][m]) * scale;
    distance_ = static_cast<double>(r_.screenDistance[s]) * scale;
    crest_ = r_.screenCrestHeight[s];
    basisLabel_->setText(distanceBasisText(basis));
    values_->setRowTitles(
        {QStringLiteral("Avstånd spårmitt-skärm (<") + QString::fromStdString(formatFixed(limit_, 1, separator())) +
             QStringLiteral("m)"),
         QStringLiteral("Skärmkrönets höjd över mark (m)")});
    table_->setFixedSize(table_->verticalHeader()->sizeHint().width() + 110,
                         2 * table_->verticalHeader()->defaultSectionSize() + 4);
    showValues();
    table_->setCurrentCell(1, 1);
}

TForm1::Outcome TForm1::execFor(int s, int basis, double scale)
{
    prepare(s, basis, scale);
    platform().execDialog(*this);
    return outcome_;
}

void TForm1::setValues(double distance, double crest)
{
    distance_ = distance;
    crest_ = crest;
    showValues();
}

void TForm1::showValues()
{
    values_->setValue(1, 1, distance_);
    values_->setValue(2, 1, crest_);
}

void TForm1::Button_OKClick()
{
    if (!table_->finishEditing()) return;
    if (!(distance_ < limit_)) {
        // This message has always had "\n\r" (not CR LF) between its lines.
        const QString text = QStringLiteral("Avståndet mellan spårmitt och skärm\n\rmåste vara mindre än ") +
                             QString::fromStdString(formatGeneral(limit_, 15, separator())) +
                             QStringLiteral(" meter!");
        const MsgAnswer a = platform().message(this, QStringLiteral("Skenbrus"), text, MsgIcon::Error,
                                               MsgButtons::AbortRetry);
        if (a == MsgAnswer::Retry) {
            table_->setCurrentCell(1, 1);
            table_->setFocus();
            return;
        }
        outcome_ = Outcome::Aborted;
        closing_ = true;
        accept();
        closing_ = false;
        return;
    }
    r_.screenDistance[s_] = static_cast<float>(roundTenth(distance_ / scale_));
    r_.screenCrestHeight[s_] = static_cast<float>(crest_);
    outcome_ = Outcome::Stored;
    closing_ = true;
    accept();
    closing_ = false;
}

void TForm1::Button_AvbrytClick()
{
    r_.screenType[s_] = 0;
    outcome_ = Outcome::Cancelled;
    closing_ = true;
    reject();
    closing_ = false;
}

void TForm1::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        Button_AvbrytClick();
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) return;
    QDialog::keyPressEvent(event);
}

void TForm1::closeEvent(QCloseEvent* event)
{
    // Closing the window counts as "&Avbryt".
    if (!closing_ && isVisible()) {
        r_.screenType[s_] = 0;
        outcome_ = Outcome::Cancelled;
    }
    QDialog::closeEvent(event);
}
