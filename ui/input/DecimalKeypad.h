#pragma once

#include <QObject>
#include <QString>

// Event filter for line edits: the numeric keypad's decimal key types the regional decimal
// separator, whatever character the keyboard layout gives that key. Other keys pass unchanged.
class DecimalKeypad : public QObject {
    Q_OBJECT

public:
    DecimalKeypad(QString decimal, QObject* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString decimal_;
};
