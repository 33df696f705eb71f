#include "settings/WrappingCheckBox.h"

#include "settings/WrappedCaption.h"

#include <QStyleOptionButton>

void WrappingCheckBox::paintEvent(QPaintEvent*)
{
    QStyleOptionButton option;
    initStyleOption(&option);
    paintWithWrappedCaption(*this, option, QStyle::CE_CheckBox, QStyle::SE_CheckBoxContents);
}

bool WrappingCheckBox::hitButton(const QPoint& position) const { return rect().contains(position); }
