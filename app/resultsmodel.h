// The rows of the results list. A model lets the view coalesce repaints, so a run that appends
// a thousand rows one window operation at a time costs the GUI thread little.
#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <array>
#include <vector>

namespace lq {

class ResultsModel : public QAbstractTableModel {
    Q_OBJECT

public:
    static constexpr int kColumns = 5;

    explicit ResultsModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void ClearRows();
    int AppendRow();  // index of the new, empty last row
    void SetCellText(int row, int column, const QString& text);  // out of range: no change
    QString CellText(int row, int column) const;                  // out of range: ""

private:
    std::vector<std::array<QString, kColumns>> rows_;
};

}  // namespace lq
