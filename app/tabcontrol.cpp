#include "app/tabcontrol.h"

#include <QTabBar>
#include <QVariant>

namespace lq {
namespace {

constexpr const char* kPlaceProperty = "lqTabPlace";

// Keeps the tab strip at the height the page controls were laid out for: with a CJK font the
// style's own tab height is a few pixels taller.
class FixedHeightTabBar : public QTabBar {
public:
    using QTabBar::QTabBar;

protected:
    QSize tabSizeHint(int index) const override {
        QSize size = QTabBar::tabSizeHint(index);
        size.setHeight(TabControl::kTabStripHeight);
        return size;
    }
    QSize minimumTabSizeHint(int index) const override { return tabSizeHint(index); }
};

}  // namespace

TabControl::TabControl(QWidget* parent) : QTabWidget(parent) {
    setTabBar(new FixedHeightTabBar(this));
    // No pane frame: the page area starts right under the strip, so a control at the
    // definition's place lands where the window definition puts it.
    setDocumentMode(true);
}

void TabControl::SetPlace(QWidget* control, QPoint place) {
    control->setProperty(kPlaceProperty, place);
    Place(control);
}

QPoint TabControl::PlaceOf(const QWidget* control) {
    return control->property(kPlaceProperty).toPoint();
}

void TabControl::Place(QWidget* control) {
    const QWidget* page = control->parentWidget();
    if (page == nullptr) return;
    control->move(PlaceOf(control) - page->mapTo(this, QPoint(0, 0)));
}

void TabControl::PlaceAll() {
    for (int i = 0; i < count(); ++i) {
        for (QObject* child : widget(i)->children()) {
            auto* control = qobject_cast<QWidget*>(child);
            if (control != nullptr && control->property(kPlaceProperty).isValid()) Place(control);
        }
    }
}

void TabControl::showEvent(QShowEvent* event) {
    QTabWidget::showEvent(event);  // lays out the strip and the pages
    PlaceAll();
}

void TabControl::resizeEvent(QResizeEvent* event) {
    QTabWidget::resizeEvent(event);
    PlaceAll();
}

}  // namespace lq
