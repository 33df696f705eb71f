#include "settings/WrappingRadioButton.h"

#include "settings/WrappedCaption.h"

#include <QStyleOptionButton>

void WrappingRadioButton::paintEvent(QPaintEvent*)
{
    QStyleOptionButton option;
    initStyleOption(&option);
    paintWithWrappedCaption(*this, option, QStyle::CE_RadioButton, QStyle::SE_RadioButtonContents);
}

bool WrappingRadioButton::hitButton(const QPoint& position) const { return rect().contains(position); }
