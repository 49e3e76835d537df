// Builds the window's controls from the control table: one widget per row, named by the row.
#pragma once

#include <QString>
#include <map>
#include <string_view>

class QWidget;

namespace lq {

class ResultsModel;

// The control-table name a widget was built from; clones carry their template's.
inline constexpr const char* kTableNameProperty = "tableName";

struct BuiltControls {
    std::map<QString, QWidget*> byName;
    QWidget* Find(const QString& name) const;
};

// Creates every control of the table on window (kept hidden until the window is shown); the
// results list shows model.
BuiltControls BuildWindowControls(QWidget& window, ResultsModel& model);

QString Utf8Text(std::string_view utf8);

}  // namespace lq
