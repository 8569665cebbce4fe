// The displayed-columns dialog: one page per result grid with a check list
// of its optional columns, and the buttons all, reset, default, apply and
// cancel. Applying writes the visible flags of the column configuration;
// positions are never changed here.
#pragma once

#include "base/appstate.h"
#include "views/textlookup.h"

#include <QDialog>

#include <array>

class QLabel;
class QListWidget;
class QPushButton;
class QTabWidget;

using GridColumnsSet = std::array<GridColumns, kGridCount>;

class TVParam : public QDialog {
    Q_OBJECT
public:
    explicit TVParam(QWidget *parent = nullptr);
    TVParam(const TVParam &) = delete;
    TVParam &operator=(const TVParam &) = delete;

    // Takes the texts of the dialog's section.
    void ApplyStrings(const TextLookup &lookup);

    // Runs the dialog on a page (0 three-phase four-wire, 1 three-phase
    // three-wire, 2 single-phase; others count as 0). On "apply" the check
    // states of all pages become the visible flags and true is returned.
    bool EditDisplayedColumns(GridColumnsSet &columns, int page);

    // The steps of EditDisplayedColumns, for callers that show the dialog
    // themselves.
    void LoadColumns(const GridColumnsSet &columns);
    void StoreColumns(GridColumnsSet &columns) const;
    void SetPage(int page);
    int Page() const;

    QVector<bool> Checks(int page) const;

public slots:
    void SelAllButtonClick();
    void ResetButtonClick();
    void DefaultButtonClick();

private:
    // The check list of a page (CheckLB34, CheckLB33, CheckLB1).
    QListWidget *CheckList(int page) const;
    void setChecks(int page, const QVector<bool> &checks);

    QTabWidget *m_pages = nullptr;
    std::array<QListWidget *, 3> m_lists{};
    std::array<QLabel *, 3> m_labels{};
    QPushButton *m_all = nullptr;
    QPushButton *m_reset = nullptr;
    QPushButton *m_default = nullptr;
    QPushButton *m_apply = nullptr;
    QPushButton *m_cancel = nullptr;
};
