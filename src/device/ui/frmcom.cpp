#include "frmcom.h"

#include "device/portchoice.h"
#include "base/appstate.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TFrmCom::TFrmCom(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("CommParsForm"));
    setWindowTitle(QStringLiteral("Параметры обмена"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    InterfaceRadioGroup = new QGroupBox(QStringLiteral("Интерфейс связи с прибором"), this);
    InterfaceRadioGroup->setObjectName(QStringLiteral("InterfaceRadioGroup"));
    UsbRadioButton = new QRadioButton(QStringLiteral("USB"), InterfaceRadioGroup);
    UsbRadioButton->setObjectName(QStringLiteral("UsbRadioButton"));
    SerialRadioButton = new QRadioButton(QStringLiteral("Последовательный порт"), InterfaceRadioGroup);
    SerialRadioButton->setObjectName(QStringLiteral("SerialRadioButton"));
    m_interfaceButtons = new QButtonGroup(this);
    m_interfaceButtons->addButton(UsbRadioButton, InterfaceUsb);
    m_interfaceButtons->addButton(SerialRadioButton, InterfaceSerial);
    connect(m_interfaceButtons, &QButtonGroup::idClicked, this, &TFrmCom::InterfaceRadioGroupClick);
    auto *radioLayout = new QVBoxLayout(InterfaceRadioGroup);
    radioLayout->addWidget(UsbRadioButton);
    radioLayout->addWidget(SerialRadioButton);

    ComPortGroupBox = new QGroupBox(QStringLiteral("Настройки COM-порта"), this);
    ComPortGroupBox->setObjectName(QStringLiteral("ComPortGroupBox"));
    m_portLabel = new QLabel(QStringLiteral("Порт:"), ComPortGroupBox);
    m_rateLabel = new QLabel(QStringLiteral("Скорость обмена (бит/сек.):"), ComPortGroupBox);
    PortComboBox = new QComboBox(ComPortGroupBox);
    PortComboBox->setObjectName(QStringLiteral("PortComboBox"));
    PortComboBox->setEditable(true);
    PortComboBox->setInsertPolicy(QComboBox::NoInsert);
    PortComboBox->setMinimumContentsLength(18);
    RateComboBox = new QComboBox(ComPortGroupBox);
    RateComboBox->setObjectName(QStringLiteral("RateComboBox"));
    for (int rate : kRates)
        RateComboBox->addItem(QString::number(rate));
    auto *portLayout = new QFormLayout(ComPortGroupBox);
    portLayout->addRow(m_portLabel, PortComboBox);
    portLayout->addRow(m_rateLabel, RateComboBox);

    ApplyButton = new QPushButton(QStringLiteral("Применить"), this);
    ApplyButton->setObjectName(QStringLiteral("ApplyButton"));
    ApplyButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("Отмена"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    CancelButton->setAutoDefault(false);
    connect(ApplyButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ApplyButton);
    buttons->addWidget(CancelButton);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(InterfaceRadioGroup);
    layout->addWidget(ComPortGroupBox);
    layout->addLayout(buttons);

    FillPortList({});
    Preset(InterfaceUsb, 0, 3, QString());
}

void TFrmCom::applyStrings(const SectionTexts &texts)
{
    const auto apply = [&texts](auto *widget, const char *path, auto setter) {
        const QString text = texts.text(QLatin1String(path));
        if (!text.isEmpty())
            (widget->*setter)(text);
    };
    apply(static_cast<QWidget *>(this), "Title", &QWidget::setWindowTitle);
    apply(InterfaceRadioGroup, "CommParsFormLabels/InterfaceTypeLabel", &QGroupBox::setTitle);
    apply(SerialRadioButton, "CommParsFormLabels/SerialPortLabel", &QRadioButton::setText);
    apply(ComPortGroupBox, "CommParsFormLabels/ComPortParsLabel", &QGroupBox::setTitle);
    apply(m_portLabel, "CommParsFormLabels/NumberComPortLabel", &QLabel::setText);
    apply(m_rateLabel, "CommParsFormLabels/RateComPortLabel", &QLabel::setText);
    apply(ApplyButton, "CommParsFormLabels/ApplyButton", &QPushButton::setText);
    apply(CancelButton, "CommParsFormLabels/CancelButton", &QPushButton::setText);
}

void TFrmCom::FillPortList(const QStringList &presentPorts)
{
    const QString shown = PortComboBox->currentText();
    PortComboBox->clear();
    const QStringList &table = PortNames();
    // A present port is shown in bold with a green dot.
    QFont present = PortComboBox->font();
    present.setBold(true);
    QPixmap dot(10, 10);
    dot.fill(Qt::transparent);
    {
        QPainter painter(&dot);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0x2e, 0x9d, 0x3a));
        painter.drawEllipse(1, 1, 8, 8);
    }
    const QIcon presentIcon(dot);
    const auto mark = [&](int row) {
        PortComboBox->setItemData(row, present, Qt::FontRole);
        PortComboBox->setItemIcon(row, presentIcon);
    };
    for (const QString &name : table)
        PortComboBox->addItem(name);
    for (const QString &path : presentPorts) {
        int row = int(table.indexOf(path));
        if (row < 0) {
            PortComboBox->addItem(path);
            row = PortComboBox->count() - 1;
        }
        mark(row);
    }
    PortComboBox->setEditText(shown);
}

void TFrmCom::Preset(int interfaceType, int portIndex, int rateIndex, const QString &typedPath)
{
    m_presetPortIndex = std::clamp(portIndex, 0, kPortCount - 1);
    (interfaceType == InterfaceSerial ? SerialRadioButton : UsbRadioButton)->setChecked(true);
    const QString typed = typedPath.trimmed();
    if (typed.isEmpty()) {
        PortComboBox->setCurrentIndex(m_presetPortIndex);
    } else {
        const int row = PortComboBox->findText(typed);
        if (row >= 0)
            PortComboBox->setCurrentIndex(row);
        PortComboBox->setEditText(typed);
    }
    RateComboBox->setCurrentIndex(std::clamp(rateIndex, 0, int(kRates.size()) - 1));
    InterfaceRadioGroupClick();
}

int TFrmCom::InterfaceType() const
{
    return SerialRadioButton->isChecked() ? InterfaceSerial : InterfaceUsb;
}

int TFrmCom::PortIndex() const
{
    const int index = device::portTableIndex(PortComboBox->currentText());
    return index >= 0 ? index : m_presetPortIndex;
}

QString TFrmCom::TypedPortPath() const
{
    const QString text = PortComboBox->currentText().trimmed();
    if (text.isEmpty() || device::portTableIndex(text) >= 0)
        return QString();
    return text;
}

int TFrmCom::RateIndex() const
{
    return std::max(0, RateComboBox->currentIndex());
}

void TFrmCom::InterfaceRadioGroupClick()
{
    const bool serial = SerialRadioButton->isChecked();
    ComPortGroupBox->setEnabled(serial);
    // Window colour when the lists can be used, button-face colour when not.
    const QColor fill = serial ? palette().color(QPalette::Active, QPalette::Base)
                               : palette().color(QPalette::Active, QPalette::Button);
    for (QComboBox *box : {PortComboBox, RateComboBox}) {
        QPalette p = box->palette();
        for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            p.setColor(g, QPalette::Base, fill);
            p.setColor(g, QPalette::Button, fill);
        }
        box->setPalette(p);
        if (QLineEdit *edit = box->lineEdit())
            edit->setPalette(p);
    }
}
