// The access password that guards every command changing a stored file or
// the instrument: kept in the per-user store, asked for with TPswd2Form (or
// TPswd3Form with the merge's delete check box), changed with TPswdForm.
// The dialogs are made on first use with the texts last applied to their
// sections and follow every later language switch.
#pragma once

#include "base/ui/passworddialogs.h"

#include <QObject>
#include <QPointer>

class TextCatalogue;

class AccessPassword : public QObject {
    Q_OBJECT
public:
    explicit AccessPassword(TextCatalogue &texts, QObject *parent = nullptr);

    // Asks for the password over `window`; a wrong entry is told through
    // `show`. With the delete check box it starts unticked and its state
    // goes to `deleteSources`. True when the command may go on.
    bool ask(QWidget *window, const MessageFn &show, bool withDeleteCheckBox, bool *deleteSources);
    // Runs the change dialog; a new password is stored (a failed write is
    // not reported).
    void change(QWidget *window, const MessageFn &show);

    // The dialogs, made on first use.
    TPswd2Form *enterForm(QWidget *window);
    TPswd3Form *enterWithDeleteForm(QWidget *window);
    TPswdForm *changeForm(QWidget *window);

private:
    TextCatalogue &m_texts;
    QString m_password;
    QPointer<TPswd2Form> m_enter;
    QPointer<TPswd3Form> m_enterWithDelete;
    QPointer<TPswdForm> m_change;
};
