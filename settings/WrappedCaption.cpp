#include "settings/WrappedCaption.h"

#include <QAbstractButton>
#include <QStyleOptionButton>
#include <QStylePainter>

void paintWithWrappedCaption(QAbstractButton& button, const QStyleOptionButton& styled,
                             QStyle::ControlElement control, QStyle::SubElement contents)
{
    QStylePainter painter(&button);
    QStyleOptionButton option = styled;
    const QString caption = option.text;
    option.text.clear();
    painter.drawControl(control, option);
    const QRect captionArea = button.style()->subElementRect(contents, &option, &button);
    painter.setPen(button.palette().color(button.isEnabled() ? QPalette::Active : QPalette::Disabled,
                                          QPalette::WindowText));
    painter.drawText(captionArea, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, caption);
}
