#include "exchangeform.h"

#include <QCloseEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>

namespace {

constexpr int kInitialMaximum = 1030;

QLabel *valueLabel(QWidget *parent, const char *name)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

} // namespace

TForm2::TForm2(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ExchangeForm"));
    setWindowTitle(QStringLiteral("Обмен с прибором"));
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(false);

    ProgressPanel = new QWidget(this);
    ProgressPanel->setObjectName(QStringLiteral("ProgressPanel"));
    PortExchangeLabel = new QLabel(ProgressPanel);
    PortExchangeLabel->setObjectName(QStringLiteral("PortExchangeLabel"));
    RateExchangeLabel = new QLabel(QStringLiteral("Скорость обмена, бит/сек.:"), ProgressPanel);
    RateExchangeLabel->setObjectName(QStringLiteral("RateExchangeLabel"));
    RateValueLabel = valueLabel(ProgressPanel, "RateValueLabel");
    ProgressBar1 = new QProgressBar(ProgressPanel);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setMinimumWidth(320);
    CancelButton = new QPushButton(QStringLiteral("Отмена"), ProgressPanel);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    CancelButton->setAutoDefault(false);
    connect(CancelButton, &QPushButton::clicked, this, &TForm2::CancelButtonClick);

    auto *rateRow = new QHBoxLayout;
    rateRow->addWidget(RateExchangeLabel);
    rateRow->addWidget(RateValueLabel);
    rateRow->addStretch(1);
    auto *buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    buttonRow->addWidget(CancelButton);
    buttonRow->addStretch(1);
    auto *progressLayout = new QVBoxLayout(ProgressPanel);
    progressLayout->addWidget(PortExchangeLabel);
    progressLayout->addLayout(rateRow);
    progressLayout->addWidget(ProgressBar1);
    progressLayout->addLayout(buttonRow);

    InstrumentPanel = new QGroupBox(QStringLiteral("Измерительный прибор"), this);
    InstrumentPanel->setObjectName(QStringLiteral("InstrumentPanel"));
    m_deviceTypeLabel = new QLabel(QStringLiteral("Тип прибора:"), InstrumentPanel);
    m_serialNumberLabel = new QLabel(QStringLiteral("Заводской номер:"), InstrumentPanel);
    m_versionLabel = new QLabel(QStringLiteral("Версия прибора:"), InstrumentPanel);
    DeviceTypeValue = valueLabel(InstrumentPanel, "DeviceTypeValue");
    SerialNumberValue = valueLabel(InstrumentPanel, "SerialNumberValue");
    VersionValue = valueLabel(InstrumentPanel, "VersionValue");
    auto *instrumentLayout = new QFormLayout(InstrumentPanel);
    instrumentLayout->addRow(m_deviceTypeLabel, DeviceTypeValue);
    instrumentLayout->addRow(m_serialNumberLabel, SerialNumberValue);
    instrumentLayout->addRow(m_versionLabel, VersionValue);

    CountersBox = new QWidget(InstrumentPanel);
    CountersBox->setObjectName(QStringLiteral("CountersBox"));
    m_totalLabel = new QLabel(QStringLiteral("Общее количество поверок:"), CountersBox);
    m_readLabel = new QLabel(QStringLiteral("Cчитано поверок:"), CountersBox);
    TotalValue = valueLabel(CountersBox, "TotalValue");
    ReadValue = valueLabel(CountersBox, "ReadValue");
    auto *countersLayout = new QFormLayout(CountersBox);
    countersLayout->setContentsMargins(0, 0, 0, 0);
    countersLayout->addRow(m_totalLabel, TotalValue);
    countersLayout->addRow(m_readLabel, ReadValue);
    instrumentLayout->addRow(CountersBox);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(ProgressPanel);
    layout->addWidget(InstrumentPanel);
    setConnection(true, QString(), 0);
    ResetDisplay();
}

void TForm2::applyStrings(const SectionTexts &texts)
{
    const auto apply = [&texts](auto *widget, const char *path, auto setter) {
        const QString text = texts.text(QLatin1String(path));
        if (!text.isEmpty())
            (widget->*setter)(text);
    };
    apply(this, "Title", &QWidget::setWindowTitle);
    const QString portCaption = texts.text(QStringLiteral("ExchangeLabels/PortExchangeLabel"));
    if (!portCaption.isEmpty())
        m_portCaption = portCaption;
    PortExchangeLabel->setText(m_portCaption + QLatin1Char(' ') + m_portName);
    apply(RateExchangeLabel, "ExchangeLabels/RateExchangeLabel", &QLabel::setText);
    apply(CancelButton, "ExchangeLabels/CancelButton", &QPushButton::setText);
    apply(InstrumentPanel, "ExchangeLabels/MeasurementDeviceLabel", &QGroupBox::setTitle);
    apply(m_deviceTypeLabel, "ExchangeLabels/DeviceTypeLabel", &QLabel::setText);
    apply(m_serialNumberLabel, "ExchangeLabels/SerialNumberLabel", &QLabel::setText);
    apply(m_versionLabel, "ExchangeLabels/VersionDeviceLabel", &QLabel::setText);
    apply(m_totalLabel, "ExchangeLabels/AllCalibrationLabel", &QLabel::setText);
    apply(m_readLabel, "ExchangeLabels/ReadingCalibrationLabel", &QLabel::setText);
}

void TForm2::setConnection(bool usb, const QString &portName, qint32 baudRate)
{
    if (m_portCaption.isEmpty())
        m_portCaption = QStringLiteral("Обмен через порт:");
    m_portName = usb ? QStringLiteral("USB") : portName;
    PortExchangeLabel->setText(m_portCaption + QLatin1Char(' ') + m_portName);
    RateValueLabel->setText(QString::number(baudRate));
    // The rate plays no part on the USB bridge.
    RateExchangeLabel->setVisible(!usb);
    RateValueLabel->setVisible(!usb);
    fitHeight();
}

void TForm2::ResetDisplay()
{
    InstrumentPanel->hide();
    CancelButton->setEnabled(true);
    ProgressBar1->setRange(0, kInitialMaximum);
    ProgressBar1->setValue(0);
    CountersBox->hide();
    ReadValue->setText(QStringLiteral("0"));
    fitHeight();
}

void TForm2::setProgress(qint64 current, qint64 maximum)
{
    // The bar counts in int; phases never come near that limit.
    const int max = int(std::clamp<qint64>(maximum, 1, std::numeric_limits<int>::max()));
    if (ProgressBar1->maximum() != max)
        ProgressBar1->setRange(0, max);
    ProgressBar1->setValue(int(std::clamp<qint64>(current, 0, max)));
}

void TForm2::ShowInstrument(const DeviceInfo &info, int total)
{
    DeviceTypeValue->setText(info.typeName);
    SerialNumberValue->setText(QString::number(info.serialNumber));
    VersionValue->setText(info.versionText);
    TotalValue->setText(QString::number(total));
    ReadValue->setText(QStringLiteral("0"));
    CountersBox->show();
    InstrumentPanel->show();
    fitHeight();
}

void TForm2::setRecordsRead(int count)
{
    ReadValue->setText(QString::number(count));
}

void TForm2::fitHeight()
{
    if (QLayout *l = layout())
        l->activate();
    adjustSize();
}

void TForm2::CancelButtonClick()
{
    emit cancelRequested();
}

void TForm2::closeEvent(QCloseEvent *event)
{
    // Closing the window asks the run to stop; the dialog itself goes away
    // only when the run has returned.
    emit cancelRequested();
    event->ignore();
}

void TForm2::reject()
{
    // Escape behaves like the cancel button.
    emit cancelRequested();
}
