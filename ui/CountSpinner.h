#pragma once
// CountSpinner: the read-only count with up and down arrows above the train and stretch tables.

#include <QWidget>

class QLineEdit;
class QToolButton;

// A read-only count with an up and a down arrow beside it.
class CountSpinner : public QWidget {
    Q_OBJECT
public:
    CountSpinner(const QString& editName, const QString& spinnerName, const QString& hint, QWidget* parent);
    // The field that shows the count.
    QLineEdit* edit() const { return edit_; }

signals:
    void stepUp();
    void stepDown();

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    QLineEdit* edit_;
    QWidget* spinner_;
    QToolButton* up_;
    QToolButton* down_;
};
