// The access-password dialogs: TPswd2Form and TPswd3Form ask for the
// password before a protected command (the latter with the "delete source
// files" check box), TPswdForm changes it.
#pragma once

#include <QDialog>

#include <functional>
#include <optional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
struct SectionTexts;

constexpr int kPasswordMaxLength = 8;

// Enter-password dialog; `withDeleteCheckBox` makes it a TPswd3Form.
class TPswdEnterForm : public QDialog {
    Q_OBJECT
public:
    explicit TPswdEnterForm(bool withDeleteCheckBox, QWidget *parent = nullptr);
    void applyStrings(const SectionTexts &texts);

    // Empties the entry, unticks the delete check box and puts the focus on
    // the entry: every question starts afresh.
    void clearEntry();
    QString enteredPassword() const;
    // Whether "delete source files" is ticked; false without the check box.
    bool deleteSourcesTicked() const;

private:
    QLineEdit *Edit1 = nullptr;
    QCheckBox *DelCheckBox = nullptr;
    QPushButton *Button1 = nullptr;
    QPushButton *Button2 = nullptr;
};

class TPswd2Form : public TPswdEnterForm {
    Q_OBJECT
public:
    explicit TPswd2Form(QWidget *parent = nullptr) : TPswdEnterForm(false, parent) {}
};

class TPswd3Form : public TPswdEnterForm {
    Q_OBJECT
public:
    explicit TPswd3Form(QWidget *parent = nullptr) : TPswdEnterForm(true, parent) {}
};

// Change-password dialog.
class TPswdForm : public QDialog {
    Q_OBJECT
public:
    explicit TPswdForm(QWidget *parent = nullptr);
    void applyStrings(const SectionTexts &texts);

    // Empties the three entries and puts the focus on the current password.
    void clearEntries();
    QString currentPassword() const;
    QString newPassword() const;
    QString repeatedPassword() const;

private:
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QLineEdit *CurrentPswdEdit = nullptr;
    QLineEdit *NewPswdEdit = nullptr;
    QLineEdit *RepPswdEdit = nullptr;
    QPushButton *Button1 = nullptr;
    QPushButton *Button2 = nullptr;
};

enum class PasswordAnswer { Accepted, Refused, Cancelled };

// Shows a message in a modal box: kind and text.
enum class MessageKind { Error, Warning, Information, Confirmation };
using MessageFn = std::function<void(MessageKind, const QString &)>;

// Asks for the password with the dialog. A wrong entry shows `wrongText`
// (message Error19) through `show` and refuses; cancel refuses silently.
PasswordAnswer AskPassword(TPswdEnterForm &dialog, const QString &password, const QString &wrongText,
                           const MessageFn &show);

// Runs the change dialog until it is cancelled or succeeds. On success the
// new password is returned (it may be empty); std::nullopt when cancelled.
// `wrongCurrentText` is Error22, `mismatchText` Error21.
std::optional<QString> ChangePassword(TPswdForm &dialog, const QString &password, const QString &wrongCurrentText,
                                      const QString &mismatchText, const MessageFn &show);
