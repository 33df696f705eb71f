#include "app/PreviewWindow.h"

#include "app/PlanTableModel.h"
#include "run/PlanView.h"
#include "run/RunReportText.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

QString text(const std::string& utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// "12 ファイル、3.4 MB  そのまま 10、番号付き 2": the states the plan holds, in their order.
QString totalsText(const run::RunReport& plan)
{
    const run::PlanTotals totals = run::planTotals(plan);
    const bool placing = plan.operation == run::Operation::Copy || plan.operation == run::Operation::Move;
    const QString count = text(run::report_text::count(totals.files));
    const QString size = text(run::report_text::size(totals.bytes));
    const int form = static_cast<int>(std::min<std::size_t>(totals.files, INT_MAX)); // picks the plural
    QString line = placing ? PreviewWindow::tr("%1 ファイル、書き込み %2", nullptr, form).arg(count, size)
                           : PreviewWindow::tr("%1 ファイル、%2", nullptr, form).arg(count, size);
    QStringList states;
    for (std::size_t s = 0; s < run::kPlanStates; ++s)
        if (totals.byState[s] > 0)
            states << PreviewWindow::tr("%1 %2").arg(text(run::planStateName(static_cast<run::PlanState>(s))),
                text(run::report_text::count(totals.byState[s])));
    if (!states.isEmpty())
        line += u"    "_s + states.join(PreviewWindow::tr("、"));
    return line;
}

QString spaceText(const run::RunReport& plan)
{
    if (plan.operation != run::Operation::Copy && plan.operation != run::Operation::Move)
        return {};
    if (plan.destinationMissing)
        return PreviewWindow::tr("保存先のフォルダはありません。実行すると作成されます。");
    if (!plan.destinationFree)
        return PreviewWindow::tr("保存先の空き容量は分かりません。");
    return PreviewWindow::tr("保存先の空き容量 %1（必要 %2）")
        .arg(text(run::report_text::size(*plan.destinationFree)),
            text(run::report_text::size(plan.destinationNeeded)));
}

} // namespace

PreviewWindow::PreviewWindow(QWidget* owner)
    : QDialog(owner)
    , m_model(new PlanTableModel(this))
    , m_rows(new PlanFilterModel(*m_model, this))
    , m_table(new QTableView(this))
    , m_totals(new QLabel(this))
    , m_space(new QLabel(this))
    , m_notice(new QLabel(this))
    , m_changesOnly(new QCheckBox(tr("名前が変わるファイルと処理しないファイルだけを表示"), this))
    , m_copy(new QAction(tr("選択した行をコピー(&C)"), this))
    , m_run(new QPushButton(tr("この内容で実行"), this))
    , m_close(new QPushButton(tr("閉じる"), this))
{
    setObjectName(u"frmPreview"_s);
    setWindowTitle(tr("プレビュー"));
    // Window-modal, shown without a loop of its own: the main window's inputs cannot
    // change while the plan is looked at, and its run comes after the window is gone.
    setWindowModality(Qt::WindowModal);
    resize(860, 520);

    m_table->setModel(m_rows);
    // Every row one line high: the view then works out where a row is without asking
    // the rows above it, however many there are.
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 6);
    m_table->verticalHeader()->hide();
    m_table->setWordWrap(false);
    m_table->setTextElideMode(Qt::ElideMiddle);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    QHeaderView* header = m_table->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Interactive); // never sized to all the contents
    header->resizeSection(PlanTableModel::Source, 380);
    header->resizeSection(PlanTableModel::DestName, 200);
    header->resizeSection(PlanTableModel::Size, 80);
    header->setStretchLastSection(true);
    // The plan's own order until a column is clicked.
    header->setSortIndicator(-1, Qt::AscendingOrder);
    m_table->setSortingEnabled(true);

    m_copy->setShortcut(QKeySequence::Copy);
    m_copy->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    m_table->addAction(m_copy);
    m_table->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(m_copy, &QAction::triggered, this, &PreviewWindow::copySelected);

    m_totals->setTextFormat(Qt::PlainText);
    m_space->setTextFormat(Qt::PlainText);
    m_notice->setTextFormat(Qt::PlainText);
    m_notice->setWordWrap(true);
    connect(m_changesOnly, &QCheckBox::toggled, m_rows, &PlanFilterModel::setChangesOnly);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_changesOnly);
    buttons->addStretch();
    buttons->addWidget(m_run);
    buttons->addWidget(m_close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_totals);
    layout->addWidget(m_space);
    layout->addWidget(m_notice);
    layout->addWidget(m_table, 1);
    layout->addLayout(buttons);

    m_run->setAutoDefault(false);
    m_close->setDefault(true); // Enter leaves the files alone
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_run, &QPushButton::clicked, this, [this] {
        accept();
        if (onRun)
            onRun();
    });
}

void PreviewWindow::showPlan(run::RunReport plan)
{
    m_totals->setText(totalsText(plan));
    const QString space = spaceText(plan);
    m_space->setText(space);
    m_space->setVisible(!space.isEmpty());
    m_notice->setText(text(plan.notice));
    m_notice->setVisible(!plan.notice.empty());
    m_model->setPlan(std::move(plan));
}

const run::RunReport& PreviewWindow::plan() const
{
    return m_model->plan();
}

QString PreviewWindow::selectedLines() const
{
    std::vector<int> shownRows;
    for (const QModelIndex& index : m_table->selectionModel()->selectedRows())
        shownRows.push_back(index.row());
    std::sort(shownRows.begin(), shownRows.end());
    QString lines;
    for (const int row : shownRows)
        lines += m_model->lineOf(m_rows->mapToSource(m_rows->index(row, 0)).row()) + u'\n';
    return lines;
}

void PreviewWindow::copySelected()
{
    const QString lines = selectedLines();
    if (!lines.isEmpty())
        QApplication::clipboard()->setText(lines);
}
