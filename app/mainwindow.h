// The program's one window: its controls built from the control table, the event bindings,
// the window operations the other parts use, and the actions bound to events. Owns the search
// runs and the gate their window operations pass.
#pragma once

#include <QWidget>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/eventbindings.h"
#include "app/guisearchview.h"
#include "app/windowbuilder.h"
#include "app/windowgate.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QTableView;

namespace lq {

class ResultsModel;
class SearchRuns;
class SuperButton;
class TabControl;

class MainWindow : public QWidget {
    Q_OBJECT

public:
    // Hands an address to the browser (or the registered handler of its scheme).
    using Opener = std::function<void(const QString& address)>;

    static constexpr int kHotRows = 20;
    static constexpr int kHotColumns = 5;

    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Start-up and ending.
    void RaiseCreated();  // the window's created event: hot searches, then the notice
    void ShowCentred();
    // Asks every run to stop, closes the gate, releases a run blocked in a window operation and
    // joins the runs. Runs once; the destructor calls it too.
    void Shutdown();

    // Window operations, on the GUI thread. Texts are Qt strings; the core's GBK texts are
    // converted where they cross (GuiSearchView, the hot list, the notice).
    QString KeywordText() const;
    void SetKeywordText(const QString& text);
    bool SpeedOptionChecked() const;
    void SelectPage(int page);
    int CurrentPage() const;
    ResultsModel& Results() { return *results_; }
    int SelectedRow() const;  // first selected row, -1 for none
    void SetProgressRange(int minimum, int maximum);
    void SetProgressPosition(int position);
    void SetPartText(int part, const QString& text);  // only part 0 exists
    QString PartText(int part) const;
    SuperButton* CloneSuperButton(const SuperButton& source);
    QWidget* EventSource() const { return eventSource_; }
    static void WaitProcessingEvents(int milliseconds);

    // Start-up pieces, also driven directly by tests. Titles and notice are GBK.
    void FillHotButtons(std::vector<std::string> titles);
    void ShowNotice(std::string_view noticeText);
    SuperButton* HotButton(int number) const;  // 1 to 100, along each row first
    const std::vector<std::string>& HotTitles() const { return hotTitles_; }

    QWidget* Control(const QString& name) const { return controls_.Find(name); }
    SearchView& View() { return view_; }
    SearchRuns& Runs() { return *runs_; }
    void SetOpener(Opener opener) { opener_ = std::move(opener); }

    // True where a left-button press drags the window: a free point of the client area, a
    // label or the progress bar; never a button, an edit box or the list.
    bool StartsWindowMove(QPoint clientPos) const;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BindEvents(QWidget* control, std::string_view tableName);
    void Dispatch(WindowAction action, QWidget* source);
    void Run(WindowAction action);
    void OpenAddress(const QString& address);

    // Actions.
    void StartUp();
    void StartSearch();
    void OpenSelectedResult();
    void HotKeywordClick();
    void CopyDonationAccount();

    ResultsModel* results_;  // child of this window
    BuiltControls controls_;
    QLineEdit* keywordBox_;
    QCheckBox* speedOption_;
    TabControl* tabs_;
    QTableView* list_;
    QProgressBar* progress_;
    QLabel* statusPart0_;
    SuperButton* hotTemplate_;

    std::vector<std::string> hotTitles_;
    std::array<std::array<SuperButton*, kHotColumns>, kHotRows> hotButtons_{};
    // Events watched through the event filter: (watched object, event) -> action.
    std::multimap<QObject*, std::pair<ControlEvent, WindowAction>> filtered_;
    QWidget* eventSource_ = nullptr;
    Opener opener_;

    WindowGate gate_;
    GuiSearchView view_;
    std::unique_ptr<SearchRuns> runs_;  // last: stopped and joined before the rest goes
    bool shutDown_ = false;
};

}  // namespace lq
