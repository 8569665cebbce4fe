// Keeps a line edit to decimal digits: when its text changes to anything
// holding another character, the text goes back to the last all-digit text
// (the text it was given, or the one after the last accepted change).
#pragma once

#include <QObject>
#include <QString>

class QLineEdit;

class DigitsOnlyGuard : public QObject {
    Q_OBJECT
public:
    // The guard is a child of the edit and lives as long as it does.
    explicit DigitsOnlyGuard(QLineEdit *edit);

    // True for a text of decimal digits only (the empty text included).
    static bool isDigits(const QString &text);

private:
    void onTextChanged(const QString &text);

    QLineEdit *m_edit;
    QString m_lastAccepted;
    bool m_reverting = false;
};
