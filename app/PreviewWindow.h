#pragma once

#include "run/RunReport.h"

#include <QDialog>

#include <functional>

class PlanFilterModel;
class PlanTableModel;
class QAction;
class QCheckBox;
class QLabel;
class QPushButton;
class QTableView;

/// The plan of a run before anything is done: every file with where it goes and what
/// becomes of it, the totals and the destination's free space. "この内容で実行" hands
/// the plan back to run it; 閉じる leaves everything as it is. Modal to the main window
/// while it is open, so nothing there changes under it.
class PreviewWindow final : public QDialog {
    Q_OBJECT

public:
    explicit PreviewWindow(QWidget* owner);

    /// Shows `plan`, in place of what was shown.
    void showPlan(run::RunReport plan);
    const run::RunReport& plan() const;

    /// Called when "この内容で実行" is pressed, after the window has been hidden.
    std::function<void()> onRun;

    QTableView* table() const { return m_table; }
    PlanTableModel* planModel() const { return m_model; }
    PlanFilterModel* rowsShown() const { return m_rows; }
    QCheckBox* changesOnlyBox() const { return m_changesOnly; }
    QLabel* totalsLabel() const { return m_totals; }
    QLabel* spaceLabel() const { return m_space; }
    QAction* copyAction() const { return m_copy; }
    QPushButton* runButton() const { return m_run; }
    QPushButton* closeButton() const { return m_close; }

    /// The selected rows in the order shown, a line each, as the dry run prints them.
    QString selectedLines() const;

private:
    void copySelected();

    PlanTableModel* m_model;
    PlanFilterModel* m_rows;
    QTableView* m_table;
    QLabel* m_totals;
    QLabel* m_space;
    QLabel* m_notice;
    QCheckBox* m_changesOnly;
    QAction* m_copy;
    QPushButton* m_run;
    QPushButton* m_close;
};
