// The rows of the results list. The window operations change the rows at once; the view
// hears of new rows and changed cells in batches, a few times a second, so a run that writes a
// thousand rows one blocking window operation at a time does not repaint the list each time.
#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <QTimer>
#include <array>
#include <vector>

namespace lq {

class ResultsModel : public QAbstractTableModel {
    Q_OBJECT

public:
    static constexpr int kColumns = 5;
    static constexpr int kPublishIntervalMs = 40;

    explicit ResultsModel(QObject* parent = nullptr);

    // What the view knows: the rows published so far.
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The list's window operations: they act on the rows themselves, published or not.
    void ClearRows();
    int AppendRow();  // index of the new, empty last row
    int RowCount() const { return static_cast<int>(rows_.size()); }
    void SetCellText(int row, int column, const QString& text);  // out of range: no change
    QString CellText(int row, int column) const;                 // out of range: ""

    // Tells the view about every row and cell change not yet published.
    void Publish();

private:
    void SchedulePublish();

    std::vector<std::array<QString, kColumns>> rows_;
    int published_ = 0;
    int changedFirst_ = -1;  // published rows with changed cells, -1 for none
    int changedLast_ = -1;
    QTimer publishTimer_;
};

}  // namespace lq
