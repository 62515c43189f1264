#include "ui/Platform.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFontMetrics>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPrinterInfo>
#include <QPushButton>

#include "ui/HelpWindow.h"

namespace {
Platform* g_installed = nullptr;
QtPlatform g_default;

// The program speaks Swedish also in its standard dialogs.
QPushButton* addButton(QMessageBox& box, const QString& text, QMessageBox::ButtonRole role)
{
    return box.addButton(text, role);
}
}  // namespace

Platform& platform() { return g_installed ? *g_installed : g_default; }
void setPlatform(Platform* p) { g_installed = p; }

void showMessage(QWidget* parent, const QString& text, MsgIcon icon)
{
    platform().message(parent, QStringLiteral("Skenbrus"), text, icon, MsgButtons::Ok);
}

MsgAnswer QtPlatform::message(QWidget* parent, const QString& title, const QString& text, MsgIcon icon,
                              MsgButtons buttons)
{
    QMessageBox box(parent);
    box.setWindowTitle(title);
    box.setText(text);
    switch (icon) {
    case MsgIcon::Information: box.setIcon(QMessageBox::Information); break;
    case MsgIcon::Warning: box.setIcon(QMessageBox::Warning); break;
    case MsgIcon::Error: box.setIcon(QMessageBox::Critical); break;
    case MsgIcon::Question: box.setIcon(QMessageBox::Question); break;
    }
    QPushButton* ok = nullptr;
    QPushButton* yes = nullptr;
    QPushButton* no = nullptr;
    QPushButton* cancel = nullptr;
    QPushButton* abort = nullptr;
    QPushButton* retry = nullptr;
    switch (buttons) {
    case MsgButtons::Ok: ok = addButton(box, QStringLiteral("OK"), QMessageBox::AcceptRole); break;
    case MsgButtons::YesNoCancel:
        yes = addButton(box, QStringLiteral("Ja"), QMessageBox::YesRole);
        no = addButton(box, QStringLiteral("Nej"), QMessageBox::NoRole);
        cancel = addButton(box, QStringLiteral("Avbryt"), QMessageBox::RejectRole);
        break;
    case MsgButtons::YesNo:
        yes = addButton(box, QStringLiteral("Ja"), QMessageBox::YesRole);
        no = addButton(box, QStringLiteral("Nej"), QMessageBox::NoRole);
        break;
    case MsgButtons::AbortRetry:
        abort = addButton(box, QStringLiteral("Avbryt"), QMessageBox::RejectRole);
        retry = addButton(box, QStringLiteral("Försök igen"), QMessageBox::AcceptRole);
        break;
    }
    if (ok) box.setDefaultButton(ok);
    if (yes) box.setDefaultButton(yes);
    if (retry) box.setDefaultButton(retry);
    if (cancel) box.setEscapeButton(cancel);
    if (abort) box.setEscapeButton(abort);
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    if (clicked == yes && yes) return MsgAnswer::Yes;
    if (clicked == no && no) return MsgAnswer::No;
    if (clicked == retry && retry) return MsgAnswer::Retry;
    if (clicked == abort && abort) return MsgAnswer::Abort;
    if (clicked == ok && ok) return MsgAnswer::Ok;
    if (buttons == MsgButtons::AbortRetry) return MsgAnswer::Abort;
    if (buttons == MsgButtons::Ok) return MsgAnswer::Ok;
    return MsgAnswer::Cancel;
}

std::optional<QString> QtPlatform::inputBox(QWidget* parent, const QString& title, const QString& prompt,
                                            const QString& defaultText)
{
    QInputDialog dlg(parent);
    dlg.setWindowTitle(title);
    dlg.setLabelText(prompt);
    dlg.setTextValue(defaultText);
    dlg.setOkButtonText(QStringLiteral("OK"));
    dlg.setCancelButtonText(QStringLiteral("Avbryt"));
    // Wide enough for the whole title beside the window's buttons ("Marktyp: Mottagardel"); the
    // dialog's layout sets its size from its contents, so the prompt carries the width.
    QFont titleFont = dlg.font();
    titleFont.setBold(true);
    if (auto* label = dlg.findChild<QLabel*>())
        label->setMinimumWidth(QFontMetrics(titleFont).horizontalAdvance(title) + 140);
    if (dlg.exec() != QDialog::Accepted) return std::nullopt;
    return dlg.textValue();
}

QString QtPlatform::openFileName(QWidget* parent, const QString& dir, const QString& filter)
{
    return QFileDialog::getOpenFileName(parent, QStringLiteral("Hämta"), dir, filter);
}

QString QtPlatform::saveFileName(QWidget* parent, const QString& dir, const QString& filter)
{
    QFileDialog dlg(parent, QStringLiteral("Spara som"), dir, filter);
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    // A name typed without a suffix gets the one of the filter ("(*.pdf)" gives "pdf"),
    // project files when the filter names none.
    QString suffix = QStringLiteral("sdb");
    const int star = filter.indexOf(QLatin1String("*."));
    if (star >= 0) {
        int end = star + 2;
        while (end < filter.size() && filter.at(end).isLetterOrNumber()) ++end;
        if (end > star + 2) suffix = filter.mid(star + 2, end - star - 2);
    }
    dlg.setDefaultSuffix(suffix);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return {};
    return dlg.selectedFiles().first();
}

int QtPlatform::execDialog(QDialog& dialog) { return dialog.exec(); }

bool QtPlatform::printerInstalled() { return !QPrinterInfo::availablePrinterNames().isEmpty(); }

void QtPlatform::beep() { QApplication::beep(); }

void QtPlatform::showHelp(QWidget*, int context) { helpWindow().showTopic(context); }

MsgAnswer ScriptedPlatform::message(QWidget*, const QString& title, const QString& text, MsgIcon icon,
                                    MsgButtons buttons)
{
    messages.push_back({title, text, icon, buttons});
    if (!answers.empty()) {
        MsgAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    switch (buttons) {
    case MsgButtons::Ok: return MsgAnswer::Ok;
    case MsgButtons::AbortRetry: return MsgAnswer::Abort;
    default: return MsgAnswer::Cancel;
    }
}

std::optional<QString> ScriptedPlatform::inputBox(QWidget*, const QString& title, const QString& prompt,
                                                  const QString&)
{
    inputPrompts.push_back(title + QLatin1Char('|') + prompt);
    if (inputAnswers.empty()) return std::nullopt;
    const bool given = inputAnswers.front().has_value();
    const QString text = given ? *inputAnswers.front() : QString();
    inputAnswers.pop_front();
    if (!given) return std::nullopt;
    return text;
}

QString ScriptedPlatform::openFileName(QWidget*, const QString&, const QString&)
{
    if (fileAnswers.empty()) return {};
    QString f = fileAnswers.front();
    fileAnswers.pop_front();
    return f;
}

QString ScriptedPlatform::saveFileName(QWidget* w, const QString& d, const QString& f)
{
    return openFileName(w, d, f);
}

int ScriptedPlatform::execDialog(QDialog& dialog)
{
    dialogs.push_back(dialog.objectName());
    if (!dialogAnswers.empty()) {
        // Taken off the queue first: the answer may open further dialogs.
        const std::function<int(QDialog&)> answer = std::move(dialogAnswers.front());
        dialogAnswers.pop_front();
        return answer(dialog);
    }
    return otherDialogs ? otherDialogs(dialog) : int(QDialog::Rejected);
}

QStringList ScriptedPlatform::messageTexts() const
{
    QStringList l;
    for (const auto& m : messages) l << m.text;
    return l;
}
