#include "app/windowbuilder.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>

#include "app/controltable.h"
#include "app/resultsmodel.h"
#include "app/superbutton.h"
#include "app/tabcontrol.h"
#include "search/settings.h"
#include "text/codepage.h"

namespace lq {
namespace {

constexpr int kListRowHeight = 18;

QString GbkText(const std::string& gbk) { return QString::fromStdString(GbkToUtf8(gbk)); }

QString ControlText(const ControlRow& entry) {
    const Settings& settings = CurrentSettings();
    switch (entry.textSource) {
        case TextSource::Literal:
            return Utf8Text(entry.text);
        case TextSource::DonationAccount:
            return GbkText(settings.donationAccount);
        case TextSource::OfficialSiteCaption:
            return GbkText(settings.officialSiteAddress) + QStringLiteral("(官方)");
        case TextSource::NewsSiteCaption:
            return GbkText(settings.newsSiteAddress) + QStringLiteral("(IT资讯站)");
    }
    return {};
}

QWidget* MakeLabel(QWidget* parent, const ControlRow& entry, const QString& text) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    const bool wraps = (entry.style & kWordWrap) != 0;
    label->setWordWrap(wraps);
    Qt::Alignment horizontal = (entry.style & kCentred) ? Qt::AlignHCenter : Qt::AlignLeft;
    label->setAlignment(horizontal | (wraps ? Qt::AlignTop : Qt::AlignVCenter));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, (entry.style & kRedText) ? Qt::red : Qt::black);
    label->setPalette(palette);
    // No fill of its own: a label draws on its parent, the window's face or a page's white.
    label->setAutoFillBackground(false);
    return label;
}

QWidget* MakeEditBox(QWidget* parent, const ControlRow& entry, const QString& text) {
    auto* edit = new QLineEdit(parent);
    edit->setText(text);
    edit->setReadOnly((entry.style & kReadOnly) != 0);
    edit->setMaxLength(32767 * 64);  // no practical length limit
    return edit;
}

