#include "records/ui/meterdialogs.h"

#include "records/metertype.h"
#include "records/ui/digitsonlyedit.h"
#include "base/stringdocument.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>

namespace {

QHBoxLayout *buttonRow(QPushButton *ok, QPushButton *cancel)
{
    auto *row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(ok);
    row->addWidget(cancel);
    return row;
}

// A caption is replaced only by a text the string file has.
template <typename Widget>
void setIfGiven(Widget *widget, const QString &text)
{
    if (!text.isEmpty())
        widget->setText(text);
}

// Shows a stored number whole: the length limit for typing grows to the
// stored value's length before the value is set, since a line edit cuts a
// text longer than its limit.
void showNumber(QLineEdit *edit, std::uint64_t value, int typingLimit)
{
    const QString text = QString::number(value);
    edit->setMaxLength(std::max(typingLimit, int(text.size())));
    edit->setText(text);
}

// The number of an edit's text: the stored value while the text is the one
// shown (confirming never changes a value), otherwise the parsed text, or a
// longer one the type can hold, or 0.
template <typename Number>
Number numberOf(const QLineEdit *edit, Number stored, std::optional<Number> parsed)
{
    if (edit->text() == QString::number(stored))
        return stored;
    if (parsed)
        return *parsed;
    bool ok = false;
    const qulonglong wide = edit->text().toULongLong(&ok);
    if (ok && wide <= std::numeric_limits<Number>::max())
        return Number(wide);
    return 0;
}

} // namespace

// --- TInfoForm ------------------------------------------------------------------

TInfoForm::TInfoForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("InfoForm"));
    setWindowTitle(QStringLiteral("Параметры счётчика"));
    setModal(true);

    Label1 = new QLabel(QStringLiteral("Наименование:"), this);
    Label2 = new QLabel(QStringLiteral("Зав. номер:"), this);
    Label3 = new QLabel(QStringLiteral("Год выпуска:"), this);
    NameEdit = new QLineEdit(this);
    NameEdit->setObjectName(QStringLiteral("NameEdit"));
    NameEdit->setMaxLength(kMeterTypeMaxLength);
    NumEdit = new QLineEdit(this);
    NumEdit->setObjectName(QStringLiteral("NumEdit"));
    NumEdit->setMaxLength(kSerialTextMaxLength);
    YearEdit = new QLineEdit(this);
    YearEdit->setObjectName(QStringLiteral("YearEdit"));
    YearEdit->setMaxLength(kYearMaxDigits);
    new DigitsOnlyGuard(YearEdit);
    OkButton = new QPushButton(QStringLiteral("ОК"), this);
    OkButton->setObjectName(QStringLiteral("OkButton"));
    OkButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("Отмена"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    connect(OkButton, &QPushButton::clicked, this, &TInfoForm::accept);
    connect(CancelButton, &QPushButton::clicked, this, &TInfoForm::reject);

    auto *grid = new QGridLayout;
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(NameEdit, 0, 1);
    grid->addWidget(Label2, 1, 0);
    grid->addWidget(NumEdit, 1, 1);
    grid->addWidget(Label3, 2, 0);
    grid->addWidget(YearEdit, 2, 1);
    grid->setColumnStretch(1, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttonRow(OkButton, CancelButton));
    NameEdit->setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('W')) * kSerialTextMaxLength);

    m_meterTypeRefusal = QStringLiteral("The name contains characters that cannot be stored: %1");
    m_serialRefusal = QStringLiteral("The serial number contains characters that cannot be stored: %1");
}

void TInfoForm::applyStrings(const SectionTexts &texts)
{
    if (const QString title = texts.text(QStringLiteral("Title")); !title.isEmpty())
        setWindowTitle(title);
    setIfGiven(Label1, texts.text(QStringLiteral("MeterParsFormLabels/MeterNameLabel")));
    setIfGiven(Label2, texts.text(QStringLiteral("MeterParsFormLabels/SerialNumberLabel")));
    setIfGiven(Label3, texts.text(QStringLiteral("MeterParsFormLabels/YearLabel")));
    setIfGiven(OkButton, texts.text(QStringLiteral("MeterParsFormLabels/OkButtonLabel")));
    setIfGiven(CancelButton, texts.text(QStringLiteral("MeterParsFormLabels/CancelButtonLabel")));
}

