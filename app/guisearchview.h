// The search run's view of the window: each operation is carried out on the GUI thread while
// the calling run waits, through the window's gate. Once the gate is closed an operation
// returns at once and does nothing.
#pragma once

#include "search/searchview.h"

namespace lq {

class MainWindow;
class WindowGate;

class GuiSearchView final : public SearchView {
public:
    GuiSearchView(MainWindow& window, WindowGate& gate);

    void ClearRows() override;
    std::string ReadKeyword() override;
    bool ReadSpeedOption() override;
    void SetProgressRange(int minimum, int maximum) override;
    void SetProgressPosition(int position) override;
    int AppendRow() override;
    int RowCount() override;
    void SetCellText(int row, int column, std::string_view gbkText) override;

private:
    template <typename Operation>
    bool OnGuiThread(Operation&& operation);

    MainWindow& window_;
    WindowGate& gate_;
};

}  // namespace lq
