// The routing matrix drawn: inputs down the side, outputs across, a black
// disc at each crosspoint in use, a diamond in the staged colour at each
// staged one, and a ring where a staged change takes the output away. The
// cursor is outlined. As in the editors' grids the arrow keys, Home and End
// move it, Page Up / Page Down step through the rows (the direct switching,
// the memories); Space stages at the cursor as a click does.
#pragma once

#include <QTableView>

class CRoutingView : public QTableView {
    Q_OBJECT
public:
    explicit CRoutingView(QWidget* parent = nullptr);

    // Fits the cells to the font: an output column as wide as "A05", a row
    // as high as a line of text.
    void FitToFont();
    // The size that shows every crosspoint without scrolling.
    QSize WholeSize() const;
    QSize sizeHint() const override { return WholeSize(); }
    // The model's headers have changed: the inputs' header may need to widen.
    void FitHeaders() { updateGeometries(); }
    // Puts the cursor on the crosspoint, or the nearest one there is.
    void MoveCursor(int nInput, int nOutput);

signals:
    // A click, or Space at the cursor.
    void crosspointPressed(int nInput, int nOutput);
    // Page Up (-1) or Page Down (+1).
    void rowStepped(int step);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
};