void TInfoForm::setRefusalTexts(const QString &meterTypeText, const QString &serialText)
{
    m_meterTypeRefusal = meterTypeText;
    m_serialRefusal = serialText;
}

std::optional<MeterParameters> TInfoForm::Execute(const MeterParameters &current)
{
    // Control characters of a stored type are shown visibly; a type left
    // as shown keeps them.
    const QString storedType = current.meterType.left(kMeterTypeMaxLength);
    m_shownType = VisibleMeterType(storedType);
    NameEdit->setText(m_shownType);
    // A longer serial text from a file stays whole unless the user edits it:
    // changing only the year must not cut it.
    NumEdit->setMaxLength(std::clamp(int(current.serialText.size()), kSerialTextMaxLength, kSerialTextHeaderBytes));
    NumEdit->setText(current.serialText.left(kSerialTextHeaderBytes));
    showNumber(YearEdit, current.year, kYearMaxDigits);
    NameEdit->setFocus();
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    MeterParameters edited;
    edited.meterType = NameEdit->text() == m_shownType ? storedType : NameEdit->text();
    edited.serialText = NumEdit->text();
    edited.year = numberOf<std::uint16_t>(YearEdit, current.year, ParseYearText(YearEdit->text()));
    return edited;
}

void TInfoForm::accept()
{
    // Characters the file cannot hold are refused here, so that nothing is
    // written that would come back different or not at all.
    const QString badType =
        NameEdit->text() == m_shownType ? QString() : UnstorableMeterTypeCharacters(NameEdit->text());
    const QString badSerial = UnstorableSerialTextCharacters(NumEdit->text());
    if (!badType.isEmpty() || !badSerial.isEmpty()) {
        QLineEdit *edit = badType.isEmpty() ? NumEdit : NameEdit;
        const QString text = badType.isEmpty() ? m_serialRefusal.arg(badSerial) : m_meterTypeRefusal.arg(badType);
        if (m_show)
            m_show(MessageKind::Warning, text);
        edit->setFocus();
        return;
    }
    QDialog::accept();
}

// --- TPostForm ------------------------------------------------------------------

TPostForm::TPostForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("PostForm"));
    setModal(true);
    LabelConst = new QLabel(QStringLiteral("Постоянная счётчика:"), this);
    LabelConst->setObjectName(QStringLiteral("LabelConst"));
    PostEdit = new QLineEdit(this);
    PostEdit->setObjectName(QStringLiteral("PostEdit"));
    PostEdit->setMaxLength(kConstantMaxDigits);
    new DigitsOnlyGuard(PostEdit);
    OkButton = new QPushButton(QStringLiteral("ОК"), this);
    OkButton->setObjectName(QStringLiteral("OkButton"));
    OkButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("Отмена"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    connect(OkButton, &QPushButton::clicked, this, &TPostForm::accept);
    connect(CancelButton, &QPushButton::clicked, this, &TPostForm::reject);

    auto *row = new QHBoxLayout;
    row->addWidget(LabelConst);
    row->addWidget(PostEdit, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addLayout(buttonRow(OkButton, CancelButton));
}

void TPostForm::applyStrings(const SectionTexts &texts)
{
    setIfGiven(LabelConst, texts.text(QStringLiteral("LabelConst")));
    setIfGiven(OkButton, texts.text(QStringLiteral("OkButton")));
    setIfGiven(CancelButton, texts.text(QStringLiteral("CancelButton")));
}

std::optional<std::uint32_t> TPostForm::Execute(std::uint32_t constant)
{
    // The section has no caption of its own; the program's title serves.
    setWindowTitle(QApplication::applicationDisplayName());
    showNumber(PostEdit, constant, kConstantMaxDigits);
    PostEdit->selectAll();
    PostEdit->setFocus();
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    return numberOf<std::uint32_t>(PostEdit, constant, ParseConstantText(PostEdit->text()));
}
