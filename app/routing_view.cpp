#include "app/routing_view.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <algorithm>

#include "app/routing_table_model.h"
#include "editors/routing_matrix.h"

namespace {

// Told apart by shape as well as colour, so that a black-and-white print or
// an eye that does not see the orange still reads them.
const QColor kStagedColour(230, 110, 0);
const QColor kCrossHairColour(255, 248, 200);  // the cursor's row and column
const QColor kBandColour(242, 242, 242);       // every other block of 8 outputs

class CCrosspointDelegate : public QStyledItemDelegate {
public:
    explicit CCrosspointDelegate(QTableView* view) : QStyledItemDelegate(view), m_view(view) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        const QRect cell = option.rect;
        painter->fillRect(cell, Background(index));
        const auto state =
            static_cast<CrosspointState>(index.data(CRoutingTableModel::kStateRole).toInt());
        const int size = std::max(4, std::min(cell.width(), cell.height()) * 3 / 5);
        const QRectF mark(cell.center().x() - size / 2.0 + 0.5,
                          cell.center().y() - size / 2.0 + 0.5, size, size);
        DrawMark(*painter, state, mark);
        if (index == m_view->currentIndex()) {
            painter->setRenderHint(QPainter::Antialiasing, false);
            painter->setPen(QPen(Qt::black, 2));
            painter->setBrush(Qt::NoBrush);
            painter->drawRect(cell.adjusted(1, 1, -1, -1));
        }
        painter->restore();
    }

private:
    QColor Background(const QModelIndex& index) const {
        const QModelIndex cursor = m_view->currentIndex();
        if (cursor.isValid() && (index.row() == cursor.row() || index.column() == cursor.column()))
            return kCrossHairColour;
        return (index.column() / 8) % 2 ? kBandColour : QColor(Qt::white);
    }

    static void DrawMark(QPainter& painter, CrosspointState state, const QRectF& mark) {
        switch (state) {
            case CrosspointState::kFree:
                break;
            case CrosspointState::kInUse:
                painter.setPen(Qt::NoPen);
                painter.setBrush(Qt::black);
                painter.drawEllipse(mark);
                break;
            case CrosspointState::kLeaving:
                painter.setPen(QPen(Qt::black, 1.5));
                painter.setBrush(Qt::NoBrush);
                painter.drawEllipse(mark.adjusted(1, 1, -1, -1));
                break;
            case CrosspointState::kStaged: {
                const QPointF c = mark.center();
                const double r = mark.width() / 2 + 1;
                const QPointF diamond[] = {
                    {c.x(), c.y() - r}, {c.x() + r, c.y()}, {c.x(), c.y() + r}, {c.x() - r, c.y()}};
                painter.setPen(QPen(Qt::black, 1));
                painter.setBrush(kStagedColour);
                painter.drawPolygon(diamond, 4);
                break;
            }
        }
    }

    QTableView* m_view;
};

}  // namespace

CRoutingView::CRoutingView(QWidget* parent) : QTableView(parent) {
    setItemDelegate(new CCrosspointDelegate(this));
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);  // Tab leaves for the buttons
    setCornerButtonEnabled(false);
    setWordWrap(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->setHighlightSections(false);
    connect(this, &QTableView::clicked, this, [this](const QModelIndex& index) {
        emit crosspointPressed(index.row(), index.column());
    });
    FitToFont();
}

void CRoutingView::FitToFont() {
    const QFontMetrics metrics(font());
    const int margin = style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, this);
    const int row = metrics.height() + 6;
    const int column = std::max(metrics.horizontalAdvance("A05") + 2 * margin + 4, row);
    horizontalHeader()->setMinimumSectionSize(column);
    horizontalHeader()->setDefaultSectionSize(column);
    verticalHeader()->setMinimumSectionSize(row);
    verticalHeader()->setDefaultSectionSize(row);
}

QSize CRoutingView::WholeSize() const {
    const int frame = 2 * frameWidth();
    return {verticalHeader()->sizeHint().width() + horizontalHeader()->length() + frame,
            horizontalHeader()->sizeHint().height() + verticalHeader()->length() + frame};
}

void CRoutingView::MoveCursor(int nInput, int nOutput) {
    if (!model() || model()->rowCount() == 0) return;
    nInput = std::clamp(nInput, 0, model()->rowCount() - 1);
    nOutput = std::clamp(nOutput, 0, model()->columnCount() - 1);
    setCurrentIndex(model()->index(nInput, nOutput));
}

void CRoutingView::keyPressEvent(QKeyEvent* event) {
    const bool plain = !(event->modifiers() & ~Qt::KeypadModifier);
    if (plain && event->key() == Qt::Key_Space) {
        const QModelIndex at = currentIndex();
        if (at.isValid()) emit crosspointPressed(at.row(), at.column());
        return;
    }
    if (plain && (event->key() == Qt::Key_PageUp || event->key() == Qt::Key_PageDown)) {
        emit rowStepped(event->key() == Qt::Key_PageUp ? -1 : 1);
        return;
    }
    QTableView::keyPressEvent(event);
}

// The cross-hair follows the cursor across its whole row and column.
void CRoutingView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    viewport()->update();
}
