// The dialogs of the editing commands: TInfoForm changes the meter's type,
// serial text and year of manufacture, TPostForm the constant of one
// verification. Both take their captions from the string file.
#pragma once

#include "records/recordops.h"
#include "base/ui/passworddialogs.h"

#include <QDialog>

#include <cstdint>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
struct SectionTexts;

class TInfoForm : public QDialog {
    Q_OBJECT
public:
    explicit TInfoForm(QWidget *parent = nullptr);

    // Texts of the section "MeterParsForm".
    void applyStrings(const SectionTexts &texts);
    // Messages shown when "ОК" is pressed with characters that cannot be
    // stored; "%1" takes those characters.
    void setRefusalTexts(const QString &meterTypeText, const QString &serialText);
    void setMessageFn(MessageFn show) { m_show = std::move(show); }

    // Shows the dialog with the meter's identity; the new identity when
    // closed with "ОК", nothing when cancelled.
    std::optional<MeterParameters> Execute(const MeterParameters &current);

public slots:
    void accept() override;

private:
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QLineEdit *NameEdit = nullptr;
    QLineEdit *NumEdit = nullptr;
    QLineEdit *YearEdit = nullptr;
    QPushButton *OkButton = nullptr;
    QPushButton *CancelButton = nullptr;
    MessageFn m_show;
    QString m_meterTypeRefusal;
    QString m_serialRefusal;
    QString m_shownType; // the type as shown on opening (control characters visible)
};

class TPostForm : public QDialog {
    Q_OBJECT
public:
    explicit TPostForm(QWidget *parent = nullptr);

    // Texts of the section "ConstForm".
    void applyStrings(const SectionTexts &texts);

    // Shows the dialog with a constant; the new constant when closed with
    // "ОК", nothing when cancelled.
    std::optional<std::uint32_t> Execute(std::uint32_t constant);

private:
    QLabel *LabelConst = nullptr;
    QLineEdit *PostEdit = nullptr;
    QPushButton *OkButton = nullptr;
    QPushButton *CancelButton = nullptr;
};
