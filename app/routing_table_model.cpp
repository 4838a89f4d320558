#include "app/routing_table_model.h"

#include "editors/routing_matrix.h"
#include "protocol/fields.h"
#include "protocol/table_shapes.h"

CRoutingTableModel::CRoutingTableModel(CRoutingMatrix& matrix, QObject* parent)
    : QAbstractTableModel(parent), m_matrix(matrix), m_nRows(matrix.Inputs()) {}

int CRoutingTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_nRows;
}

int CRoutingTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kOutputs;
}

QVariant CRoutingTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const int input = index.row();
    const int output = index.column();
    if (role == kStateRole) return static_cast<int>(m_matrix.State(input, output));
    if (role == Qt::ToolTipRole) {
        return QString("出力 %1 ← %2")
            .arg(QString::fromStdString(TwoDigits(output + 1)),
                 QString::fromStdString(m_matrix.InputLabel(input)));
    }
    return {};
}

QVariant CRoutingTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Vertical) {
        if (role == Qt::DisplayRole) return QString::fromStdString(m_matrix.InputLabel(section));
        if (role == Qt::TextAlignmentRole) return int(Qt::AlignLeft | Qt::AlignVCenter);
        return {};
    }
    if (role == Qt::DisplayRole) {
        // Two lines always, so that the header keeps its height as patterns come and go.
        const std::string pattern = m_matrix.PatternOf(section);
        return QString::fromStdString(TwoDigits(section + 1) + "\n" +
                                      (pattern.empty() ? " " : pattern));
    }
    if (role == Qt::TextAlignmentRole) return int(Qt::AlignCenter);
    if (role == Qt::ToolTipRole) {
        const std::string pattern = m_matrix.PatternOf(section);
        if (!pattern.empty()) return QString("オート・シーケンス %1").arg(pattern.c_str());
    }
    return {};
}

void CRoutingTableModel::Refresh() {
    if (m_matrix.Inputs() != m_nRows) {
        beginResetModel();
        m_nRows = m_matrix.Inputs();
        endResetModel();
        return;
    }
    emit dataChanged(index(0, 0), index(m_nRows - 1, kOutputs - 1), {kStateRole, Qt::ToolTipRole});
    emit headerDataChanged(Qt::Horizontal, 0, kOutputs - 1);
    emit headerDataChanged(Qt::Vertical, 0, m_nRows - 1);
}
