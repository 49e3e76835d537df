// The 超级按钮 kind: a button that paints its caption itself, as plain text. A QPushButton
// would turn "&" into a keyboard mnemonic, and hot titles may hold "&".
#pragma once

#include <QAbstractButton>
#include <QString>

namespace lq {

class SuperButton : public QAbstractButton {
    Q_OBJECT
    Q_PROPERTY(QString caption READ Caption WRITE SetCaption)
    Q_PROPERTY(QString toolTipText READ ToolTipText WRITE SetToolTipText)

public:
    explicit SuperButton(QWidget* parent = nullptr);

    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption);

    // The tooltip as plain text; Qt's own tooltip property holds it escaped for display.
    QString ToolTipText() const { return toolTipText_; }
    void SetToolTipText(const QString& text);

    bool LinkLook() const { return linkLook_; }
    void SetLinkLook(bool link);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString caption_;
    QString toolTipText_;
    bool linkLook_ = false;
};

// A tooltip that shows text exactly as given: markup characters stay visible.
QString PlainTextToolTip(const QString& text);

}  // namespace lq
