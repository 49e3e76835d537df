// The 选择夹 kind: a tab widget whose page controls are placed in the tab widget's own
// coordinates (tab strip included), as the window definition gives them. Pages sit inside the
// tab widget's stacked widget, so each control is moved by where its page lies.
#pragma once

#include <QPoint>
#include <QTabWidget>

namespace lq {

class TabControl : public QTabWidget {
    Q_OBJECT

public:
    static constexpr int kTabStripHeight = 20;

    explicit TabControl(QWidget* parent = nullptr);

    // Places a control that sits on one of the pages, in this widget's coordinates.
    void SetPlace(QWidget* control, QPoint place);
    static QPoint PlaceOf(const QWidget* control);  // the place last given, tab coordinates

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void PlaceAll();
    void Place(QWidget* control);
};

}  // namespace lq
