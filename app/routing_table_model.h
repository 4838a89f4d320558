// The routing matrix as a Qt table: a row per input channel of the model
// ("I03 本社" in its header), a column per output ("01", with "A05" under it
// while the output shows an auto-sequence pattern), and each crosspoint's
// state for the view to draw.
#pragma once

#include <QAbstractTableModel>

class CRoutingMatrix;

class CRoutingTableModel : public QAbstractTableModel {
public:
    // The crosspoint's CrosspointState, as an int.
    static constexpr int kStateRole = Qt::UserRole + 1;

    CRoutingTableModel(CRoutingMatrix& matrix, QObject* parent);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The matrix has changed: every cell and header is read again, the rows
    // afresh when the model's input count changed.
    void Refresh();

private:
    CRoutingMatrix& m_matrix;
    int m_nRows;
};
