#include "contentform.h"

#include "device/archivesession.h"
#include "records/storedfiles.h"
#include "base/stringcatalog.h"
#include "views/listtexts.h"
#include "records/metertype.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

// Data roles of a row: the archive number and the sort keys.
constexpr int kNumberRole = Qt::UserRole;
constexpr int kMeterKeyRole = Qt::UserRole + 1;
constexpr int kDateRole = Qt::UserRole + 2;
constexpr int kTimeRole = Qt::UserRole + 3;
constexpr int kPowerKeyRole = Qt::UserRole + 4;
constexpr int kStoredRole = Qt::UserRole + 5; // true when the entry is stored somewhere

// A row that sorts by the keys of its column; rows with equal keys keep the
// archive order, so a sort always gives the same rows in the same places.
class ContentItem final : public QTreeWidgetItem {
public:
    using QTreeWidgetItem::QTreeWidgetItem;

    bool operator<(const QTreeWidgetItem &other) const override
    {
        const int column = treeWidget() ? treeWidget()->sortColumn() : TContForm::ColumnNumber;
        const int order = compare(other, column);
        if (order != 0)
            return order < 0;
        return number() < other.data(0, kNumberRole).toInt();
    }

private:
    int number() const { return data(0, kNumberRole).toInt(); }

    int compare(const QTreeWidgetItem &other, int column) const
    {
        switch (column) {
        case TContForm::ColumnMeter:
            return data(0, kMeterKeyRole)
                .toString()
                .compare(other.data(0, kMeterKeyRole).toString(), Qt::CaseInsensitive);
        case TContForm::ColumnDateTime: {
            const QDate a = data(0, kDateRole).toDate();
            const QDate b = other.data(0, kDateRole).toDate();
            if (a != b)
                return a < b ? -1 : 1;
            const QTime ta = data(0, kTimeRole).toTime();
            const QTime tb = other.data(0, kTimeRole).toTime();
            return ta == tb ? 0 : (ta < tb ? -1 : 1);
        }
        case TContForm::ColumnPower:
            return data(0, kPowerKeyRole)
                .toString()
                .compare(other.data(0, kPowerKeyRole).toString(), Qt::CaseInsensitive);
        case TContForm::ColumnStored:
            return text(TContForm::ColumnStored).compare(other.text(TContForm::ColumnStored), Qt::CaseInsensitive);
        default:
            return number() - other.data(0, kNumberRole).toInt();
        }
    }
};

// "date      time": the locale's short date, six blanks, the locale's long
// time without a time zone (an archive moment has none).
QString dateTimeCell(const QDate &date, const QTime &time, const QLocale &locale)
{
    static const QRegularExpression zone(QStringLiteral("\\s*\\bt+\\b"));
    QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    timeFormat.remove(zone);
    return locale.toString(date, QLocale::ShortFormat) + QString(6, QLatin1Char(' '))
           + locale.toString(time, timeFormat.trimmed());
}

QString tooManyText(int language, int ticked)
{
    return programText(ProgramText::TooManyTicked, language).arg(device::kMaxRecordsPerRun).arg(ticked);
}

} // namespace

