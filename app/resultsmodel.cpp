#include "app/resultsmodel.h"

#include <algorithm>

#include "app/controltable.h"

namespace lq {

ResultsModel::ResultsModel(QObject* parent) : QAbstractTableModel(parent) {
    publishTimer_.setSingleShot(true);
    publishTimer_.setInterval(kPublishIntervalMs);
    connect(&publishTimer_, &QTimer::timeout, this, &ResultsModel::Publish);
}

int ResultsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : published_;
}

int ResultsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumns;
}

QVariant ResultsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= published_ || index.column() >= kColumns) return {};
    if (role == Qt::DisplayRole) return rows_[static_cast<size_t>(index.row())][index.column()];
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    }
    return {};
}

QVariant ResultsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumns) return {};
    if (role == Qt::DisplayRole) {
        const std::string_view heading = ResultListColumns()[static_cast<size_t>(section)].heading;
        return QString::fromUtf8(heading.data(), static_cast<qsizetype>(heading.size()));
    }
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    }
    return {};
}

void ResultsModel::ClearRows() {
    publishTimer_.stop();
    changedFirst_ = changedLast_ = -1;
    if (rows_.empty() && published_ == 0) return;
    beginResetModel();
    rows_.clear();
    published_ = 0;
    endResetModel();
}

int ResultsModel::AppendRow() {
    rows_.emplace_back();
    SchedulePublish();
    return RowCount() - 1;
}

void ResultsModel::SetCellText(int row, int column, const QString& text) {
    if (row < 0 || row >= RowCount() || column < 0 || column >= kColumns) return;
    rows_[static_cast<size_t>(row)][column] = text;
    if (row < published_) {
        changedFirst_ = changedFirst_ < 0 ? row : std::min(changedFirst_, row);
        changedLast_ = std::max(changedLast_, row);
    }
    SchedulePublish();
}

QString ResultsModel::CellText(int row, int column) const {
    if (row < 0 || row >= RowCount() || column < 0 || column >= kColumns) return {};
    return rows_[static_cast<size_t>(row)][column];
}

void ResultsModel::SchedulePublish() {
    if (!publishTimer_.isActive()) publishTimer_.start();
}

void ResultsModel::Publish() {
    publishTimer_.stop();
    if (changedFirst_ >= 0) {
        emit dataChanged(index(changedFirst_, 0), index(changedLast_, kColumns - 1),
                         {Qt::DisplayRole});
        changedFirst_ = changedLast_ = -1;
    }
    if (RowCount() > published_) {
        beginInsertRows({}, published_, RowCount() - 1);
        published_ = RowCount();
        endInsertRows();
    }
}

}  // namespace lq
