#pragma once

#include "run/PlanView.h"
#include "run/RunReport.h"

#include <QAbstractTableModel>
#include <QSortFilterProxyModel>

#include <vector>

/// A run's plan as a table: one row per planned file, read from the report's records
/// as the view asks for them, so a plan of any size costs no item per row.
class PlanTableModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { Source = 0, DestName = 1, Size = 2, State = 3 };
    static constexpr int kColumns = 4;

    explicit PlanTableModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

    /// Shows `plan`, which the model takes over.
    void setPlan(run::RunReport plan);
    const run::RunReport& plan() const { return m_plan; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    run::PlanState state(int row) const { return m_states[static_cast<std::size_t>(row)]; }
    /// Orders two rows by a column, on the records' own bytes and numbers.
    bool lessThan(int left, int right, int column) const;
    /// The row as the command line's dry run prints it: SOURCE, a tab and DEST (SOURCE
    /// alone for delete and trash).
    QString lineOf(int row) const;

private:
    run::RunReport m_plan;
    std::vector<run::PlanState> m_states; // worked out once: sorting asks for them often
};

/// The rows of a plan in the order the user sorted them, all of them or only those whose
/// name changes or that are not done as they stand.
class PlanFilterModel final : public QSortFilterProxyModel {
    Q_OBJECT

public:
    explicit PlanFilterModel(PlanTableModel& plan, QObject* parent = nullptr);

    void setChangesOnly(bool changesOnly);
    bool changesOnly() const { return m_changesOnly; }

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

private:
    PlanTableModel& m_plan;
    bool m_changesOnly = false;
};
