#include "aboutbox.h"

#include "base/stringdocument.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TAboutBox::TAboutBox(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("О программе"));
    setModal(true);

    // The picture with the program's name.
    ProductName = new QLabel(QStringLiteral("Tessmer"), this);
    ProductName->setObjectName(QStringLiteral("ProductName"));
    ProductName->setAlignment(Qt::AlignCenter);
    ProductName->setFrameShape(QFrame::StyledPanel);
    ProductName->setMinimumHeight(72);
    QFont big = ProductName->font();
    big.setPointSizeF(big.pointSizeF() * 2.4);
    big.setBold(true);
    big.setItalic(true);
    ProductName->setFont(big);
    ProductName->setStyleSheet(
        QStringLiteral("QLabel { color: #1d4f91; background: qlineargradient(x1:0, y1:0, x2:1, y2:1,"
                       " stop:0 #f3f7fc, stop:1 #d6e4f5); border: 1px solid #9bb5d6; border-radius: 4px; }"));

    Version = new QLabel(this);
    Version->setObjectName(QStringLiteral("Version"));
    Label1 = new QLabel(this);
    Label2 = new QLabel(this);
    Label3 = new QLabel(this);
    for (QLabel *label : {Version, Label1, Label2, Label3})
        label->setAlignment(Qt::AlignCenter);

    PurposeText = new QPlainTextEdit(this);
    PurposeText->setReadOnly(true);
    PurposeText->setObjectName(QStringLiteral("PurposeText"));
    ModelsText = new QPlainTextEdit(this);
    ModelsText->setReadOnly(true);
    ModelsText->setObjectName(QStringLiteral("ModelsText"));

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(ProductName);
    layout->addWidget(Version);
    layout->addWidget(Label1);
    layout->addWidget(Label2);
    layout->addWidget(Label3);
    layout->addWidget(PurposeText);
    layout->addWidget(ModelsText);
    auto *row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(OKButton);
    row->addStretch();
    layout->addLayout(row);
    setFixedSize(440, 480);
}

void TAboutBox::applyStrings(const SectionTexts &texts, const QString &versionText, const QString &yearText)
{
    setWindowTitle(texts.text(QStringLiteral("Title")));
    Version->setText(texts.text(QStringLiteral("AboutFormLabels/VersionLabel")) + QLatin1Char(' ') + versionText);
    Label1->setText(texts.text(QStringLiteral("AboutFormLabels/ManufacturerLabel")));
    Label2->setText(texts.text(QStringLiteral("AboutFormLabels/CityLabel")));
    Label3->setText(yearText + QLatin1Char(' ') + texts.text(QStringLiteral("AboutFormLabels/YearLabel")));
    OKButton->setText(texts.text(QStringLiteral("AboutFormLabels/OkButtonLabel")));
    PurposeText->clear();
    for (int line = 1; line <= 4; ++line)
        PurposeText->appendPlainText(texts.text(QStringLiteral("DestinationText/Line%1").arg(line)));
}

void TAboutBox::setModelsText(const QStringList &descriptionLines, const QStringList &modelNames)
{
    ModelsText->clear();
    for (const QString &line : descriptionLines)
        ModelsText->appendPlainText(line);
    ModelsText->appendPlainText(modelNames.join(QStringLiteral(", ")));
}
