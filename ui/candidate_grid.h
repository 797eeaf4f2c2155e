#pragma once

#include <QTableView>

class TCandidateModel;

// A candidate grid of the optimization page (Grid2_Youhuajieguo, Grid3_Youhuasaixuan): read-only,
// whole rows selected, rows of one fixed height, 20 columns of which 0 to 4 are always shown and 5
// to 19 only with the detail columns on.
class TCandidateGrid : public QTableView
{
    Q_OBJECT

public:
    TCandidateGrid(const QString &name, QWidget *parent);

    TCandidateModel *Model() const { return m_model; }
    void ShowDetailColumns(bool shown);
    void SelectFirstRow();
    void SetScale(double scale);

signals:
    void HeaderClicked(int column);
    void RowDoubleClicked(int row);

private:
    // The number and Ra columns widen when their texts would not fit ("ZH-0000001" of a long
    // sweep, a large Ra): the grid then scrolls sideways rather than cut a figure.
    void FitNumberColumns();

    TCandidateModel *m_model;
    double m_scale = 1;
    int m_remarkWidth; // design units: the toolkit's default width of a column
};
