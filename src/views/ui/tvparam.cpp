#include "tvparam.h"

#include "base/stringcatalog.h"
#include "views/gridconfig.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

const std::array<const char *, kDialogPageCount> kListNames{"CheckLB34", "CheckLB33", "CheckLB1"};
const std::array<const char *, kDialogPageCount> kPageTitleKeys{"Ph3w4Label", "Ph3w3Label", "Ph1w2Label"};

QString labelPath(const char *key)
{
    return QStringLiteral("ViewParametersFormLabels/") + QLatin1String(key);
}

} // namespace

TVParam::TVParam(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TVParam"));
    setWindowTitle(QStringLiteral("Настройка параметров отображения"));
    setModal(true);

    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("PageControl1"));
    const std::array<const char *, kDialogPageCount> designTitles{"3-фаз. 4-пр.", "3-фаз. 3-пр.", "1-фаз. 2-пр."};
    for (int page = 0; page < kDialogPageCount; ++page) {
        auto *tab = new QWidget(m_pages);
        auto *layout = new QVBoxLayout(tab);
        m_labels[page] = new QLabel(QStringLiteral("Отобразить столбцы:"), tab);
        m_lists[page] = new QListWidget(tab);
        m_lists[page]->setObjectName(QLatin1String(kListNames[page]));
        m_lists[page]->setUniformItemSizes(true);
        for (int item = 0; item < dialogItemCount(page); ++item) {
            auto *entry = new QListWidgetItem(m_lists[page]);
            entry->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
            entry->setCheckState(Qt::Unchecked);
        }
        layout->addWidget(m_labels[page]);
        layout->addWidget(m_lists[page], 1);
        m_pages->addTab(tab, QString::fromUtf8(designTitles[page]));
    }

    m_all = new QPushButton(QStringLiteral("Все"), this);
    m_all->setObjectName(QStringLiteral("SelAllButton"));
    m_reset = new QPushButton(QStringLiteral("Сбросить"), this);
    m_reset->setObjectName(QStringLiteral("ResetButton"));
    m_default = new QPushButton(QStringLiteral("По умолчанию"), this);
    m_default->setObjectName(QStringLiteral("DefaultButton"));
    m_apply = new QPushButton(QStringLiteral("Применить"), this);
    m_apply->setObjectName(QStringLiteral("OkButton"));
    m_apply->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("Отмена"), this);
    m_cancel->setObjectName(QStringLiteral("CancelButton"));
    for (QPushButton *button : {m_all, m_reset, m_default, m_apply, m_cancel})
        button->setAutoDefault(button == m_apply);

    auto *pageButtons = new QHBoxLayout;
    pageButtons->addWidget(m_all);
    pageButtons->addWidget(m_reset);
    pageButtons->addWidget(m_default);
    pageButtons->addStretch(1);
    auto *closeButtons = new QHBoxLayout;
    closeButtons->addStretch(1);
    closeButtons->addWidget(m_apply);
    closeButtons->addWidget(m_cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_pages, 1);
    layout->addLayout(pageButtons);
    layout->addLayout(closeButtons);

    connect(m_all, &QPushButton::clicked, this, &TVParam::SelAllButtonClick);
    connect(m_reset, &QPushButton::clicked, this, &TVParam::ResetButtonClick);
    connect(m_default, &QPushButton::clicked, this, &TVParam::DefaultButtonClick);
    connect(m_apply, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    // Wide enough for the longest item at any font size.
    const int longest =
        fontMetrics().horizontalAdvance(QStringLiteral("Суммарная реактивная мощность (геометрический метод), вар"));
    resize(longest + 12 * fontMetrics().averageCharWidth(), 36 * fontMetrics().height());

    // The design texts are the Russian ones until the string file is applied.
    ApplyStrings(catalogTextLookup(kDesignLanguage));
}

void TVParam::ApplyStrings(const TextLookup &lookup)
{
    if (!lookup)
        return;
    const auto text = [&lookup](const QString &path) { return lookup(kViewsDialogSection, path); };
    setWindowTitle(text(QStringLiteral("Title")));
    for (int page = 0; page < kDialogPageCount; ++page) {
        m_pages->setTabText(page, text(labelPath(kPageTitleKeys[page])));
        m_labels[page]->setText(text(labelPath("SelectionColumnsLabel")));
        for (int item = 0; item < m_lists[page]->count(); ++item)
            m_lists[page]->item(item)->setText(text(dialogItemTextPath(page, item)));
    }
    m_all->setText(text(labelPath("AllButton")));
    m_reset->setText(text(labelPath("ResetButton")));
    m_default->setText(text(labelPath("DefaultButton")));
    m_apply->setText(text(labelPath("ApplyButton")));
    m_cancel->setText(text(labelPath("CancelButton")));
}

bool TVParam::EditDisplayedColumns(GridColumnsSet &columns, int page)
{
    LoadColumns(columns);
    SetPage(page);
    if (exec() != QDialog::Accepted)
        return false;
    StoreColumns(columns);
    return true;
}

void TVParam::LoadColumns(const GridColumnsSet &columns)
{
    for (int page = 0; page < kDialogPageCount; ++page)
        setChecks(page, checksFromColumns(columns[gridForDialogPage(page)], page));
}

void TVParam::StoreColumns(GridColumnsSet &columns) const
{
    for (int page = 0; page < kDialogPageCount; ++page)
        applyChecksToColumns(columns[gridForDialogPage(page)], Checks(page));
}

void TVParam::SetPage(int page)
{
    m_pages->setCurrentIndex(normalizedDialogPage(page));
}

int TVParam::Page() const
{
    return m_pages->currentIndex();
}

QListWidget *TVParam::CheckList(int page) const
{
    return m_lists[normalizedDialogPage(page)];
}

QVector<bool> TVParam::Checks(int page) const
{
    const QListWidget *list = CheckList(page);
    QVector<bool> checks;
    for (int item = 0; item < list->count(); ++item)
        checks << (list->item(item)->checkState() == Qt::Checked);
    return checks;
}

void TVParam::SelAllButtonClick()
{
    setChecks(Page(), QVector<bool>(dialogItemCount(Page()), true));
}

void TVParam::ResetButtonClick()
{
    setChecks(Page(), QVector<bool>(dialogItemCount(Page()), false));
}

void TVParam::DefaultButtonClick()
{
    setChecks(Page(), dialogDefaultChecks(Page()));
}

void TVParam::setChecks(int page, const QVector<bool> &checks)
{
    QListWidget *list = CheckList(page);
    for (int item = 0; item < list->count() && item < checks.size(); ++item)
        list->item(item)->setCheckState(checks[item] ? Qt::Checked : Qt::Unchecked);
}
