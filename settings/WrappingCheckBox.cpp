#include "settings/WrappingCheckBox.h"

#include <QStyleOptionButton>
#include <QStylePainter>

void WrappingCheckBox::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    // The style draws the mark and focus; the caption is drawn here, wrapped.
    option.text.clear();
    painter.drawControl(QStyle::CE_CheckBox, option);
    const QRect captionArea = style()->subElementRect(QStyle::SE_CheckBoxContents, &option, this);
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(captionArea, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, caption);
}

bool WrappingCheckBox::hitButton(const QPoint& position) const { return rect().contains(position); }
