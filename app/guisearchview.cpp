#include "app/guisearchview.h"

#include <QMetaObject>
#include <QThread>

#include "app/mainwindow.h"
#include "app/resultsmodel.h"
#include "app/windowgate.h"
#include "text/codepage.h"

namespace lq {

GuiSearchView::GuiSearchView(MainWindow& window, WindowGate& gate) : window_(window), gate_(gate) {}

// Returns whether the operation ran. invokeMethod reports success even when the call did
// nothing, so the call records it itself.
template <typename Operation>
bool GuiSearchView::OnGuiThread(Operation&& operation) {
    if (!gate_.Enter()) return false;
    bool ran = false;
    auto call = [this, &operation, &ran] {
        if (!gate_.IsOpen()) return;
        operation();
        ran = true;
    };
    if (QThread::currentThread() == window_.thread()) {
        call();
    } else {
        QMetaObject::invokeMethod(&window_, call, Qt::BlockingQueuedConnection);
    }
    gate_.Leave();
    return ran;
}

void GuiSearchView::ClearRows() {
    OnGuiThread([this] { window_.Results().ClearRows(); });
}

std::string GuiSearchView::ReadKeyword() {
    QByteArray utf8;
    OnGuiThread([this, &utf8] { utf8 = window_.KeywordText().toUtf8(); });
    return Utf8ToGbk(std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())));
}

bool GuiSearchView::ReadSpeedOption() {
    bool checked = false;
    OnGuiThread([this, &checked] { checked = window_.SpeedOptionChecked(); });
    return checked;
}

void GuiSearchView::SetProgressRange(int minimum, int maximum) {
    OnGuiThread([this, minimum, maximum] { window_.SetProgressRange(minimum, maximum); });
}

void GuiSearchView::SetProgressPosition(int position) {
    OnGuiThread([this, position] { window_.SetProgressPosition(position); });
}

int GuiSearchView::AppendRow() {
    int row = -1;
    OnGuiThread([this, &row] { row = window_.Results().AppendRow(); });
    return row;
}

int GuiSearchView::RowCount() {
    int rows = 0;
    OnGuiThread([this, &rows] { rows = window_.Results().RowCount(); });
    return rows;
}

void GuiSearchView::SetCellText(int row, int column, std::string_view gbkText) {
    // Converted on the run's thread: the GUI thread only stores the text.
    const QString text = QString::fromStdString(GbkToUtf8(gbkText));
    OnGuiThread([this, row, column, &text] { window_.Results().SetCellText(row, column, text); });
}

}  // namespace lq
