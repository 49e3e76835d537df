#include "app/mainwindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QProgressBar>
#include <QScreen>
#include <QTableView>
#include <QUrl>
#include <QWindow>

#include "app/controltable.h"
#include "app/hotbuttongrid.h"
#include "app/resultsmodel.h"
#include "app/superbutton.h"
#include "app/tabcontrol.h"
#include "search/hotlist.h"
#include "search/openresult.h"
#include "search/searchrun.h"
#include "search/settings.h"
#include "text/codepage.h"

namespace lq {
namespace {

constexpr int kHotKeywordWaitMs = 10;
constexpr int kFontPixelSize = 12;

QString FromGbk(std::string_view gbk) { return QString::fromStdString(GbkToUtf8(gbk)); }

std::string ToGbk(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    return Utf8ToGbk(std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())));
}

template <typename Widget>
Widget* Named(const BuiltControls& controls, const char* utf8Name) {
    return qobject_cast<Widget*>(controls.Find(QString::fromUtf8(utf8Name)));
}

void OpenWithDesktop(const QString& address) {
    QDesktopServices::openUrl(QUrl(address, QUrl::TolerantMode));
}

}  // namespace

MainWindow::MainWindow(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      results_(new ResultsModel(this)),
      opener_(OpenWithDesktop),
      view_(*this, gate_),
      runs_(std::make_unique<SearchRuns>(view_)) {
    const WindowProperties& entry = MainWindowProperties();
    setWindowTitle(Utf8Text(entry.title));
    setFixedSize(entry.clientWidth, entry.clientHeight);
    QFont windowFont = font();
    windowFont.setPixelSize(kFontPixelSize);
    setFont(windowFont);

    controls_ = BuildWindowControls(*this, *results_);
    keywordBox_ = Named<QLineEdit>(controls_, "编辑框1");
    speedOption_ = Named<QCheckBox>(controls_, "选择框1");
    tabs_ = Named<TabControl>(controls_, "选择夹1");
    list_ = Named<QTableView>(controls_, "超级列表框1");
    progress_ = Named<QProgressBar>(controls_, "进度条1");
    statusPart0_ = controls_.Find(QStringLiteral("状态条1"))
                       ->findChild<QLabel*>(QStringLiteral("状态条1.part0"));
    hotTemplate_ = Named<SuperButton>(controls_, "超级按钮1");

    for (const ControlRow& control : MainWindowControls()) {
        BindEvents(controls_.Find(Utf8Text(control.name)), control.name);
    }
}

MainWindow::~MainWindow() { Shutdown(); }

void MainWindow::Shutdown() {
    if (shutDown_) return;
    shutDown_ = true;
    runs_->RequestStopAll();
    gate_.CloseAndDrain();
    runs_->JoinAll();
}

// ---- Event bindings ----

void MainWindow::BindEvents(QWidget* control, std::string_view tableName) {
    for (const EventBinding& binding : MainWindowBindings()) {
        if (binding.control != tableName) continue;
        const WindowAction action = binding.action;
        switch (binding.event) {
            case ControlEvent::Created:
                break;  // raised by RaiseCreated
            case ControlEvent::Clicked: {
                auto* button = qobject_cast<QAbstractButton*>(control);
                connect(button, &QAbstractButton::clicked, this,
                        [this, button, action] { Dispatch(action, button); });
                break;
            }
            case ControlEvent::DoubleClicked: {
                // doubleClicked fires only on a row; a double-click anywhere opens the selection.
                QWidget* target = control;
                if (auto* view = qobject_cast<QAbstractItemView*>(control)) {
                    target = view->viewport();
                }
                target->installEventFilter(this);
                filtered_.emplace(target, std::pair{binding.event, action});
                break;
            }
            case ControlEvent::LeftButtonReleased:
                control->installEventFilter(this);
                filtered_.emplace(control, std::pair{binding.event, action});
                break;
        }
    }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    const auto [first, last] = filtered_.equal_range(watched);
    for (auto it = first; it != last; ++it) {
        const auto [boundEvent, action] = it->second;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (boundEvent == ControlEvent::DoubleClicked &&
            event->type() == QEvent::MouseButtonDblClick) {
            Dispatch(action, widget);
            return true;
        }
        if (boundEvent == ControlEvent::LeftButtonReleased &&
            event->type() == QEvent::MouseButtonRelease) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton &&
                widget->rect().contains(mouse->position().toPoint())) {
                Dispatch(action, widget);
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::Dispatch(WindowAction action, QWidget* source) {
    QWidget* outer = eventSource_;
    eventSource_ = source;
    Run(action);
    eventSource_ = outer;
}

void MainWindow::Run(WindowAction action) {
    const Settings& settings = CurrentSettings();
    switch (action) {
        case WindowAction::StartUp:
            StartUp();
            break;
        case WindowAction::StartSearch:
            StartSearch();
            break;
        case WindowAction::OpenSelectedResult:
            OpenSelectedResult();
            break;
        case WindowAction::HotKeywordClick:
            HotKeywordClick();
            break;
        // The about tab's fixed links are the program's own and are opened as they are.
        case WindowAction::OpenOfficialSite:
            OpenAddress(FromGbk(settings.officialSiteAddress));
            break;
        case WindowAction::OpenNewsSite:
            OpenAddress(FromGbk(settings.newsSiteAddress));
            break;
        case WindowAction::OpenGroupJoinLink:
            OpenAddress(FromGbk(settings.groupJoinLink));
            break;
        case WindowAction::OpenDonationPage:
            OpenAddress(FromGbk(settings.donationPageAddress));
            break;
        case WindowAction::CopyDonationAccount:
            CopyDonationAccount();
            break;
    }
}

void MainWindow::RaiseCreated() {
    for (const EventBinding& binding : MainWindowBindings()) {
        if (binding.event == ControlEvent::Created) Dispatch(binding.action, this);
    }
}

// ---- Start-up ----

void MainWindow::StartUp() {
    // The search lock is ready once the runs exist (constructor). Two blocking requests follow,
    // one after the other; the window is not on the screen yet.
    FillHotButtons(FetchHotTitles());
    ShowNotice(FetchNoticeText());
}

void MainWindow::FillHotButtons(std::vector<std::string> titles) {
    hotTitles_ = std::move(titles);
    size_t n = 0;
    for (int r = 1; r <= kHotRows; ++r) {
        for (int c = 1; c <= kHotColumns; ++c) {
            SuperButton* button = CloneSuperButton(*hotTemplate_);
            hotButtons_[r - 1][c - 1] = button;
            const QRect place = HotButtonPlace(r, c);
            tabs_->SetPlace(button, place.topLeft());
            button->setFixedWidth(place.width());
            button->setVisible(true);
            ++n;
            if (hotTitles_.size() < n) continue;  // keeps "超级按钮" and no tooltip
            std::string& title = hotTitles_[n - 1];
            title = CleanHotTitle(title);
            const QString caption = FromGbk(title);
            button->SetCaption(caption);
            button->SetToolTipText(caption);
        }
    }
}

void MainWindow::ShowNotice(std::string_view noticeText) {
    if (const std::optional<std::string> shown = NoticeToShow(noticeText)) {
        SetPartText(0, FromGbk(*shown));
    }
}

SuperButton* MainWindow::HotButton(int number) const {
    if (number < 1 || number > kHotRows * kHotColumns) return nullptr;
    return hotButtons_[(number - 1) / kHotColumns][(number - 1) % kHotColumns];
}

void MainWindow::ShowCentred() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
    show();
}

// ---- Window operations ----

QString MainWindow::KeywordText() const { return keywordBox_->text(); }
void MainWindow::SetKeywordText(const QString& text) { keywordBox_->setText(text); }
bool MainWindow::SpeedOptionChecked() const { return speedOption_->isChecked(); }
void MainWindow::SelectPage(int page) { tabs_->setCurrentIndex(page); }
int MainWindow::CurrentPage() const { return tabs_->currentIndex(); }

int MainWindow::SelectedRow() const {
    const QModelIndexList rows = list_->selectionModel()->selectedRows();
    int first = -1;
    for (const QModelIndex& row : rows) {
        if (first < 0 || row.row() < first) first = row.row();
    }
    return first;
}

void MainWindow::SetProgressRange(int minimum, int maximum) {
    progress_->setRange(minimum, maximum);
}

void MainWindow::SetProgressPosition(int position) { progress_->setValue(position); }

void MainWindow::SetPartText(int part, const QString& text) {
    if (part == 0) statusPart0_->setText(text);
}

QString MainWindow::PartText(int part) const {
    return part == 0 ? statusPart0_->text() : QString();
}

SuperButton* MainWindow::CloneSuperButton(const SuperButton& source) {
    auto* clone = new SuperButton(source.parentWidget());
    clone->setProperty("kind", source.property("kind"));
    clone->setFont(source.font());
    clone->setPalette(source.palette());
    clone->SetLinkLook(source.LinkLook());
    clone->SetCaption(source.Caption());
    clone->SetToolTipText(source.ToolTipText());
    clone->setFixedSize(source.size());
    tabs_->SetPlace(clone, TabControl::PlaceOf(&source));
    clone->setVisible(!source.isHidden());
    // The clone answers the same events as the control it was cloned from.
    clone->setProperty(kTableNameProperty, source.property(kTableNameProperty));
    if (const ControlRow* entry =
            FindControlRow(source.property(kTableNameProperty).toString().toStdString())) {
        BindEvents(clone, entry->name);
    }
    return clone;
}

void MainWindow::WaitProcessingEvents(int milliseconds) {
    QElapsedTimer timer;
    timer.start();
    while (!timer.hasExpired(milliseconds)) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, milliseconds);
    }
}