QWidget* MakeButton(QWidget* parent, const QString& text) {
    auto* button = new QPushButton(parent);
    // A literal "&" in a caption must stay visible.
    button->setText(QString(text).replace(QLatin1Char('&'), QStringLiteral("&&")));
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

QWidget* MakeCheckBox(QWidget* parent, const ControlRow& entry, const QString& text) {
    auto* box = new QCheckBox(parent);
    box->setText(QString(text).replace(QLatin1Char('&'), QStringLiteral("&&")));
    box->setChecked((entry.style & kChecked) != 0);
    return box;
}

QWidget* MakeTabControl(QWidget* parent, const QString& text) {
    auto* tabs = new TabControl(parent);
    for (const QString& caption : text.split(QLatin1Char('|'))) {
        auto* page = new QWidget(tabs);
        page->setAutoFillBackground(true);
        QPalette palette = page->palette();
        palette.setColor(QPalette::Window, Qt::white);
        page->setPalette(palette);
        tabs->addTab(page, caption);
    }
    tabs->setCurrentIndex(0);
    return tabs;
}

QWidget* MakeListView(QWidget* parent, ResultsModel& model) {
    auto* list = new QTableView(parent);
    list->setModel(&model);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setSortingEnabled(false);
    list->setShowGrid(true);
    list->setWordWrap(false);
    list->setCornerButtonEnabled(false);
    list->setTabKeyNavigation(false);
    list->verticalHeader()->hide();
    list->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    list->verticalHeader()->setDefaultSectionSize(kListRowHeight);
    QHeaderView* header = list->horizontalHeader();
    header->setSectionsClickable(true);  // headers press like buttons; nothing is bound to them
    header->setSortIndicatorShown(false);
    header->setHighlightSections(false);
    header->setStretchLastSection(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setMinimumSectionSize(0);  // else the zero-wide address column is widened
    const auto columns = ResultListColumns();
    for (size_t i = 0; i < columns.size(); ++i) {
        header->resizeSection(static_cast<int>(i), columns[i].width);
    }
    // The selection is not drawn while the list lacks the focus.
    QPalette palette = list->palette();
    palette.setColor(QPalette::Inactive, QPalette::Highlight, palette.color(QPalette::Base));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText, palette.color(QPalette::Text));
    list->setPalette(palette);
    return list;
}

QWidget* MakeStatusBar(QWidget* parent) {
    auto* bar = new QStatusBar(parent);
    bar->setSizeGripEnabled(false);
    // The bar's one part (index 0): a label spanning it; the notice is untrusted, so plain text.
    auto* part = new QLabel(bar);
    part->setObjectName(QStringLiteral("状态条1.part0"));
    part->setTextFormat(Qt::PlainText);
    part->setTextInteractionFlags(Qt::NoTextInteraction);
    // A notice longer than the bar is cut off at the bar's edge instead of widening it.
    part->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    part->setMinimumWidth(0);
    bar->addWidget(part, 1);
    return bar;
}

QWidget* MakeProgressBar(QWidget* parent) {
    auto* bar = new QProgressBar(parent);
    bar->setOrientation(Qt::Horizontal);
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setTextVisible(false);
    return bar;
}

QWidget* MakeSuperButton(QWidget* parent, const ControlRow& entry, const QString& text) {
    auto* button = new SuperButton(parent);
    button->SetCaption(text);
    button->SetToolTipText({});
    button->SetLinkLook((entry.style & kLinkLook) != 0);
    if (entry.height == 16) {
        QFont font = button->font();
        font.setPixelSize(12);
        button->setFont(font);
    }
    return button;
}

QWidget* MakeControl(QWidget* parent, const ControlRow& entry, ResultsModel& model) {
    const QString text = ControlText(entry);
    switch (entry.kind) {
        case ControlKind::Label:
            return MakeLabel(parent, entry, text);
        case ControlKind::EditBox:
            return MakeEditBox(parent, entry, text);
        case ControlKind::Button:
            return MakeButton(parent, text);
        case ControlKind::CheckBox:
            return MakeCheckBox(parent, entry, text);
        case ControlKind::TabControl:
            return MakeTabControl(parent, text);
        case ControlKind::ListView:
            return MakeListView(parent, model);
        case ControlKind::StatusBar:
            return MakeStatusBar(parent);
        case ControlKind::ProgressBar:
            return MakeProgressBar(parent);
        case ControlKind::SuperButton:
            return MakeSuperButton(parent, entry, text);
    }
    return nullptr;
}

}  // namespace

QString Utf8Text(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QWidget* BuiltControls::Find(const QString& name) const {
    const auto it = byName.find(name);
    return it == byName.end() ? nullptr : it->second;
}

BuiltControls BuildWindowControls(QWidget& window, ResultsModel& model) {
    BuiltControls built;
    for (const ControlRow& entry : MainWindowControls()) {
        const QPoint place(entry.left, entry.top);
        // Every control is made on its parent, the window or a page, which then owns it.
        TabControl* tabs = nullptr;
        QWidget* parent = &window;
        if (entry.parent != kWindowParent) {
            tabs = qobject_cast<TabControl*>(built.Find(Utf8Text(entry.parent)));
            parent = tabs->widget(entry.page);
        }
        QWidget* control = MakeControl(parent, entry, model);
        const QString name = Utf8Text(entry.name);
        control->setObjectName(name);
        control->setProperty("kind", Utf8Text(KindName(entry.kind)));
        control->setProperty(kTableNameProperty, name);
        if (tabs != nullptr) {
            tabs->SetPlace(control, place);
        } else {
            control->move(place);
        }
        control->setFixedSize(entry.width, entry.height);
        control->setVisible((entry.style & kHidden) == 0);
        built.byName.emplace(name, control);
    }
    return built;
}

}  // namespace lq
