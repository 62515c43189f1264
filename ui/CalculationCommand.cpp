// CalculationCommand: "&Beräkning" of the main window, its progress window and the results page.
#include "ui/CalculationCommand.h"

#include <QApplication>
#include <QCheckBox>
#include <QTabWidget>

#include "calc/Run.h"
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
    RunSettings rs;
    rs.segmentLength = w_.document().segmentLength;
    rs.facadeBoxChecked = w_.CheckBox_Korrektion()->isChecked();
    rs.indoorBoxChecked = w_.CheckBox_Inneniva()->isChecked();
    rs.trace.equivalent = w_.document().traceEquivalent;
    rs.trace.maximum = w_.document().traceMaximum;
    rs.trace.decimalSeparator = decimalSeparator().toLatin1();

    const RunMessageSink message = [this](const RunMessage& m) {
        if (m.beep) platform().beep();
        showMessage(&w_, QString::fromStdString(m.text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    };
    const RunProgress progress = [this](int percent) {
        Form_Berakning_->setPercent(percent);
        if (Form_Berakning_->cancelRequested()) throw CalculationCancelled{};
    };

    Form_Berakning_->start();
    bool done = false;
    try {
        done = RunCalculation(w_.record(), rs, w_.angleFactors(), message, progress, w_.results());
    } catch (const CalculationCancelled&) {
        // Stopped by "Avbryt": the previous results and the record stay as they were.
    } catch (const std::exception& e) {
        Form_Berakning_->finish();
        platform().message(&w_, kTitle, QString::fromStdString(e.what()), MsgIcon::Error, MsgButtons::Ok);
    }
    Form_Berakning_->finish();
    // The keyboard goes back to this window (also without a window manager that would do it).
    if (w_.isVisible()) {
        w_.activateWindow();
        QApplication::setActiveWindow(&w_);
    }
    if (!done) return;

    // The run may have written the screen effects and a facade distance of 0.
    w_.OvcTable_DelStrackor()->gridModel()->refreshAll();
    if (!w_.results().RadiusError) w_.showResultsPage();
    w_.PageControl()->setProperty("helpContext", 80);
}
