#include "passworddialogs.h"

#include "base/stringdocument.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLineEdit *newPasswordEdit(QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setEchoMode(QLineEdit::Password);
    edit->setMaxLength(kPasswordMaxLength);
    return edit;
}

QHBoxLayout *buttonRow(QPushButton *ok, QPushButton *cancel)
{
    auto *row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(cancel);
    return row;
}

} // namespace

TPswdEnterForm::TPswdEnterForm(bool withDeleteCheckBox, QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Введите пароль"));
    setModal(true);
    Edit1 = newPasswordEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Button1 = new QPushButton(QStringLiteral("Ok"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    Button2 = new QPushButton(QStringLiteral("Отмена"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Edit1);
    if (withDeleteCheckBox) {
        DelCheckBox = new QCheckBox(QStringLiteral("Удалить исходные файлы"), this);
        DelCheckBox->setObjectName(QStringLiteral("DelCheckBox"));
        layout->addWidget(DelCheckBox);
    }
    layout->addLayout(buttonRow(Button1, Button2));
    setMinimumWidth(260);
}

void TPswdEnterForm::applyStrings(const SectionTexts &texts)
{
    setWindowTitle(texts.text(QStringLiteral("Title")));
    if (DelCheckBox)
        DelCheckBox->setText(texts.text(QStringLiteral("EnterPasswordFormLabels/DeleteFileLabel")));
    Button1->setText(texts.text(QStringLiteral("EnterPasswordFormLabels/OkButtonLabel")));
    Button2->setText(texts.text(QStringLiteral("EnterPasswordFormLabels/CancelButtonLabel")));
}

void TPswdEnterForm::clearEntry()
{
    Edit1->clear();
    if (DelCheckBox)
        DelCheckBox->setChecked(false);
    Edit1->setFocus();
}

QString TPswdEnterForm::enteredPassword() const
{
    return Edit1->text();
}

bool TPswdEnterForm::deleteSourcesTicked() const
{
    return DelCheckBox && DelCheckBox->isChecked();
}

TPswdForm::TPswdForm(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Смена пароля"));
    setModal(true);
    CurrentPswdEdit = newPasswordEdit(this);
    CurrentPswdEdit->setObjectName(QStringLiteral("CurrentPswdEdit"));
    NewPswdEdit = newPasswordEdit(this);
    NewPswdEdit->setObjectName(QStringLiteral("NewPswdEdit"));
    RepPswdEdit = newPasswordEdit(this);
    RepPswdEdit->setObjectName(QStringLiteral("RepPswdEdit"));
    Label1 = new QLabel(QStringLiteral("Текущий пароль:"), this);
    Label2 = new QLabel(QStringLiteral("Новый пароль:"), this);
    Label3 = new QLabel(QStringLiteral("Повторный ввод:"), this);
    Button1 = new QPushButton(QStringLiteral("ОК"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    Button2 = new QPushButton(QStringLiteral("Отмена"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);

    auto *current = new QFormLayout;
    current->addRow(Label1, CurrentPswdEdit);
    auto *group = new QGroupBox(this);
    auto *fresh = new QFormLayout(group);
    fresh->addRow(Label2, NewPswdEdit);
    fresh->addRow(Label3, RepPswdEdit);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(current);
    layout->addWidget(group);
    layout->addLayout(buttonRow(Button1, Button2));
    setMinimumWidth(300);
}

void TPswdForm::applyStrings(const SectionTexts &texts)
{
    setWindowTitle(texts.text(QStringLiteral("Title")));
    Label1->setText(texts.text(QStringLiteral("ChangePasswordFormLabels/CurrentPasswordLabel")));
    Label2->setText(texts.text(QStringLiteral("ChangePasswordFormLabels/NewPasswordLabel")));
    Label3->setText(texts.text(QStringLiteral("ChangePasswordFormLabels/RepeatPasswordLabel")));
    Button1->setText(texts.text(QStringLiteral("ChangePasswordFormLabels/OkButtonLabel")));
    Button2->setText(texts.text(QStringLiteral("ChangePasswordFormLabels/CancelButtonLabel")));
}

void TPswdForm::clearEntries()
{
    CurrentPswdEdit->clear();
    NewPswdEdit->clear();
    RepPswdEdit->clear();
    CurrentPswdEdit->setFocus();
}

QString TPswdForm::currentPassword() const
{
    return CurrentPswdEdit->text();
}

QString TPswdForm::newPassword() const
{
    return NewPswdEdit->text();
}

QString TPswdForm::repeatedPassword() const
{
    return RepPswdEdit->text();
}

PasswordAnswer AskPassword(TPswdEnterForm &dialog, const QString &password, const QString &wrongText,
                           const MessageFn &show)
{
    dialog.clearEntry();
    if (dialog.exec() != QDialog::Accepted)
        return PasswordAnswer::Cancelled;
    if (dialog.enteredPassword() != password) {
        show(MessageKind::Information, wrongText);
        return PasswordAnswer::Refused;
    }
    return PasswordAnswer::Accepted;
}

std::optional<QString> ChangePassword(TPswdForm &dialog, const QString &password, const QString &wrongCurrentText,
                                      const QString &mismatchText, const MessageFn &show)
{
    for (;;) {
        dialog.clearEntries();
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        if (dialog.currentPassword() != password) {
            show(MessageKind::Error, wrongCurrentText);
            continue;
        }
        if (dialog.newPassword() != dialog.repeatedPassword()) {
            show(MessageKind::Error, mismatchText);
            continue;
        }
        return dialog.newPassword();
    }
}
