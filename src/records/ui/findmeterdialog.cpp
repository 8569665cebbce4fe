#include "findmeterdialog.h"

#include "base/stringcatalog.h"
#include "records/metertype.h"

#include <QApplication>
#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int kIndexRole = Qt::UserRole;

} // namespace

FindMeterDialog::FindMeterDialog(const QString &dataFolder, QWidget *parent)
    : QDialog(parent), m_dataFolder(QDir::cleanPath(dataFolder))
{
    setObjectName(QStringLiteral("FindMeterForm"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    m_serialLabel = new QLabel(this);
    m_typeLabel = new QLabel(this);
    SerialEdit = new QLineEdit(this);
    SerialEdit->setObjectName(QStringLiteral("SerialEdit"));
    TypeEdit = new QLineEdit(this);
    TypeEdit->setObjectName(QStringLiteral("TypeEdit"));
    FindButton = new QPushButton(this);
    FindButton->setObjectName(QStringLiteral("FindButton"));
    // Enter searches in the fields and opens in the list: no button of the
    // window is the default one.
    FindButton->setAutoDefault(false);
    auto *fields = new QFormLayout;
    fields->addRow(m_serialLabel, SerialEdit);
    fields->addRow(m_typeLabel, TypeEdit);
    auto *top = new QHBoxLayout;
    top->addLayout(fields, 1);
    top->addWidget(FindButton, 0, Qt::AlignBottom);

    ResultListView = new QTreeWidget(this);
    ResultListView->setObjectName(QStringLiteral("ResultListView"));
    ResultListView->setRootIsDecorated(false);
    ResultListView->setUniformRowHeights(true);
    ResultListView->setSelectionMode(QAbstractItemView::SingleSelection);
    ResultListView->setColumnCount(5);
    ResultListView->setSortingEnabled(false);
    CountLabel = new QLabel(this);
    CountLabel->setObjectName(QStringLiteral("CountLabel"));

    OpenButton = new QPushButton(this);
    OpenButton->setObjectName(QStringLiteral("OpenButton"));
    OpenButton->setAutoDefault(false);
    CloseButton = new QPushButton(this);
    CloseButton->setObjectName(QStringLiteral("CloseButton"));
    CloseButton->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(CountLabel, 1);
    buttons->addWidget(OpenButton);
    buttons->addWidget(CloseButton);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(ResultListView, 1);
    layout->addLayout(buttons);

    connect(FindButton, &QPushButton::clicked, this, &FindMeterDialog::FindButtonClick);
    connect(OpenButton, &QPushButton::clicked, this, &FindMeterDialog::OpenButtonClick);
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::close);
    connect(ResultListView, &QTreeWidget::itemActivated, this, &FindMeterDialog::OpenButtonClick);
    connect(ResultListView, &QTreeWidget::itemSelectionChanged, this, &FindMeterDialog::updateButtons);
    for (QLineEdit *edit : {SerialEdit, TypeEdit}) {
        connect(edit, &QLineEdit::textChanged, this, &FindMeterDialog::updateButtons);
        connect(edit, &QLineEdit::returnPressed, this, &FindMeterDialog::FindButtonClick);
    }

    setLanguage(1);
    updateButtons();
    resize(720, 420);
}

void FindMeterDialog::setLanguage(int language)
{
    m_language = language;
    const auto caption = [language](ProgramText id) { return programText(id, language); };
    setWindowTitle(caption(ProgramText::FindMeterTitle));
    m_serialLabel->setText(caption(ProgramText::FindSerialLabel));
    m_typeLabel->setText(caption(ProgramText::FindTypeLabel));
    FindButton->setText(caption(ProgramText::FindButton));
    OpenButton->setText(caption(ProgramText::FindOpenButton));
    CloseButton->setText(caption(ProgramText::FindCloseButton));
    ResultListView->setHeaderLabels({caption(ProgramText::FindFolderColumn), caption(ProgramText::FindTypeColumn),
                                     caption(ProgramText::FindSerialColumn), caption(ProgramText::FindCountColumn),
                                     caption(ProgramText::FindLastColumn)});
    fitColumns();
    showCount();
}

void FindMeterDialog::focusSerial()
{
    SerialEdit->setFocus();
    SerialEdit->selectAll();
}

void FindMeterDialog::setSerialText(const QString &text)
{
    SerialEdit->setText(text);
}

void FindMeterDialog::setDataFolder(const QString &dataFolder)
{
    const QString folder = QDir::cleanPath(dataFolder);
    if (folder == m_dataFolder)
        return;
    m_dataFolder = folder;
    m_found.clear();
    m_searched = false;
    ResultListView->clear();
    showCount();
    updateButtons();
}

void FindMeterDialog::FindButtonClick()
{
    MeterQuery query{SerialEdit->text().trimmed(), TypeEdit->text().trimmed()};
    if (query.isEmpty())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_found = FindMeters(m_dataFolder, query);
    QApplication::restoreOverrideCursor();
    m_searched = true;

    ResultListView->clear();
    const QLocale locale;
    QList<QTreeWidgetItem *> items;
    items.reserve(m_found.size());
    for (int i = 0; i < m_found.size(); ++i) {
        const FoundMeter &m = m_found.at(i);
        auto *item = new QTreeWidgetItem;
        item->setText(ColumnFolder, StoredFolderCaption(m.file.folder));
        item->setText(ColumnType, VisibleMeterType(m.meterType));
        item->setText(ColumnSerial, m.serialText.isEmpty() ? QString::number(m.serial) : m.serialText);
        item->setText(ColumnCount, QString::number(m.verifications));
        item->setTextAlignment(ColumnCount, Qt::AlignRight | Qt::AlignVCenter);
        item->setText(ColumnLast, locale.toString(m.lastDate, QLocale::ShortFormat) + QStringLiteral("  ")
                                      + m.lastTime.toString(QStringLiteral("HH:mm:ss")));
        item->setData(0, kIndexRole, i);
        item->setToolTip(ColumnFolder, m.file.fileName);
        items.append(item);
    }
    ResultListView->addTopLevelItems(items);
    fitColumns();
    if (!items.isEmpty())
        ResultListView->setCurrentItem(items.first());
    showCount();
    updateButtons();
}

void FindMeterDialog::OpenButtonClick()
{
    const QTreeWidgetItem *item = ResultListView->currentItem();
    if (!item)
        return;
    const int index = item->data(0, kIndexRole).toInt();
    if (index < 0 || index >= m_found.size())
        return;
    const StoredFile &file = m_found.at(index).file;
    emit meterChosen(file.folder.isEmpty() ? m_dataFolder : m_dataFolder + QLatin1Char('/') + file.folder,
                     file.fileName);
}

void FindMeterDialog::fitColumns()
{
    // Wide enough for the captions and the rows, with a little air.
    const int air = 2 * ResultListView->fontMetrics().averageCharWidth();
    for (int c = 0; c < ResultListView->columnCount(); ++c) {
        ResultListView->resizeColumnToContents(c);
        ResultListView->setColumnWidth(c, ResultListView->columnWidth(c) + air);
    }
}

void FindMeterDialog::updateButtons()
{
    FindButton->setEnabled(!SerialEdit->text().trimmed().isEmpty() || !TypeEdit->text().trimmed().isEmpty());
    OpenButton->setEnabled(ResultListView->currentItem() != nullptr);
}

void FindMeterDialog::showCount()
{
    CountLabel->setText(m_searched ? programText(ProgramText::FindResultCount, m_language).arg(m_found.size())
                                   : QString());
}
