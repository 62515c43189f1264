// CalculationCommand: "&Beräkning" of the main window, its progress window and the results page.
#include "ui/CalculationCommand.h"

#include <QApplication>
#include <QCheckBox>
#include <QTabWidget>

#include "calc/RunRequest.h"
#include "ui/Berakning.h"
#include "ui/NumberText.h"
#include "ui/Platform.h"
#include "ui/main.h"

namespace {
const QString kTitle = QStringLiteral("Skenbrus");

// Thrown from the progress callback when "Avbryt" was pressed: the run stops between
// stretches or train passes and publishes nothing.
struct CalculationCancelled {};
}  // namespace

CalculationCommand::CalculationCommand(TForm_Skenbrus& window)
    : QObject(&window), w_(window), Form_Berakning_(new TForm_Berakning(&window))
{
}

void CalculationCommand::run()
{
    if (!w_.finishEditing()) return;
    // The segment-length control has followed the rule at every edit; the boxes are the window's.
    RunRequest q;
    q.segmentSetting = w_.document().segmentLength;
    q.segmentSettled = true;
    q.boxesFromProject = false;
    q.facadeBoxChecked = w_.CheckBox_Korrektion()->isChecked();
    q.indoorBoxChecked = w_.CheckBox_Inneniva()->isChecked();
    q.trace.equivalent = w_.document().traceEquivalent;
    q.trace.maximum = w_.document().traceMaximum;
    q.trace.decimalSeparator = decimalSeparator().toLatin1();
    q.message = [this](const RunMessage& m) {
        if (m.beep) platform().beep();
        showMessage(&w_, QString::fromStdString(m.text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    };
    q.progress = [this](int percent) {
        Form_Berakning_->setPercent(percent);
        if (Form_Berakning_->cancelRequested()) throw CalculationCancelled{};
    };

    Form_Berakning_->start();
    RunOutcome out;
    bool cancelled = false;
    try {
        out = RunProject(w_.record(), w_.angleFactors(), w_.results(), q);
    } catch (const CalculationCancelled&) {
        // Stopped by "Avbryt": the previous results and the record stay as they were.
        cancelled = true;
    }
    Form_Berakning_->finish();
    if (!cancelled && !out.error.empty())
        platform().message(&w_, kTitle, QString::fromStdString(out.error), MsgIcon::Error, MsgButtons::Ok);
    // The keyboard goes back to this window (also without a window manager that would do it).
    if (w_.isVisible()) {
        w_.activateWindow();
        QApplication::setActiveWindow(&w_);
    }
    if (cancelled || !out.done()) return;

    // The run may have written the screen effects and a facade distance of 0.
    w_.OvcTable_DelStrackor()->gridModel()->refreshAll();
    if (!w_.results().RadiusError) w_.showResultsPage();
    w_.PageControl()->setProperty("helpContext", 80);
}