TContForm::TContForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ContentForm"));
    setWindowTitle(QStringLiteral("Содержание архива поверок"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto *header = new QWidget(this);
    m_deviceTypeLabel = new QLabel(QStringLiteral("Тип прибора:"), header);
    m_serialNumberLabel = new QLabel(QStringLiteral("Заводской номер:"), header);
    m_versionLabel = new QLabel(QStringLiteral("Версия прибора:"), header);
    DeviceTypeValue = new QLabel(header);
    SerialNumberValue = new QLabel(header);
    VersionValue = new QLabel(header);
    m_totalCaption = QStringLiteral("Общее количество поверок:");
    TotalCalibrationLabel = new QLabel(header);
    TotalCalibrationLabel->setObjectName(QStringLiteral("TotalCalibrationLabel"));
    auto *headerLayout = new QFormLayout(header);
    headerLayout->setContentsMargins(0, 0, 0, 0);
    headerLayout->addRow(m_deviceTypeLabel, DeviceTypeValue);
    headerLayout->addRow(m_serialNumberLabel, SerialNumberValue);
    headerLayout->addRow(m_versionLabel, VersionValue);
    headerLayout->addRow(TotalCalibrationLabel);

    ListPanel = new QWidget(this);
    ListPanel->setObjectName(QStringLiteral("ListPanel"));
    ContentListView = new QTreeWidget(ListPanel);
    ContentListView->setObjectName(QStringLiteral("ContentListView"));
    ContentListView->setRootIsDecorated(false);
    ContentListView->setUniformRowHeights(true);
    ContentListView->setSelectionMode(QAbstractItemView::SingleSelection);
    ContentListView->setColumnCount(5);
    ContentListView->setHeaderLabels({QStringLiteral("Тип и заводской номер прибора"),
                                      QStringLiteral("Дата и время поверки"), QStringLiteral("Мощность"),
                                      QStringLiteral("Номер"), programText(ProgramText::StoredInColumn, 1)});
    // Every header click sorts ascending (a second click sorts the same way
    // again), so the list's own toggling sort is not used.
    ContentListView->setSortingEnabled(false);
    ContentListView->header()->setSectionsClickable(true);
    ContentListView->header()->setSortIndicatorShown(true);
    connect(ContentListView->header(), &QHeaderView::sectionClicked, this, &TContForm::SortByColumn);
    auto *listLayout = new QVBoxLayout(ListPanel);
    listLayout->setContentsMargins(0, 0, 0, 0);
    listLayout->addWidget(ContentListView);
    ListPanel->setFixedHeight(kListPanelHeight);

    AllCalibrationButton = new QPushButton(QStringLiteral("Все поверки"), this);
    ResetButton = new QPushButton(QStringLiteral("Сбросить"), this);
    NotStoredButton = new QPushButton(programText(ProgramText::TickNotStoredButton, 1), this);
    NotStoredButton->setObjectName(QStringLiteral("NotStoredButton"));
    NotStoredButton->setAutoDefault(false);
    connect(NotStoredButton, &QPushButton::clicked, this, &TContForm::NotStoredButtonClick);
    ReadCalibrationButton = new QPushButton(QStringLiteral("Считать поверки"), this);
    CancelReadCalibrationButton = new QPushButton(QStringLiteral("Отмена"), this);
    AllCalibrationButton->setObjectName(QStringLiteral("AllCalibrationButton"));
    ResetButton->setObjectName(QStringLiteral("ResetButton"));
    ReadCalibrationButton->setObjectName(QStringLiteral("ReadCalibrationButton"));
    CancelReadCalibrationButton->setObjectName(QStringLiteral("CancelReadCalibrationButton"));
    for (QPushButton *b : {AllCalibrationButton, ResetButton, CancelReadCalibrationButton})
        b->setAutoDefault(false);
    connect(AllCalibrationButton, &QPushButton::clicked, this, &TContForm::AllCalibrationButtonClick);
    connect(ResetButton, &QPushButton::clicked, this, &TContForm::ResetButtonClick);
    connect(ReadCalibrationButton, &QPushButton::clicked, this, &TContForm::ReadCalibrationButtonClick);
    connect(CancelReadCalibrationButton, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(AllCalibrationButton);
    buttons->addWidget(ResetButton);
    buttons->addWidget(NotStoredButton);
    buttons->addStretch(1);
    buttons->addWidget(ReadCalibrationButton);
    buttons->addWidget(CancelReadCalibrationButton);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(header);
    layout->addWidget(ListPanel);
    layout->addLayout(buttons);
    resize(640, sizeHint().height());
}

void TContForm::applyStrings(const SectionTexts &texts)
{
    const auto textOf = [&texts](const char *path) { return texts.text(QLatin1String(path)); };
    const auto set = [](auto *widget, const QString &text, auto setter) {
        if (!text.isEmpty())
            (widget->*setter)(text);
    };
    set(static_cast<QWidget *>(this), textOf("Title"), &QWidget::setWindowTitle);
    QStringList headers;
    const char *const paths[] = {"ContentTable/DeviceTypeSerial", "ContentTable/DateTimeCalibration",
                                 "ContentTable/PowerType", "ContentTable/CalibrationNumber"};
    for (int c = 0; c < 4; ++c) {
        const QString t = textOf(paths[c]);
        headers << (t.isEmpty() ? ContentListView->headerItem()->text(c) : t);
    }
    ContentListView->setHeaderLabels(headers);
    set(AllCalibrationButton, textOf("ContentLabels/AllCalibrationButton"), &QPushButton::setText);
    set(ResetButton, textOf("ContentLabels/ResetButton"), &QPushButton::setText);
    set(ReadCalibrationButton, textOf("ContentLabels/ReadCalibrationButton"), &QPushButton::setText);
    set(CancelReadCalibrationButton, textOf("ContentLabels/CancelReadCalibrationButton"), &QPushButton::setText);
    set(m_deviceTypeLabel, textOf("ContentLabels/DeviceTypeLabel"), &QLabel::setText);
    set(m_serialNumberLabel, textOf("ContentLabels/SerialNumberLabel"), &QLabel::setText);
    set(m_versionLabel, textOf("ContentLabels/DeviceVersionLabel"), &QLabel::setText);
    const QString total = textOf("ContentLabels/TotalCalibrationLabel");
    if (!total.isEmpty())
        m_totalCaption = total;
}

void TContForm::Fill(const DeviceInfo &info, const QVector<pcn::_datacounter> &content, const TextLookup &lookup,
                     const QLocale &locale)
{
    Clear();
    DeviceTypeValue->setText(info.typeName);
    SerialNumberValue->setText(QString::number(info.serialNumber));
    VersionValue->setText(info.versionText);
    TotalCalibrationLabel->setText(m_totalCaption + QLatin1Char(' ') + QString::number(content.size()));

    QList<QTreeWidgetItem *> items;
    items.reserve(content.size());
    for (int k = 0; k < content.size(); ++k) {
        const pcn::_datacounter &entry = content.at(k);
        QString power = powerTypeName(entry.powerType, lookup);
        if (power.isEmpty())
            power = QString::number(entry.powerType); // a code the program has no name for
        auto *item = new ContentItem;
        item->setText(ColumnMeter,
                      VisibleMeterType(entry.meterType) + QString(5, QLatin1Char(' ')) + QString::number(entry.serial));
        item->setText(ColumnDateTime, dateTimeCell(entry.date, entry.time, locale));
        item->setText(ColumnPower, power);
        item->setText(ColumnNumber, QString::number(k + 1));
        item->setData(0, kNumberRole, k + 1);
        item->setData(0, kMeterKeyRole, entry.meterType);
        item->setData(0, kDateRole, entry.date);
        item->setData(0, kTimeRole, entry.time);
        item->setData(0, kPowerKeyRole, power);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(0, Qt::Unchecked);
        items.append(item);
    }
    ContentListView->addTopLevelItems(items);
    ContentListView->header()->setSortIndicator(-1, Qt::AscendingOrder);
    fitColumns();
    fitToRows(int(content.size()));
}

void TContForm::setLanguage(int language)
{
    m_language = language;
    ContentListView->headerItem()->setText(ColumnStored, programText(ProgramText::StoredInColumn, language));
    NotStoredButton->setText(programText(ProgramText::TickNotStoredButton, language));
}

void TContForm::SetStoredFolders(const QVector<std::optional<QString>> &folders)
{
    for (int row = 0; row < ContentListView->topLevelItemCount(); ++row) {
        QTreeWidgetItem *item = ContentListView->topLevelItem(row);
        const int index = item->data(0, kNumberRole).toInt() - 1;
        const std::optional<QString> folder = index < folders.size() ? folders.at(index) : std::nullopt;
        item->setText(ColumnStored, folder ? StoredFolderCaption(*folder) : QString());
        item->setData(0, kStoredRole, bool(folder));
    }
    fitColumns();
}

void TContForm::fitColumns()
{
    // Every column wide enough for its rows, with a little air, and the
    // dialog wide enough for every column, so no text is cut.
    const int air = 2 * ContentListView->fontMetrics().averageCharWidth();
    int columnsWidth = 0;
    for (int c = 0; c < ContentListView->columnCount(); ++c) {
        ContentListView->resizeColumnToContents(c);
        ContentListView->setColumnWidth(c, ContentListView->columnWidth(c) + air);
        columnsWidth += ContentListView->columnWidth(c);
    }
    const int chrome = 2 * ContentListView->frameWidth() + ContentListView->verticalScrollBar()->sizeHint().width();
    const QRect screen = this->screen() ? this->screen()->availableGeometry() : QRect(0, 0, 1600, 1200);
    // A minimum width, not a resize: the dialog is fitted to its size hint
    // before it is shown.
    ContentListView->setMinimumWidth(std::min(columnsWidth + chrome, screen.width() - 80));
}

void TContForm::Clear()
{
    ContentListView->clear();
}

void TContForm::fitToRows(int rows)
{
    // Few rows: the list panel shrinks to (rows + 4) × font size × 2 and
    // the dialog is fitted around it.
    QFont f = font();
    const int size = f.pointSize() > 0 ? f.pointSize() : QFontInfo(f).pointSize();
    const int h = (rows + 4) * size * 2;
    ListPanel->setFixedHeight(h < kListPanelHeight ? h : kListPanelHeight);
    if (QLayout *l = layout())
        l->activate();
    resize(width(), sizeHint().height());
}

QVector<int> TContForm::CheckedNumbers() const
{
    QVector<int> numbers;
    for (int row = 0; row < ContentListView->topLevelItemCount(); ++row) {
        const QTreeWidgetItem *item = ContentListView->topLevelItem(row);
        if (item->checkState(0) == Qt::Checked)
            numbers.append(item->data(0, kNumberRole).toInt());
    }
    return numbers;
}

void TContForm::SortByColumn(int column)
{
    if (column < 0 || column > ColumnStored)
        return;
    ContentListView->sortItems(column, Qt::AscendingOrder);
    ContentListView->header()->setSortIndicator(column, Qt::AscendingOrder);
}

void TContForm::setAllChecked(bool checked)
{
    for (int row = 0; row < ContentListView->topLevelItemCount(); ++row)
        ContentListView->topLevelItem(row)->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
}

void TContForm::AllCalibrationButtonClick()
{
    setAllChecked(true);
}

void TContForm::ResetButtonClick()
{
    setAllChecked(false);
}

void TContForm::NotStoredButtonClick()
{
    for (int row = 0; row < ContentListView->topLevelItemCount(); ++row) {
        QTreeWidgetItem *item = ContentListView->topLevelItem(row);
        item->setCheckState(0, item->data(0, kStoredRole).toBool() ? Qt::Unchecked : Qt::Checked);
    }
}

void TContForm::ReadCalibrationButtonClick()
{
    const int ticked = int(CheckedNumbers().size());
    if (ticked > device::kMaxRecordsPerRun) {
        // The record buffer holds 200 records: the choice is refused and
        // the dialog stays open so that the user can untick some.
        if (m_show)
            m_show(MessageKind::Warning, tooManyText(m_language, ticked));
        return;
    }
    accept();
}
