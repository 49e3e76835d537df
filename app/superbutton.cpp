#include "app/superbutton.h"

#include <QPainter>
#include <QStyleOptionButton>

namespace lq {

QString PlainTextToolTip(const QString& text) {
    if (text.isEmpty()) return {};
    // Qt guesses whether a tooltip is rich text; escaped text inside an explicit paragraph is
    // always taken as rich text, so every character shows as itself.
    return QStringLiteral("<p style='white-space:pre'>") + text.toHtmlEscaped() +
           QStringLiteral("</p>");
}

SuperButton::SuperButton(QWidget* parent) : QAbstractButton(parent) {
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
}

void SuperButton::SetCaption(const QString& caption) {
    caption_ = caption;
    setAccessibleName(caption);
    update();
}

void SuperButton::SetToolTipText(const QString& text) {
    toolTipText_ = text;
    setToolTip(PlainTextToolTip(text));
}

void SuperButton::SetLinkLook(bool link) {
    linkLook_ = link;
    update();
}

QSize SuperButton::sizeHint() const {
    return QSize(fontMetrics().horizontalAdvance(caption_) + 8, fontMetrics().height() + 4);
}

void SuperButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect box = rect();
    const bool hovered = underMouse();
    if (linkLook_) {
        QFont font = painter.font();
        font.setUnderline(hovered);
        painter.setFont(font);
        painter.setPen(QColor(0, 0, 204));
    } else {
        const QPalette& pal = palette();
        const QColor face = pal.color(QPalette::Button);
        painter.fillRect(box, isDown() ? face.darker(115) : face);
        painter.setPen(hovered ? pal.color(QPalette::Highlight) : pal.color(QPalette::Mid));
        painter.drawRect(box.adjusted(0, 0, -1, -1));
        painter.setPen(pal.color(QPalette::ButtonText));
    }
    // drawText with these flags never looks for "&": the caption is drawn as it is. A link
    // starts at its left edge so the address's beginning stays readable when it is too long.
    const Qt::Alignment align = linkLook_ ? (Qt::AlignLeft | Qt::AlignVCenter) : Qt::AlignCenter;
    painter.drawText(box.adjusted(2, 0, -2, 0), static_cast<int>(align) | Qt::TextSingleLine,
                     caption_);
}

}  // namespace lq