// ---- Actions ----

void MainWindow::StartSearch() { runs_->StartSearch(); }

void MainWindow::HotKeywordClick() {
    auto* source = qobject_cast<SuperButton*>(eventSource_);
    if (source == nullptr) return;
    SetKeywordText(source->Caption());
    WaitProcessingEvents(kHotKeywordWaitMs);
    StartSearch();
    SelectPage(0);
}

void MainWindow::OpenSelectedResult() {
    const QString cell = results_->CellText(SelectedRow(), kAddressColumn);
    // A go address is resolved here, on the GUI thread; only a web address comes back.
    const std::string target = ResolveForOpening(ToGbk(cell));
    if (target.empty() || !IsWebAddress(target)) return;
    OpenAddress(FromGbk(target));
}

void MainWindow::OpenAddress(const QString& address) {
    if (!address.isEmpty() && opener_) opener_(address);
}

void MainWindow::CopyDonationAccount() {
    // The setting itself, not the box's text.
    QGuiApplication::clipboard()->setText(FromGbk(CurrentSettings().donationAccount));
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("信息："), QStringLiteral("账号已复制"),
                    QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

// ---- Moving the window ----

bool MainWindow::StartsWindowMove(QPoint clientPos) const {
    if (!rect().contains(clientPos)) return false;
    const QWidget* child = childAt(clientPos);
    if (child == nullptr) return true;
    const ControlRow* entry = FindControlRow(child->objectName().toStdString());
    return entry != nullptr &&
           (entry->kind == ControlKind::Label || entry->kind == ControlKind::ProgressBar);
}

void MainWindow::mousePressEvent(QMouseEvent* event) {
    // Presses that no control took arrive here: on the window itself, or passed up by a label
    // or the progress bar.
    if (event->button() == Qt::LeftButton && StartsWindowMove(event->position().toPoint())) {
        if (QWindow* handle = windowHandle()) handle->startSystemMove();
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

}  // namespace lq
