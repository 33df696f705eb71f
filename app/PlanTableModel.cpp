#include "app/PlanTableModel.h"

#include "run/RunReportText.h"

#include <QFile>

#include <string_view>

namespace {

// Paths are the file system's bytes; shown as the file dialogs show them.
QString pathText(std::string_view path)
{
    return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

std::string_view nameOf(std::string_view path)
{
    return path.substr(path.rfind('/') + 1);
}

} // namespace

void PlanTableModel::setPlan(run::RunReport plan)
{
    beginResetModel();
    m_plan = std::move(plan);
    m_states.clear();
    m_states.reserve(m_plan.files.size());
    for (const run::FileRecord& file : m_plan.files)
        m_states.push_back(run::planState(file));
    endResetModel();
}

int PlanTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_plan.files.size());
}

int PlanTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumns;
}

QVariant PlanTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const run::FileRecord& file = m_plan.files[static_cast<std::size_t>(index.row())];
    if (role == Qt::TextAlignmentRole && index.column() == Size)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if (role == Qt::ToolTipRole && index.column() == State && file.identical)
        return pathText(file.reason.text()); // the file it matched
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case Source:
        return pathText(file.source.view());
    case DestName:
        return file.dest.empty() ? QString() : pathText(nameOf(file.dest.view()));
    case Size:
        return QString::fromStdString(run::report_text::size(file.bytes));
    default:
        return QString::fromStdString(run::planStateName(state(index.row())));
    }
}

QVariant PlanTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char* const kHeaders[kColumns] = { QT_TR_NOOP("元のファイル"), QT_TR_NOOP("保存先の名前"),
        QT_TR_NOOP("サイズ"), QT_TR_NOOP("状態") };
    return section >= 0 && section < kColumns ? tr(kHeaders[section]) : QVariant();
}

bool PlanTableModel::lessThan(int left, int right, int column) const
{
    const run::FileRecord& a = m_plan.files[static_cast<std::size_t>(left)];
    const run::FileRecord& b = m_plan.files[static_cast<std::size_t>(right)];
    switch (column) {
    case Source:
        return a.source.view() < b.source.view();
    case DestName:
        return nameOf(a.dest.view()) < nameOf(b.dest.view());
    case Size:
        return a.bytes < b.bytes;
    default:
        return state(left) < state(right);
    }
}

QString PlanTableModel::lineOf(int row) const
{
    const run::FileRecord& file = m_plan.files[static_cast<std::size_t>(row)];
    QString line = pathText(file.source.view());
    if (!file.dest.empty())
        line += u'\t' + pathText(file.dest.view());
    return line;
}

PlanFilterModel::PlanFilterModel(PlanTableModel& plan, QObject* parent)
    : QSortFilterProxyModel(parent), m_plan(plan)
{
    setSourceModel(&plan);
}

void PlanFilterModel::setChangesOnly(bool changesOnly)
{
    if (changesOnly == m_changesOnly)
        return;
    m_changesOnly = changesOnly;
    invalidateRowsFilter();
}

bool PlanFilterModel::filterAcceptsRow(int sourceRow, const QModelIndex&) const
{
    return !m_changesOnly || run::isChange(m_plan.state(sourceRow));
}

bool PlanFilterModel::lessThan(const QModelIndex& left, const QModelIndex& right) const
{
    return m_plan.lessThan(left.row(), right.row(), left.column());
}
